// The database window's file side: path, caption, password and modified flag, loading,
// saving, the close question, and the attached files of file elements.
#include "DatabaseWindow.h"

#include "editing/ElementCommands.h"
#include "MainServices.h"
#include "document/DatabaseFile.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/SecretFile.h"
#include "platform/SecureMemory.h"
#include "shell/Settings.h"
#include "shell/TempFiles.h"
#include "widgets/FileFilter.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

// --- Path, caption, password, modified flag ---

void DatabaseWindow::setFilePath(const QString &path)
{
    m_filePath = path;
    const QString text = caption();
    setWindowTitle(text + QLatin1String("[*]"));
    m_main.setTrayHint(text);
    emit captionChanged(text);
}

QString DatabaseWindow::caption() const
{
    return m_filePath.isEmpty() ? mainText("m_aMUnnamed") : QFileInfo(m_filePath).fileName();
}

void DatabaseWindow::setPassword(QByteArray password)
{
    SecureMemory::wipe(m_password);
    m_password = std::move(password);
}

void DatabaseWindow::setModified(bool modified)
{
    if (m_modified == modified) {
        return;
    }
    m_modified = modified;
    setWindowModified(modified);
    emit modifiedChanged(modified);
}

// --- Loading ---

bool DatabaseWindow::loadDatabase(const QString &path)
{
    // Taken before reading: a change made while the file is read counts as a change.
    const FileIdentity identity = FileIdentity::of(path);
    LoadProblem problem = LoadProblem::None;
    if (!loadDatabaseFile(m_tree, path, m_password, &problem)) {
        reportLoadProblem(problem, path);
        return false;
    }
    m_fileIdentity = identity;
    setFilePath(path);
    setModified(false);
    selectFirstElement();
    return true;
}

bool DatabaseWindow::loadDatabaseBuffer(QByteArray ciphertext)
{
    LoadProblem problem = LoadProblem::None;
    if (!::loadDatabaseBuffer(m_tree, std::move(ciphertext), m_password, &problem)) {
        reportLoadProblem(problem, m_filePath);
        return false;
    }
    m_fileIdentity = FileIdentity();
    setModified(false);
    selectFirstElement();
    return true;
}

// A wrong password is the caller's to report (it asks again); a database nested too deep
// would only be refused again, so the reason is told here.
void DatabaseWindow::reportLoadProblem(LoadProblem problem, const QString &path)
{
    if (problem == LoadProblem::TooDeep) {
        warn(childText("m_aMLoadTooDeep") + QDir::toNativeSeparators(path));
    }
}

// --- Saving ---

bool DatabaseWindow::save()
{
    if (m_main.isLocked()) {
        return false;
    }
    if (m_filePath.isEmpty()) {
        return saveAs();
    }
    return saveTo(m_filePath);
}

bool DatabaseWindow::saveAs()
{
    if (m_main.isLocked()) {
        return false;
    }
    commitPendingEdits();
    // The password first: a database is never written without one.
    if (!ensurePassword()) {
        return false;
    }
    const QString path = askSavePath();
    if (path.isEmpty() || !saveTo(path)) {
        return false;
    }
    setFilePath(path);
    m_main.addRecentFile(path);
    return true;
}

QString DatabaseWindow::askSavePath()
{
    const QString start = m_filePath.isEmpty() ? QString() : m_filePath;
    QString path = QFileDialog::getSaveFileName(m_main.dialogParent(), QString(), start,
                                                QtFileFilter(mainText("m_aMFileFilter")));
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
        path += QLatin1String(".kvdb");
    }
    return path;
}

bool DatabaseWindow::ensurePassword()
{
    if (!m_password.isEmpty()) {
        return true;
    }
    std::optional<QByteArray> password = askPassword(QByteArray());
    if (!password || password->isEmpty()) {
        return false;
    }
    setPassword(std::move(*password));
    return true;
}

