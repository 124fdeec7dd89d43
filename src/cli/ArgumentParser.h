#pragma once

#include "Command.h"

#include <QString>
#include <QStringList>

// The outcome of reading the command line.
struct ParsedArguments {
    enum Outcome { Run, Help, CommandHelp, Version, UsageError };
    Outcome outcome = UsageError;
    const CliCommand *command = nullptr; // also for CommandHelp and for a UsageError of a known command
    Invocation invocation;
    QString error; // why the command line is wrong, for UsageError
};

// Reads "COMMAND [SUBCOMMAND] [OPTIONS] ARGUMENTS" (arguments[0] is the program) with the
// command's options. Options come before the arguments; "--" ends them, so an argument may
// begin with a dash. Each option is accepted once.
ParsedArguments parseArguments(const QStringList &arguments);
