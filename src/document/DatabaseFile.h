#pragma once

#include "platform/SecretFile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

class ElementTree;

// A database file is the Blowfish ciphertext (password as key, zero-padded to whole
// blocks, no header) of the tree's table stream: the binary form, or the text form
// followed by a NUL. Readers take either form. Storage functions report success only.

// The most bytes a database file may have: a bound for files that are no database (a
// device, a disk image) rather than for any database this program writes.
inline constexpr qint64 MaxDatabaseFileSize = qint64(8) << 30;

// Why a load failed.
enum class LoadProblem {
    None,
    NotADatabase, // neither stream form reads the plaintext: a wrong password or a damaged file
    TooDeep,      // the tree is nested deeper than ElementTree::MaxDepth levels
    Unreadable,   // no regular file, an empty or oversized one, or a read error
};

// The plaintext of a database: the tree's table in the binary form, or in the text form
// with its NUL when binary is false. A cell the text form would corrupt (one holding a NUL
// byte or a column tag) makes it the binary form all the same. Empty when the export fails.
QByteArray databaseStream(const ElementTree &tree, bool binary);

// The ciphertext of the tree; nothing for an empty password or a failed export.
std::optional<QByteArray> encryptDatabase(const ElementTree &tree, QByteArrayView password, bool binary);

// Writes the encrypted tree to path atomically as an owner-only file: a failed save leaves
// the old file exactly as it was. The binary form is encrypted and written piece by piece
// as the tree is walked, so its plaintext never exists whole.
// Why it failed is told in failure, when given (an empty password or a failed export is a
// failed write).
bool saveDatabase(const ElementTree &tree, const QString &path, QByteArrayView password, bool binary,
                  SecretFile::Failure *failure = nullptr);
// Writes the encrypted tree to out, as saveDatabase writes it to its new file.
bool writeDatabase(const ElementTree &tree, QIODevice &out, QByteArrayView password, bool binary);

// The form of the table stream a database was read in; saving keeps it.
enum class StreamForm { Binary, Text };

// Replaces the tree by the database in plaintext (either stream form). When neither form
// reads it (a wrong password) or the import fails, the tree is left as it was: the new
// tree is built aside and swapped in only on success. The tree's sort mode is kept. Each
// load function says why it failed in problem, and which form it read in form, when given.
bool loadDatabaseStream(ElementTree &tree, QByteArrayView plaintext, LoadProblem *problem = nullptr);

// Decrypts and loads ciphertext; bytes is decrypted in place and wiped afterwards. From
// BackgroundDecryption::ThreadedFrom bytes on, a worker thread decrypts while this thread
// parses the part already decrypted; the worker has ended when this returns.
bool loadDatabaseBuffer(ElementTree &tree, QByteArray bytes, QByteArrayView password,
                        LoadProblem *problem = nullptr, StreamForm *form = nullptr);

// Reads, decrypts and loads a database file. False for a missing or empty file, one that
// is no regular file or is larger than MaxDatabaseFileSize, an empty password or a wrong
// one; the tree is then untouched.
bool loadDatabaseFile(ElementTree &tree, const QString &path, QByteArrayView password,
                      LoadProblem *problem = nullptr, StreamForm *form = nullptr);