bool DatabaseWindow::saveTo(const QString &path)
{
    commitPendingEdits();
    if (!ensurePassword()) {
        return false;
    }
    // No keeps the window modified: its changes are still to be saved somewhere.
    if (m_fileIdentity.changedOnDisk(path) && confirm(childText("m_aMFileChanged"), false) != Answer::Yes) {
        return false;
    }
    if (!saveDatabase(m_tree, path, m_password, m_main.settings().saveBinary)) {
        warn(childTextWith("m_aMSaveFailed", QDir::toNativeSeparators(path)) + QLatin1Char('\n')
             + writeProblemText(path));
        return false;
    }
    m_fileIdentity = FileIdentity::of(path);
    setModified(false);
    return true;
}

QString DatabaseWindow::childTextWith(const char *childKey, const QString &argument) const
{
    return childText(childKey).replace(QLatin1String("%s"), argument);
}

QString DatabaseWindow::writeProblemText(const QString &path) const
{
    switch (ElementCommands::diagnoseWriteFailure(path)) {
    case ElementCommands::WriteProblem::FolderMissing: return childText("m_aMFolderMissing");
    case ElementCommands::WriteProblem::FolderNotWritable: return childText("m_aMFolderReadOnly");
    case ElementCommands::WriteProblem::FileNotWritable: return childText("m_aMFileReadOnly");
    case ElementCommands::WriteProblem::Unknown: break;
    }
    return childText("m_aMDiskProblem");
}

// --- Closing ---

DatabaseWindow::CloseAnswer DatabaseWindow::askToClose()
{
    commitPendingEdits();
    if (!m_modified) {
        return CloseAnswer::Close;
    }
    const QString name = m_filePath.isEmpty() ? mainText("m_aMUnnamed") : QDir::toNativeSeparators(m_filePath);
    switch (confirm(mainText("m_aMDiscardChanges").replace(QLatin1String("%s"), name), true)) {
    case Answer::Yes:
        // Closing after a save that did not happen would lose the changes: the window
        // stays open (and modified) unless the save succeeded.
        return save() ? CloseAnswer::Close : CloseAnswer::Stay;
    case Answer::No:
        return CloseAnswer::CloseDiscarding;
    default:
        return CloseAnswer::Stay;
    }
}

bool DatabaseWindow::canClose()
{
    switch (askToClose()) {
    case CloseAnswer::CloseDiscarding:
        setModified(false);
        return true;
    case CloseAnswer::Close:
        return true;
    case CloseAnswer::Stay:
        break;
    }
    return false;
}

// --- Attached files ---

void DatabaseWindow::viewFile()
{
    const ElementNode *node = selectedElement();
    if (!node || node->kind() != KindFile || !node->data().hasBlob()) {
        return;
    }
    const ElementData &fields = node->data();
    const QString fileName = CodePage::toUnicode(fields.Detail);
    const QString path = TempFiles::write(m_main.storageFolder(), m_main.clock().now(), fileName,
                                          fields.Blob->left(fields.BlobSize));
    if (path.isEmpty()) {
        warn(childText("m_aMFileNotWritten") + QDir::toNativeSeparators(m_main.storageFolder() + fileName));
        return;
    }
    // Listed only once a program has it; a failed start leaves it to the sweep at exit.
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
        m_main.tempFiles().add(path);
    }
}

void DatabaseWindow::saveFile()
{
    const ElementNode *node = selectedElement();
    if (!node || node->kind() != KindFile || !node->data().hasBlob()) {
        return;
    }
    const ElementData &fields = node->data();
    const QString fileName = CodePage::toUnicode(fields.Detail);
    const QString extension = TempFiles::extensionOf(fileName);
    // The three places take the upper-cased extension, then the extension twice.
    QString windowsFilter = mainText("m_aMContFilter");
    for (const QString &part : {extension.toUpper(), extension, extension}) {
        const qsizetype at = windowsFilter.indexOf(QLatin1String("%s"));
        if (at < 0) {
            break;
        }
        windowsFilter.replace(at, 2, part);
    }
    const QString path = QFileDialog::getSaveFileName(m_main.dialogParent(), QString(), fileName,
                                                      QtFileFilter(windowsFilter));
    if (path.isEmpty()) {
        return;
    }
    if (!SecretFile::write(path, QByteArrayView(*fields.Blob).first(std::min<qsizetype>(fields.BlobSize, fields.Blob->size())))) {
        warn(childText("m_aMFileNotWritten") + QDir::toNativeSeparators(path) + QLatin1Char('\n')
             + writeProblemText(path));
    }
}
