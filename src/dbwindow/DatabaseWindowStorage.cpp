// The database window's file side: path, caption, password and modified flag, loading,
// saving, the close question, and the attached files of file elements.
#include "DatabaseWindow.h"

#include "editing/CarriedCopy.h"
#include "editing/DocumentCommands.h"
#include "MainServices.h"
#include "WriteProblemText.h"
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

// --- Path, caption, password ---

void DatabaseWindow::setFilePath(const QString &path)
{
    m_document.setFilePath(path);
    const QString text = caption();
    setWindowTitle(text + QLatin1String("[*]"));
    m_main.setTrayHint(text);
    emit captionChanged(text);
}

QString DatabaseWindow::caption() const
{
    return filePath().isEmpty() ? mainText("m_aMUnnamed") : QFileInfo(filePath()).fileName();
}

void DatabaseWindow::changePassword(QByteArray password)
{
    pushCommand(new ChangePasswordCommand(m_document, std::move(password), childText("m_aMCmdPassword")));
}

// --- Loading ---

bool DatabaseWindow::loadDatabase(const QString &path)
{
    const DatabaseDocument::LoadResult loaded = m_document.load(path);
    m_lastLoadProblem = loaded.problem;
    if (!loaded.ok()) {
        reportLoadProblem(loaded.problem, path);
        return false;
    }
    setFilePath(path);
    afterLoad();
    return true;
}

bool DatabaseWindow::loadDatabaseBuffer(QByteArray ciphertext)
{
    const DatabaseDocument::LoadResult loaded = m_document.loadBuffer(std::move(ciphertext));
    m_lastLoadProblem = loaded.problem;
    if (!loaded.ok()) {
        reportLoadProblem(loaded.problem, filePath());
        return false;
    }
    afterLoad();
    return true;
}

void DatabaseWindow::afterLoad()
{
    m_document.setModified(false);
    selectFirstElement();
}

// A wrong password is the caller's to report (it asks again); a database nested too deep
// or a file that cannot be read would only be refused again, so the reason is told here.
void DatabaseWindow::reportLoadProblem(LoadProblem problem, const QString &path)
{
    if (problem == LoadProblem::TooDeep) {
        warn(childText("m_aMLoadTooDeep") + QDir::toNativeSeparators(path));
    } else if (problem == LoadProblem::Unreadable) {
        warn(childText("m_aMFileNotRead") + QDir::toNativeSeparators(path));
    }
}

// --- Saving ---

bool DatabaseWindow::save()
{
    if (filePath().isEmpty()) {
        return saveAs();
    }
    return saveTo(filePath());
}

bool DatabaseWindow::saveAs()
{
    commitPendingEdits();
    // The password first: a database is never written without one.
    if (!ensurePassword()) {
        return false;
    }
    const QString path = askSavePath();
    if (path.isEmpty()) {
        return false;
    }
    // A database carried in a program copy or another file is saved to a file of its own.
    if (CarriedCopy::isSameFile(path, m_document.carrierPath())) {
        warn(childText("m_aMCarrierNotReplaced") + QDir::toNativeSeparators(path));
        return false;
    }
    if (!saveTo(path)) {
        return false;
    }
    setFilePath(path);
    m_main.addRecentFile(path);
    return true;
}

QString DatabaseWindow::askSavePath()
{
    // A carried database is proposed a database file beside its carrier, named after it.
    const QFileInfo carrier(m_document.carrierPath());
    const QString start = filePath().isEmpty() && !carrier.fileName().isEmpty()
        ? carrier.absolutePath() + u'/' + carrier.completeBaseName() + QLatin1String(".kvdb")
        : filePath();
    QString path = QFileDialog::getSaveFileName(m_main.dialogParent(), QString(), start,
                                                QtFileFilter(mainText("m_aMFileFilter")));
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
        path += QLatin1String(".kvdb");
    }
    return path;
}

bool DatabaseWindow::ensurePassword()
{
    if (!password().isEmpty()) {
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
    if (m_document.changedOnDisk(path) && confirm(childText("m_aMFileChanged"), false) != Answer::Yes) {
        return false;
    }
    const DatabaseDocument::SaveResult saved = m_document.save(path, m_main.settings().saveBinary);
    if (!saved.ok()) {
        warn(childTextWith("m_aMSaveFailed", QDir::toNativeSeparators(path)) + QLatin1Char('\n')
             + writeProblemText(saved.failure));
        return false;
    }
    return true;
}

QString DatabaseWindow::childTextWith(const char *childKey, const QString &argument) const
{
    return childText(childKey).replace(QLatin1String("%s"), argument);
}

QString DatabaseWindow::writeProblemText(SecretFile::Failure failure) const
{
    return ::writeProblemText(m_main.language(), failure);
}

// --- Closing ---

DatabaseWindow::CloseAnswer DatabaseWindow::askToClose()
{
    commitPendingEdits();
    if (!isModified()) {
        return CloseAnswer::Close;
    }
    const QString name = filePath().isEmpty() ? mainText("m_aMUnnamed") : QDir::toNativeSeparators(filePath());
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
    const QString filter = fileTypeFilter(mainText("m_aMContFilter"), extension);
    const QString path = QFileDialog::getSaveFileName(m_main.dialogParent(), QString(), fileName, QtFileFilter(filter));
    if (path.isEmpty()) {
        return;
    }
    SecretFile::Failure failure = SecretFile::Failure::None;
    if (!SecretFile::write(path, QByteArrayView(*fields.Blob).first(std::min<qsizetype>(fields.BlobSize, fields.Blob->size())),
                           &failure)) {
        warn(childText("m_aMFileNotWritten") + QDir::toNativeSeparators(path) + QLatin1Char('\n')
             + writeProblemText(failure));
    }
}
