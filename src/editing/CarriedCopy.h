#pragma once

#include "document/AttachedDatabase.h"

#include <QByteArrayView>
#include <QString>

class DatabaseDocument;

// An open database carried at the end of another file: in a copy of the running program
// (a portable copy, which brings the language text along) or in a file the user chose
// (an attached file). The bytes are those vaultbase-cli's "portable" and "attach" write:
// the database encrypted as a save would encrypt it, through writeAttachedDatabase.
namespace CarriedCopy {

enum class Problem {
    None,
    // The database has no file or no password yet: only a saved database is carried.
    NotSaved,
    // The destination is the database's own file, which the copy would replace.
    DatabaseItself,
    // The database could not be encrypted.
    NotEncrypted,
    // writeAttachedDatabase failed; see Result::write.
    NotWritten,
};

struct Result {
    Problem problem = Problem::None;
    CarryWrite write;
    bool ok() const { return problem == Problem::None; }
};

// True when both paths name one existing file (symbolic links followed).
bool isSameFile(const QString &first, const QString &second);

// Writes destination from source (the program for a portable copy, the chosen file
// otherwise) with the document's database, in the binary or the text form, and for a
// portable copy the language text.
Result write(const DatabaseDocument &document, const QString &source, const QString &destination, bool portable,
             bool binary, QByteArrayView languageText = {});

} // namespace CarriedCopy
