#pragma once

#include "FileIdentity.h"
#include "UndoStack.h"

#include "document/DatabaseFile.h"
#include "document/ElementTree.h"
#include "platform/SecretFile.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class QUndoCommand;

// One open database: its element tree, the file it came from or goes to, its password,
// what the file looked like when it was read or last written, and the history of its
// changes. Every change to the tree or the password is a command pushed here, so that it
// can be undone; the database is modified exactly while the history is away from the
// state last loaded or saved. Windows show a document; the document knows no window.
class DatabaseDocument : public QObject
{
    Q_OBJECT

public:
    explicit DatabaseDocument(QObject *parent = nullptr);
    // Drops the history and the elements (their texts wiped) and wipes the password.
    ~DatabaseDocument() override;

    ElementTree &tree() { return m_tree; }
    const ElementTree &tree() const { return m_tree; }
    UndoStack &undoStack() { return m_undo; }

    // Empty while the database was never saved.
    const QString &filePath() const { return m_filePath; }
    void setFilePath(const QString &path);

    // The file the database was carried in (a portable copy or an attached file) when it
    // was opened from one; empty otherwise. Such a database has no file of its own until
    // it is saved as one: the carrier is never written over.
    const QString &carrierPath() const { return m_carrierPath; }
    void setCarrierPath(const QString &path) { m_carrierPath = path; }

    // The password, code-page bytes; the old one is wiped when replaced.
    const QByteArray &password() const { return m_password; }
    void setPassword(QByteArray password);

    bool isModified() const { return !m_undo.isClean(); }
    // False: the present state counts as saved. True: no undo or redo leads back to a saved
    // state (a change that is not in the history).
    void setModified(bool modified);

    // Does command and keeps it for undo.
    void push(QUndoCommand *command);

    // --- Reading and writing ---
    struct LoadResult {
        LoadProblem problem = LoadProblem::None;
        bool ok() const { return problem == LoadProblem::None; }
    };
    // Replaces the tree by the database at path, read with password(). On success the path
    // is adopted, the history is dropped and the document is unmodified; on failure nothing
    // changes.
    LoadResult load(const QString &path);
    // The same for ciphertext already in memory (a carried database); the path is kept and
    // no file identity is known.
    LoadResult loadBuffer(QByteArray ciphertext);

    struct SaveResult {
        SecretFile::Failure failure = SecretFile::Failure::None;
        bool changedOnDisk = false; // another program changed the file: nothing was written
        bool ok() const { return failure == SecretFile::Failure::None && !changedOnDisk; }
    };
    // Writes the database to path atomically, in the binary or the text form. On success
    // the document is unmodified and remembers the file as written; the path is not
    // adopted (Save as does that once it succeeded).
    SaveResult save(const QString &path, bool binary);
    // Writes the database back to its own file in the form it was read in, unless another
    // program changed the file since it was read or written (then changedOnDisk, and the
    // file is left as it is). For a change that asks nobody, as the command line makes.
    SaveResult saveInPlace();

    // The stream form of the last load (binary for a database never loaded).
    StreamForm loadedForm() const { return m_form; }

    // True when the file at path is the one read or written last and another program
    // changed it since.
    bool changedOnDisk(const QString &path) const { return m_identity.changedOnDisk(path); }

    // Drops the history and the elements and wipes the password.
    void close();

signals:
    void modifiedChanged(bool modified);
    void filePathChanged(const QString &path);
    // A command was done, undone or redone; node is the element to show afterwards (null:
    // keep what is shown, when it is still there).
    void commandApplied(ElementNode *node);

private:
    friend class DocumentCommand;

    ElementTree m_tree;
    UndoStack m_undo;
    QString m_filePath;
    QString m_carrierPath;
    QByteArray m_password;
    FileIdentity m_identity;
    StreamForm m_form = StreamForm::Binary;
};
