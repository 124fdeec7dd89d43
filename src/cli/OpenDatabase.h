#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class ElementTree;
struct Invocation;

// The routine every command that reads a database shares: read the file named on the
// command line, obtain its password as the options say, decrypt and load it into tree.
// Prints the reason and returns ExitFailure when any step fails ("Wrong password!" when
// the file does not decrypt to a table stream); ExitOk otherwise.
int openDatabase(const Invocation &invocation, ElementTree &tree);

// The whole file, or nothing with the reason (naming the file) printed.
std::optional<QByteArray> readWholeFile(const QString &path);
