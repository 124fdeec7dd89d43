#pragma once

#include <QByteArrayView>
#include <QIODevice>
#include <QString>

#include <functional>

class QFile;

// Files that hold secrets: readable and writable by their owner only (mode 0600),
// whatever the umask and whatever mode an older file at the same path had.
namespace SecretFile {

// Writes the whole content of the file at path: a new file is written beside the old one
// and renamed into place only when every byte of it is on the disk; the folder is synced
// after the rename, so a power cut cannot leave an empty file either. On failure, or when
// the process is killed at any moment, the old file (or its absence) is left exactly as
// it was and false is returned; no temporary file is left behind to accumulate. A symbolic
// link at path is followed; a folder or a read-only file there is not replaced.
//
// Why a write failed is told in failure, when given, as it is met: the folder is not there,
// the folder or the file may not be written, or writing the bytes failed (a full disk, a
// device error, or a producer that gave up).
enum class Failure { None, FolderMissing, FolderNotWritable, FileNotWritable, WriteFailed };
bool write(const QString &path, QByteArrayView bytes, Failure *failure = nullptr);

// The same, with the content produced by a function writing to the new file; returning
// false (or a failed write on the device) abandons the new file.
using Producer = std::function<bool(QIODevice &out)>;
bool write(const QString &path, const Producer &produce, Failure *failure = nullptr);

// Creates the folder at path and every missing folder above it, each readable, writable
// and searchable by its owner only (mode 0700), whatever the umask: folders that hold
// exported secrets show no names to others. Folders already there are left as they are.
// True when path is a folder afterwards.
bool makeFolders(const QString &path);

// Opens file.fileName() as a file that did not exist before, created with mode 0600
// (for temporary files that are not replaced atomically). Fails when something already
// exists at that path; a symbolic link there is never followed.
bool createNew(QFile &file, QIODevice::OpenMode mode = QIODevice::WriteOnly);

} // namespace SecretFile
