// The main window's ways of opening databases: New, Open, the password loop, a carried
// database, dropped files, second starts; and the password commands of the Options menu.

#include "TFrmVaulto.h"

#include "DatabaseWindows.h"
#include "InfoTexts.h"
#include "MainMenus.h"
#include "OpenTexts.h"
#include "dbwindow/TFrmVaultoChild.h"
#include "document/AttachedDatabase.h"
#include "document/KeyFile.h"
#include "shell/DroppedFiles.h"
#include "shell/InstanceChannel.h"
#include "shell/MainWindowTexts.h"
#include "tools/ui/TFrmGenerate.h"
#include "tools/ui/TFrmPassword.h"
#include "widgets/FileFilter.h"
#include "widgets/MessageBox.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

#include <functional>
#include <optional>

namespace {

// Clears a flag when the scope ends, whichever way it ends.
class FlagScope
{
public:
    explicit FlagScope(bool &flag) : m_flag(flag) { m_flag = true; }
    ~FlagScope() { m_flag = false; }
    FlagScope(const FlagScope &) = delete;
    FlagScope &operator=(const FlagScope &) = delete;

private:
    bool &m_flag;
};

} // namespace

void TFrmVaulto::MenNewClick()
{
    TFrmVaultoChild *child = newDatabaseWindow();
    if (!child || m_locked) {
        return;
    }
    child->ShowSelected();
    child->setModified(false);
    setTrayHint(QLatin1String(ProgramName));
    setStatusText({});
}

void TFrmVaulto::MenOpenClick()
{
    if (m_locked) {
        return;
    }
    const QString filter = QtFileFilter(m_language.uiText(mainWindowTexts(), "m_aMOpenFileFilter"));
    const QString path = QFileDialog::getOpenFileName(this, QString(), QString(), filter);
    if (!path.isEmpty()) {
        openPickedFile(path);
    }
}

TFrmVaultoChild *TFrmVaulto::openPickedFile(const QString &path)
{
    if (DroppedFiles::isDatabasePath(path)) {
        return openDatabase(path);
    }
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable()) {
        MessageBox::show(this, m_language, MessageBox::Type::Warning,
                         m_language.uiText(openMessageTexts(), "m_aMFileUnreadable") + path);
        return nullptr;
    }
    std::optional<CarriedDatabase> carried = FindAttachedDatabase(path);
    if (!carried) {
        MessageBox::show(this, m_language, MessageBox::Type::Warning,
                         m_language.uiText(openMessageTexts(), "m_aMNoDatabase") + path);
        return nullptr;
    }
    TFrmVaultoChild *child = newDatabaseWindow();
    if (!child) {
        return nullptr;
    }
    // The database has no file of its own: saving asks for one.
    const QByteArray ciphertext = carried->ciphertext;
    const bool opened = askPasswordAndLoad(child, path, std::nullopt,
                                           [child, &ciphertext] { return child->LoadDatabaseBuffer(ciphertext); });
    if (!opened) {
        m_windows->close(child, false);
        return nullptr;
    }
    child->setModified(false);
    child->selectFirstElement();
    child->ShowSelected();
    setLockCountdownFromSettings();
    return child;
}

TFrmVaultoChild *TFrmVaulto::openDatabase(const QString &path)
{
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable()) {
        // Asking for a password would only end in "Wrong password!" again and again.
        MessageBox::show(this, m_language, MessageBox::Type::Warning,
                         m_language.uiText(openMessageTexts(), "m_aMFileUnreadable") + path);
        return nullptr;
    }
    TFrmVaultoChild *child = newDatabaseWindow();
    if (!child) {
        return nullptr;
    }
    if (!openIntoWindow(path, child)) {
        m_windows->close(child, false);
        return nullptr;
    }
    return child;
}

