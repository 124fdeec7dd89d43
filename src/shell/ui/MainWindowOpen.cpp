// The main window's ways of opening databases: New, Open, the password loop, a carried
// database, dropped files, second starts; and the password commands of the Options menu.

#include "MainWindow.h"

#include "DatabaseWindows.h"
#include "InfoTexts.h"
#include "MainMenus.h"
#include "OpenTexts.h"
#include "PasswordLoop.h"
#include "dbwindow/DatabaseWindow.h"
#include "document/AttachedDatabase.h"
#include "document/Blowfish.h"
#include "document/KeyFile.h"
#include "shell/DesktopCommandLine.h"
#include "shell/DroppedFiles.h"
#include "shell/MainWindowTexts.h"
#include "tools/ui/GeneratorDialog.h"
#include "tools/ui/PasswordDialog.h"
#include "widgets/FileFilter.h"
#include "widgets/MessageBox.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

#include <optional>

void MainWindow::newDatabase()
{
    DatabaseWindow *child = newDatabaseWindow();
    if (!child || m_locked) {
        return;
    }
    child->showSelected();
    child->setModified(false);
    setTrayHint(QLatin1String(ProgramName));
    setStatusText({});
}

void MainWindow::openDatabaseFromDialog()
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

DatabaseWindow *MainWindow::openPickedFile(const QString &path)
{
    if (DatabaseWindow *open = windowOfFile(path)) {
        m_windows->activate(open);
        return open;
    }
    // A name that does not say database may be a file carrying one at its end; one that
    // carries none is read as a database all the same (saved under another name).
    if (!DroppedFiles::isDatabasePath(path) && QFileInfo(path).isFile()) {
        if (std::optional<CarriedDatabase> carried = findAttachedDatabase(path)) {
            DatabaseWindow *child = openCarriedDatabase(carried->ciphertext, path);
            if (child) {
                enterCarriedMode(*carried);
            }
            return child;
        }
    }
    return openDatabase(path);
}

DatabaseWindow *MainWindow::windowOfFile(const QString &path) const
{
    const QString wanted = QFileInfo(path).canonicalFilePath();
    if (wanted.isEmpty()) {
        return nullptr;
    }
    for (DatabaseWindow *child : databaseWindows()) {
        if (!child->filePath().isEmpty() && QFileInfo(child->filePath()).canonicalFilePath() == wanted) {
            return child;
        }
    }
    return nullptr;
}

// A carried database has no file of its own: its window's file name stays empty, so
// that saving asks for one, and the carrier is never written over.
DatabaseWindow *MainWindow::openCarriedDatabase(const QByteArray &ciphertext, const QString &carrier)
{
    DatabaseWindow *child = newDatabaseWindow();
    if (!child) {
        return nullptr;
    }
    const bool opened = m_passwordLoop->run(*child, carrier, std::nullopt,
                                           [child, &ciphertext] { return child->loadDatabaseBuffer(ciphertext); });
    if (!opened) {
        m_windows->close(child, false);
        return nullptr;
    }
    child->document().setCarrierPath(carrier);
    child->setModified(false);
    child->selectFirstElement();
    child->showSelected();
    setLockCountdownFromSettings();
    return child;
}

DatabaseWindow *MainWindow::openDatabase(const QString &path)
{
    // A second window on one file would let one save drop the other's changes.
    if (DatabaseWindow *open = windowOfFile(path)) {
        m_windows->activate(open);
        return open;
    }
    // Asking for a password would only end in "Wrong password!" again and again.
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable()) {
        MessageBox::show(this, m_language, MessageBox::Type::Warning,
                         m_language.uiText(openMessageTexts(), "m_aMFileUnreadable") + path);
        return nullptr;
    }
    if (file.size() < Blowfish::BlockSize) {
        MessageBox::show(this, m_language, MessageBox::Type::Warning,
                         m_language.uiText(openMessageTexts(), "m_aMNoDatabase") + path);
        return nullptr;
    }
    DatabaseWindow *child = newDatabaseWindow();
    if (!child) {
        return nullptr;
    }
    if (!openIntoWindow(path, child)) {
        m_windows->close(child, false);
        return nullptr;
    }
    return child;
}

bool MainWindow::openIntoWindow(const QString &path, DatabaseWindow *child)
{
    if (!child || isOpening()) {
        return false;
    }
    std::optional<QByteArray> keyFilePassword;
    if (m_settings.checkForPasswordFile) {
        keyFilePassword = keyFilePasswordFor(path);
    }
    if (!m_passwordLoop->run(*child, path, keyFilePassword, [child, &path] { return child->loadDatabase(path); })) {
        return false;
    }
    addRecentFile(path);
    child->setModified(false);
    child->setFilePath(path);
    child->selectFirstElement();
    child->showSelected();
    setLockCountdownFromSettings();
    return true;
}

void MainWindow::dropFiles(const QStringList &paths)
{
    // The lock panel takes no files: nothing opens or attaches behind it.
    if (m_locked) {
        return;
    }
    for (const DroppedFiles::Step &step : DroppedFiles::plan(paths)) {
        DatabaseWindow *child = activeChild();
        // With no database to attach it to, a file is opened as Open would open it.
        if (step.kind == DroppedFiles::Step::OpenDatabase || !child) {
            openPickedFile(step.path);
            return;
        }
        QApplication::setOverrideCursor(Qt::WaitCursor);
        child->addFile(step.path, false);
        QApplication::restoreOverrideCursor();
    }
}

// --- Second starts ---

void MainWindow::onArgumentReceived(const QString &argument)
{
    if (isOpening()) {
        // A password is being asked: that question comes first, the file is dropped.
        m_password->raise();
        m_password->activateWindow();
        return;
    }
    m_handedOver.append(argument);
}

void MainWindow::onBringToFront()
{
    bringToFront();
    openHandedOverFiles();
}

void MainWindow::bringToFront()
{
    if (isMinimized()) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
    }
    show();
    raise();
    activateWindow();
}

// The files of one second start open one after the other, each with its password.
void MainWindow::openHandedOverFiles()
{
    // Behind the lock they wait for the password.
    while (!m_handedOver.isEmpty() && !isOpening() && !m_locked) {
        const QString argument = m_handedOver.takeFirst();
        if (argument == QLatin1String(DesktopCommandLine::NewDatabase)) {
            newDatabase();
        } else {
            openPickedFile(argument);
        }
    }
}

// --- Options menu ---

void MainWindow::changePassword()
{
    DatabaseWindow *child = activeChild();
    if (!child) {
        return;
    }
    const bool timerWasRunning = stopLockTimer();
    PasswordDialog &dialog = *m_password;
    const QByteArray before = dialog.password();
    dialog.setConfirmationMode(true);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    const QByteArray entered = dialog.password();
    if (accepted && !entered.isEmpty()) {
        // The new password takes effect with the next save: the close question must
        // not let it go unsaved.
        child->changePassword(entered);
    } else {
        dialog.setPassword(before);
    }
    dialog.setConfirmationMode(false);
    restoreLockTimer(timerWasRunning);
}

void MainWindow::showGenerator()
{
    if (m_locked) {
        return;
    }
    m_generator->execCopyLayout();
}
