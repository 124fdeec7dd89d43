#pragma once

#include "Password.h"

#include "platform/RegularFile.h"
#include "platform/SecretFile.h"

#include <QByteArray>
#include <QString>

#include <optional>

class ElementNode;
class ElementTree;
struct Invocation;

// The routine every command that reads a database shares: read the file named on the
// command line, obtain its password as the options say, decrypt and load it into tree.
// Prints the reason and returns ExitFailure when any step fails ("Wrong password!" when
// the file does not decrypt to a table stream); ExitOk otherwise. When password is given,
// it receives the password that opened the database.
//
// Databases carried in other files open too. A file whose name does not end in ".kvdb"
// (in any letter case) is first looked at for a carried database (an attached file, a
// portable copy made here or by the Windows program); when it carries none it is read as
// a database file. A ".kvdb" file is read as a database file, and only when the password
// does not open it so is a database it might carry tried with the same password.
int openDatabase(const Invocation &invocation, ElementTree &tree, std::optional<Password> *password = nullptr);

// openDatabase, then the element the PATH argument (the one after FILE) names, or null
// with "FILE holds no element" printed. status receives ExitOk, or why there is none.
const ElementNode *openElement(const Invocation &invocation, ElementTree &tree, int &status);

// The whole file when it is a regular file of at most maxBytes bytes, or nothing with the
// reason (naming the file) printed. A named pipe or a device is refused, never waited on.
std::optional<QByteArray> readWholeFile(const QString &path, qint64 maxBytes);
// Why a file could not be read, in words that follow "Cannot read PATH: ".
QString describeReadProblem(const QString &path, RegularFile::Problem problem, qint64 maxBytes);
// Why a file could not be written, in words that follow "Cannot write PATH: ".
QString describeWriteProblem(SecretFile::Failure failure);