bool TFrmVaulto::openIntoWindow(const QString &path, TFrmVaultoChild *child)
{
    if (!child || m_opening) {
        return false;
    }
    std::optional<QByteArray> keyFilePassword;
    if (m_settings.checkForPasswordFile) {
        keyFilePassword = KeyFilePasswordFor(path);
    }
    if (!askPasswordAndLoad(child, path, keyFilePassword, [child, &path] { return child->LoadDatabase(path); })) {
        return false;
    }
    addRecentFile(path);
    child->setModified(false);
    child->SetFilePath(path);
    child->selectFirstElement();
    child->ShowSelected();
    setLockCountdownFromSettings();
    return true;
}

// Asks for the password until load() accepts it; a password from a key file is tried
// first without asking. Cancel ends it with false, the window unmodified.
bool TFrmVaulto::askPasswordAndLoad(TFrmVaultoChild *child, const QString &path,
                                    std::optional<QByteArray> firstTry, const std::function<bool()> &load)
{
    if (m_opening) {
        return false;
    }
    FlagScope opening(m_opening);
    TFrmPassword &dialog = *m_password;
    if (m_settings.alwaysAskForPassword) {
        dialog.clearFields();
    }
    child->setPassword({});
    if (firstTry) {
        dialog.setPassword(*firstTry);
    }
    bool skipDialog = firstTry.has_value();
    while (child->password().isEmpty()) {
        dialog.SetDatabaseFileName(path);
        if (!skipDialog) {
            dialog.raise();
            if (dialog.exec() != QDialog::Accepted) {
                child->setModified(false);
                return false;
            }
        }
        skipDialog = false;
        child->setPassword(dialog.password());
        if (child->password().isEmpty()) {
            continue;
        }
        if (!load()) {
            child->setPassword({});
            MessageBox::show(this, m_language, MessageBox::Type::Warning,
                             m_language.uiText(mainWindowTexts(), "m_aMWrongPassword"));
        }
    }
    return true;
}

void TFrmVaulto::dropFiles(const QStringList &paths)
{
    for (const DroppedFiles::Step &step : DroppedFiles::plan(paths)) {
        if (step.kind == DroppedFiles::Step::OpenDatabase) {
            openDatabase(step.path);
            return;
        }
        TFrmVaultoChild *child = activeChild();
        if (!child) {
            continue;
        }
        QApplication::setOverrideCursor(Qt::WaitCursor);
        child->addFile(step.path, false);
        QApplication::restoreOverrideCursor();
    }
}

// --- Second starts ---

void TFrmVaulto::onArgumentReceived(const QString &argument)
{
    if (m_opening) {
        // A password is being asked: that question comes first, the file is dropped.
        m_password->raise();
        m_password->activateWindow();
        return;
    }
    m_handedOver.append(argument);
}

void TFrmVaulto::onBringToFront()
{
    bringToFront();
    openHandedOverFiles();
}

void TFrmVaulto::bringToFront()
{
    if (isMinimized()) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
    }
    show();
    raise();
    activateWindow();
}

// The files of one second start open one after the other, each with its password.
void TFrmVaulto::openHandedOverFiles()
{
    while (!m_handedOver.isEmpty() && !m_opening) {
        openPickedFile(m_handedOver.takeFirst());
    }
}

// --- Options menu ---

void TFrmVaulto::MenChangePasswordClick()
{
    TFrmVaultoChild *child = activeChild();
    if (!child) {
        return;
    }
    const bool timerWasRunning = stopLockTimer();
    TFrmPassword &dialog = *m_password;
    const QByteArray before = dialog.password();
    dialog.SetConfirmationMode(true);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    const QByteArray entered = dialog.password();
    if (accepted && !entered.isEmpty()) {
        child->setPassword(entered);
        // The new password takes effect with the next save: the close question must
        // not let it go unsaved.
        child->setModified(true);
    } else {
        dialog.setPassword(before);
    }
    dialog.SetConfirmationMode(false);
    restoreLockTimer(timerWasRunning);
}

void TFrmVaulto::MenPasswordGeneratorClick()
{
    if (m_locked) {
        return;
    }
    m_generator->ExecCopyLayout();
}
