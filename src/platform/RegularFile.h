#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QFile;

// Reading a file the user named: only a regular file is read, and never more than a bound.
// A named pipe, a device or a folder at the path is refused without being waited on (opening
// a pipe for reading would wait for a writer, and /dev/zero never ends), and a file larger
// than the bound is refused before anything is read.
namespace RegularFile {

enum class Problem {
    None,
    Missing,    // nothing at the path
    NotRegular, // a folder, a named pipe, a device or a socket
    TooLarge,   // more bytes than the bound
    Unreadable, // no permission, or a read failed
};

// Opens path read-only when it is a regular file (checked on the opened file itself, so it
// cannot be swapped for a pipe in between). False, with the reason in problem, otherwise.
bool open(QFile &file, const QString &path, Problem *problem = nullptr);

// The whole file when it is a regular file of at most maxBytes bytes; nothing, with the
// reason in problem, otherwise. A file that grows beyond the bound while it is read is
// refused too.
std::optional<QByteArray> read(const QString &path, qint64 maxBytes, Problem *problem = nullptr);

} // namespace RegularFile
