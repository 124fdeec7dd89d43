#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include "platform/SecretFile.h"

#include <optional>

class QIODevice;

// A database can travel at the end of another file, as the ciphertext a database file
// would hold (all numbers 32-bit signed little-endian):
//
// Attached file (any file carries it; byte for byte the Windows program's layout):
//   [the carrier, L bytes][n][ciphertext, n bytes][L]["VAULTO_ATTACHMENT_ADDED" NUL]
//   so the file is L + n + 32 bytes long and L sits 28 bytes before its end.
//
// Portable copy (this program's executable carrying a database and a language text).
// An ELF file has no stub whose byte 80 could hold the program length, so the copy ends
// in a trailer of its own:
//   [the program, L bytes][n][ciphertext][m][language text, m bytes][L]
//   ["VAULTO_PORTABLE_ADDED" NUL]
//   so the file is L + n + m + 34 bytes long and L sits 26 bytes before its end. The
//   program as installed ends in no trailer, so it is never taken for a portable copy.
//
// Windows portable copy (read only, so a database made portable there opens here): a
// file that begins with "MZ" whose byte 80 is not 'T' (the installed program holds
// "This program must be run under Win32" there) and holds L at offset 80:
//   [the program, L bytes, L at offset 80][n][ciphertext][m][language text]
// The offset-80 rule applies to files beginning with "MZ" only.
//
// Every number read is checked against the file: a negative one, or one that points
// outside the file or into its trailer, means no database.

namespace CarriedTrailer {
inline constexpr char Attachment[] = "VAULTO_ATTACHMENT_ADDED"; // written with its NUL
inline constexpr qsizetype AttachmentSize = 24;
inline constexpr char Portable[] = "VAULTO_PORTABLE_ADDED"; // written with its NUL
inline constexpr qsizetype PortableSize = 22;
// The Windows program's length field inside its executable stub.
inline constexpr qint64 WindowsLengthOffset = 80;
} // namespace CarriedTrailer

struct CarriedDatabase {
    enum Kind { Attached, Portable, WindowsPortable };

    Kind kind = Attached;
    // The carrier's (or program's) length L: what a copy of the file takes over.
    qint64 programLength = 0;
    // Where the ciphertext lies in the file, and the ciphertext itself.
    qint64 databaseOffset = 0;
    QByteArray ciphertext;
    // The language store as text (portable copies only; may be empty).
    QByteArray languageText;

    bool isPortable() const { return kind != Attached; }
};

// The database a file carries, in any of the three forms; nothing for an ordinary file,
// a file of 28 bytes or less, or damaged numbers. Only the trailer and the carried part
// are read, however big the carrier is.
std::optional<CarriedDatabase> findAttachedDatabase(const QString &path);
std::optional<CarriedDatabase> findAttachedDatabase(QIODevice &file);

// What writeAttachedDatabase did: the file is written, or why it is not. Tests as true
// exactly when it was written.
struct CarryWrite {
    enum class Problem { None, SourceUnreadable, NoCiphertext, TooLarge, NotWritten };

    Problem problem = Problem::None;
    // Why the destination could not be written (NotWritten).
    SecretFile::Failure failure = SecretFile::Failure::None;

    bool ok() const { return problem == Problem::None; }
    explicit operator bool() const { return ok(); }
};

// Writes destination as an owner-only file: the source's first L bytes (streamed, never
// held whole), the ciphertext (encryptDatabase's result) and, for a portable copy, the
// language text, each in its layout above. L is the source's length; for a portable
// copy of a file that already carries a database (the running portable copy), L is the
// length of its program part, so a copy of a copy holds the program once. An attached
// file takes the chosen carrier whole, as it is. A portable copy is also executable by its owner
// (mode 0700). Fails when the source cannot be read, the ciphertext is empty, a length
// does not fit the 32-bit fields, or the destination cannot be written (an older
// destination is then left as it was). Source and destination may be the same file.
CarryWrite writeAttachedDatabase(const QString &source, const QString &destination, bool portable,
                                 QByteArrayView ciphertext, QByteArrayView languageText = {});
