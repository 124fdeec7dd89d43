#pragma once

#include "Command.h"

#include <QCommandLineOption>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// Every command of vaultbase-cli, in the order the usage lists them.
const std::vector<std::unique_ptr<CliCommand>> &commandList();
// The command named by the first words of arguments (without the program): "ls" or
// "attachment export"; null when none is. words receives how many words name it.
const CliCommand *findCommand(const QStringList &arguments, int *words);

// The options every command that opens or writes a database takes.
QList<QCommandLineOption> passwordOptions();

// The usage of the whole tool, and that of one command (its --help).
QString usageText();
QString commandHelpText(const CliCommand &command);
// "  vaultbase-cli NAME [OPTIONS] FILE ..." for one command.
QString synopsisOf(const CliCommand &command);

// "vaultbase-cli (Brightway Vaultbase) 1.0.0", the form help2man reads.
QString versionText();
