#pragma once

#include "ModalAnswers.h"
#include "dbwindow/MainServices.h"
#include "dbwindow/DatabaseWindow.h"
#include "platform/Clock.h"
#include "shell/LanguageStore.h"
#include "shell/Settings.h"
#include "shell/TempFiles.h"
#include "tools/SecretClipboard.h"
#include "tools/ui/GeneratorDialog.h"
#include "tools/ui/PasswordDialog.h"
#include "widgets/MessageBox.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QWidget>

#include <functional>
#include <memory>

namespace dbwindowtest {

// The main window as a database window sees it, with every call recorded.
class FakeMainServices final : public MainServices
{
public:
    FakeMainServices()
        : m_settings(Settings::defaults(SettingsEnvironment())),
          m_clock(QDateTime(QDate(2018, 10, 27), QTime(15, 30, 12)))
    {
        m_generator = std::make_unique<GeneratorDialog>(m_language, &m_parent);
        m_password = std::make_unique<PasswordDialog>(
            m_language, m_settings, *m_generator, [] { return std::optional<QString>(); }, &m_parent);
        m_recentFiles.setObjectName(QStringLiteral("MenRecentFiles"));
        m_recentFolders.setObjectName(QStringLiteral("MenRecentFolders"));
    }

    LanguageStore &language() override { return m_language; }
    Settings &settings() override { return m_settings; }
    const Clock &clock() const override { return m_clock; }
    QString storageFolder() const override { return m_storage.path() + QLatin1Char('/'); }
    TempFiles &tempFiles() override { return m_tempFiles; }
    bool loadingGuard() const override { return m_guard; }
    void setLoadingGuard(bool on) override { m_guard = on; }
    bool isLocked() const override { return m_locked; }
    void restartLockCountdown() override { ++m_countdownRestarts; }
    bool stopLockTimer() override
    {
        const bool was = m_timerRunning;
        m_timerRunning = false;
        return was;
    }
    void restoreLockTimer(bool wasRunning) override { m_timerRunning = wasRunning; }
    void setStatusText(const QString &text) override { m_status = text; }
    void setTrayHint(const QString &text) override { m_trayHint = text; }
    void addRecentFile(const QString &path) override { m_recent.prepend(path); }
    int treeWidth() const override { return m_treeWidth; }
    void setTreeWidth(int width) override { m_treeWidth = width; }
    PasswordDialog &passwordDialog() override { return *m_password; }
    GeneratorDialog &generatorDialog() override { return *m_generator; }
    SecretClipboard &secretClipboard() override { return m_clipboard; }
    QWidget *dialogParent() override { return &m_parent; }
    QAction *newAction() override { return &m_new; }
    QAction *openAction() override { return &m_open; }
    QAction *exitAction() override { return &m_exit; }
    QMenu *recentFilesMenu() override { return &m_recentFiles; }
    QMenu *recentFoldersMenu() override { return &m_recentFolders; }
    void closeAllWindows() override { ++m_closeAll; }

    LanguageStore m_language;
    Settings m_settings;
    FixedClock m_clock;
    QTemporaryDir m_storage;
    TempFiles m_tempFiles;
    bool m_guard = false;
    bool m_locked = false;
    bool m_timerRunning = true;
    int m_countdownRestarts = 0;
    QString m_status;
    QString m_trayHint;
    QStringList m_recent;
    int m_treeWidth = 225;
    int m_closeAll = 0;
    QWidget m_parent;
    QAction m_new{QStringLiteral("New")};
    QAction m_open{QStringLiteral("Open")};
    QAction m_exit{QStringLiteral("Exit")};
    QMenu m_recentFiles{QStringLiteral("Recent")};
    QMenu m_recentFolders{QStringLiteral("Recent folders")};
    std::unique_ptr<GeneratorDialog> m_generator;
    SecretClipboard m_clipboard{QGuiApplication::clipboard()};
    std::unique_ptr<PasswordDialog> m_password;
};

// Answers every message box with one button and keeps what was asked.
class Answers
{
public:
    explicit Answers(MessageBox::Button answer = MessageBox::Button::Ok)
        : m_answerer([this](const MessageBox::Request &request) {
              m_asked.append(request);
              return m_answer;
          }),
          m_answer(answer)
    {
    }

    void setAnswer(MessageBox::Button answer) { m_answer = answer; }
    const QList<MessageBox::Request> &asked() const { return m_asked; }
    QStringList texts() const
    {
        QStringList texts;
        for (const MessageBox::Request &request : m_asked) {
            texts.append(request.text);
        }
        return texts;
    }
    void clear() { m_asked.clear(); }

private:
    MessageBox::ScopedAnswerer m_answerer;
    MessageBox::Button m_answer;
    QList<MessageBox::Request> m_asked;
};

using vaultbase::test::whenModal;

// Answers the next file dialog with path (empty: cancels it).
inline void answerFileDialog(const QString &path)
{
    whenModal<QFileDialog>([path](QFileDialog *dialog) {
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        // Typed into the name field: a selection the dialog makes while it reads the
        // folder cannot replace it.
        dialog->setDirectory(QFileInfo(path).absolutePath());
        if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))) {
            name->setText(QFileInfo(path).fileName());
        } else {
            dialog->selectFile(path);
        }
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

// Answers the next password dialog: OK with password (and the same confirmation), or
// Cancel without one. seen gets the dialog's state as it was shown.
struct PasswordDialogState
{
    bool shown = false;
    bool confirmationMode = false;
    QByteArray password;
};

inline void answerPasswordDialog(std::optional<QByteArray> password, PasswordDialogState *seen = nullptr)
{
    whenModal<PasswordDialog>([password, seen](PasswordDialog *dialog) {
        if (seen) {
            seen->shown = true;
            seen->confirmationMode = dialog->confirmationMode();
            seen->password = dialog->password();
        }
        if (!password) {
            dialog->reject();
            return;
        }
        dialog->setPassword(*password);
        dialog->setConfirmation(*password);
        dialog->confirm();
    });
}

} // namespace dbwindowtest
