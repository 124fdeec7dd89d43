#pragma once

#include "Command.h"

#include <QString>
#include <QStringList>

// The outcome of reading the command line.
struct ParsedArguments {
    enum Outcome { Run, Help, UsageError };
    Outcome outcome = UsageError;
    const CommandSpec *command = nullptr;
    Invocation invocation;
    QString error; // why the command line is wrong, for UsageError
};

// Reads "COMMAND [OPTIONS] FILE" (arguments[0] is the program). Options come before FILE;
// "--" ends them, so FILE may begin with a dash. Each option is accepted once, and only
// by the commands that list it.
ParsedArguments parseArguments(const QStringList &arguments);
