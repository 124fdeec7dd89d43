#pragma once

#include "Command.h"

#include <QString>
#include <QStringView>

#include <vector>

// Every command of vaultbase-cli. A new command is one entry here and one file beside it.
const std::vector<CommandSpec> &commandTable();
const CommandSpec *findCommand(QStringView name);

// The options every command that opens or writes a database takes.
const std::vector<OptionSpec> &passwordOptions();

// The usage of the whole tool, generated from the table.
QString usageText();

// "vaultbase-cli (Brightway Vaultbase) 1.0.0", the form help2man reads.
QString versionText();
