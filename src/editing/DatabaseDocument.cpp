#include "DatabaseDocument.h"

#include "platform/SecureMemory.h"

namespace {

// Every failure has a reason, even one the reader did not name.
DatabaseDocument::LoadResult failed(DatabaseDocument::LoadResult result)
{
    if (result.ok()) {
        result.problem = LoadProblem::Unreadable;
    }
    return result;
}

} // namespace

DatabaseDocument::DatabaseDocument(QObject *parent) : QObject(parent)
{
    connect(&m_undo, &UndoStack::cleanChanged, this, [this](bool clean) { emit modifiedChanged(!clean); });
}

DatabaseDocument::~DatabaseDocument()
{
    m_undo.blockSignals(true);
    close();
}

void DatabaseDocument::setFilePath(const QString &path)
{
    m_filePath = path;
    emit filePathChanged(path);
}

void DatabaseDocument::setPassword(QByteArray password)
{
    SecureMemory::wipe(m_password);
    m_password = std::move(password);
}

void DatabaseDocument::setModified(bool modified)
{
    if (modified) {
        m_undo.resetClean();
    } else {
        m_undo.setClean();
    }
}

void DatabaseDocument::push(QUndoCommand *command)
{
    m_undo.push(command);
}

DatabaseDocument::LoadResult DatabaseDocument::load(const QString &path)
{
    // Taken before reading: a change made while the file is read counts as a change.
    const FileIdentity identity = FileIdentity::of(path);
    LoadResult result;
    if (!loadDatabaseFile(m_tree, path, m_password, &result.problem, &m_form)) {
        return failed(result);
    }
    // The history spoke of the elements that went.
    m_undo.clear();
    m_identity = identity;
    setFilePath(path);
    return result;
}

DatabaseDocument::LoadResult DatabaseDocument::loadBuffer(QByteArray ciphertext)
{
    LoadResult result;
    if (!loadDatabaseBuffer(m_tree, std::move(ciphertext), m_password, &result.problem, &m_form)) {
        return failed(result);
    }
    m_undo.clear();
    m_identity = FileIdentity();
    return result;
}

DatabaseDocument::SaveResult DatabaseDocument::save(const QString &path, bool binary)
{
    SaveResult result;
    if (!saveDatabase(m_tree, path, m_password, binary, &result.failure)) {
        return result;
    }
    m_identity = FileIdentity::of(path);
    m_undo.setClean();
    return result;
}

DatabaseDocument::SaveResult DatabaseDocument::saveInPlace()
{
    if (changedOnDisk(m_filePath)) {
        SaveResult refused;
        refused.changedOnDisk = true;
        return refused;
    }
    return save(m_filePath, m_form == StreamForm::Binary);
}

void DatabaseDocument::close()
{
    m_undo.clear();
    m_tree.clearTree();
    SecureMemory::wipe(m_password);
}
