#pragma once

#include "Command.h"

#include <QString>
#include <QStringList>

// The outcome of reading the command line.
struct ParsedArguments {
    enum Outcome { Run, Help, Version, UsageError };
    Outcome outcome = UsageError;
    const CommandSpec *command = nullptr;
    Invocation invocation;
    QString error; // why the command line is wrong, for UsageError
};

// Reads "COMMAND [SUBCOMMAND] [OPTIONS] ARGUMENTS" (arguments[0] is the program), the
// arguments being those the command's table entry names (FILE for most). Options come
// before the arguments; "--" ends them, so an argument may begin with a dash. Each option
// is accepted once, and only by the commands that list it.
ParsedArguments parseArguments(const QStringList &arguments);
