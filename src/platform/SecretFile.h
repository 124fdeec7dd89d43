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
// and renamed into place only when every byte has reached it. On failure the old file
// (or its absence) is left exactly as it was and false is returned.
bool write(const QString &path, QByteArrayView bytes);

// The same, with the content produced by a function writing to the new file; returning
// false (or a failed write on the device) abandons the new file.
using Producer = std::function<bool(QIODevice &out)>;
bool write(const QString &path, const Producer &produce);

// Test hook: the device accepts only the first afterBytes bytes and then reports a write
// error, as a full disk would.
struct FailingWrites {
    qint64 afterBytes = 0;
};
bool write(const QString &path, QByteArrayView bytes, FailingWrites failing);
bool write(const QString &path, const Producer &produce, FailingWrites failing);

// Opens file.fileName() as a file that did not exist before, created with mode 0600
// (for temporary files that are not replaced atomically). Fails when something already
// exists at that path; a symbolic link there is never followed.
bool createNew(QFile &file, QIODevice::OpenMode mode = QIODevice::WriteOnly);

} // namespace SecretFile
