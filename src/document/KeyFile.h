#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// Key files (".kvky") keep a database password, encrypted under a key built into the
// program, so that a database opens without its password being typed. The plaintext is
// 3 x L bytes for a password of L bytes: the password, a NUL, then zeros.

// The key built into the program that key files are encrypted under (50 printable
// ASCII characters).
QByteArrayView keyFileKey();

// A key file is small (three bytes per byte of the password): a file beyond this is no
// key file and is not read.
inline constexpr qint64 MaxKeyFileSize = 64 * 1024;

// The password at the start of the file's plaintext, up to its first NUL. Any readable
// non-empty regular file of at most MaxKeyFileSize bytes yields some bytes (there is no
// check that it is a key file); nothing for an unreadable, empty or larger file, a named
// pipe or a device, or when the text before the first NUL is empty.
std::optional<QByteArray> readKeyFile(const QString &path);
// The same for the key file's bytes.
std::optional<QByteArray> keyFilePassword(QByteArray keyFileBytes);

// Writes the key file atomically, owner-only. False for an empty password or when the
// file cannot be written.
bool writeKeyFile(const QString &path, QByteArrayView password);

// The key file that applies to the database at databasePath: the database path with its
// extension replaced by ".kvky" when that file exists, else "Default.kvky" in the
// database's folder when that exists, else an empty string.
QString findKeyFileFor(const QString &databasePath);

// The password the key file found for the database offers, when there is one and it reads.
std::optional<QByteArray> keyFilePasswordFor(const QString &databasePath);
