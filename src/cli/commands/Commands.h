#pragma once

#include "Command.h"

#include <memory>

// The commands, one file each in this folder; CommandList.cpp lists them.
std::unique_ptr<CliCommand> makeListCommand();
std::unique_ptr<CliCommand> makeShowCommand();
std::unique_ptr<CliCommand> makeSearchCommand();
std::unique_ptr<CliCommand> makeClipCommand();
std::unique_ptr<CliCommand> makeExportCommand();
std::unique_ptr<CliCommand> makeImportCommand();
std::unique_ptr<CliCommand> makeCreateCommand();
std::unique_ptr<CliCommand> makeAddCommand();
std::unique_ptr<CliCommand> makeEditCommand();
std::unique_ptr<CliCommand> makeMoveCommand();
std::unique_ptr<CliCommand> makeRemoveCommand();
std::unique_ptr<CliCommand> makeAttachmentExportCommand();
std::unique_ptr<CliCommand> makeAttachmentImportCommand();
std::unique_ptr<CliCommand> makePasswdCommand();
std::unique_ptr<CliCommand> makeAnalyzeCommand();
std::unique_ptr<CliCommand> makeGenerateCommand();
std::unique_ptr<CliCommand> makeRateCommand();
std::unique_ptr<CliCommand> makeChecksumCommand();
std::unique_ptr<CliCommand> makeInfoCommand();
std::unique_ptr<CliCommand> makeAttachCommand();
std::unique_ptr<CliCommand> makePortableCommand();
std::unique_ptr<CliCommand> makeKeyFileCommand();
