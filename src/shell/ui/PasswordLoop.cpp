#include "PasswordLoop.h"

#include "dbwindow/DatabaseWindow.h"
#include "shell/LanguageStore.h"
#include "shell/MainWindowTexts.h"
#include "shell/Settings.h"
#include "tools/ui/PasswordDialog.h"
#include "widgets/MessageBox.h"

#include <utility>

PasswordLoop::PasswordLoop(PasswordDialog &dialog, const LanguageStore &language, const Settings &settings,
                           QWidget *messageParent)
    : m_dialog(dialog), m_language(language), m_settings(settings), m_messageParent(messageParent)
{
}

bool PasswordLoop::run(DatabaseWindow &child, const QString &path, std::optional<QByteArray> firstTry,
                       const std::function<bool()> &load)
{
    if (m_asking) {
        return false;
    }
    m_asking = true;
    struct Done
    {
        bool &flag;
        ~Done() { flag = false; }
    } done{m_asking};

    if (m_settings.alwaysAskForPassword) {
        m_dialog.clearFields();
    }
    child.setPassword({});
    bool skipDialog = firstTry.has_value();
    if (firstTry) {
        m_dialog.setPassword(*firstTry);
    }
    while (child.password().isEmpty()) {
        m_dialog.setDatabaseFileName(path);
        if (!std::exchange(skipDialog, false)) {
            m_dialog.raise();
            if (m_dialog.exec() != QDialog::Accepted) {
                child.setModified(false);
                return false;
            }
        }
        child.setPassword(m_dialog.password());
        if (!child.password().isEmpty() && !load()) {
            child.setPassword({});
            // Another password would not help: the window said why already.
            if (child.lastLoadProblem() != LoadProblem::NotADatabase) {
                child.setModified(false);
                return false;
            }
            MessageBox::show(m_messageParent, m_language, MessageBox::Type::Warning,
                             m_language.uiText(mainWindowTexts(), "m_aMWrongPassword"));
        }
    }
    return true;
}
