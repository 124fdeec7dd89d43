// vaultbase-cli: the document from a terminal.
#include "ArgumentParser.h"
#include "Console.h"
#include "CommandTable.h"
#include "ExitCode.h"

#include <QCoreApplication>

#include <sys/prctl.h>
#include <sys/resource.h>

namespace {

// Passwords and decrypted elements are in memory: no core dump may carry them to disk.
void forbidCoreDumps()
{
    ::prctl(PR_SET_DUMPABLE, 0);
    const rlimit none{0, 0};
    ::setrlimit(RLIMIT_CORE, &none);
}

} // namespace

int main(int argc, char *argv[])
{
    forbidCoreDumps();
    QCoreApplication app(argc, argv);
    const ParsedArguments parsed = parseArguments(QCoreApplication::arguments());
    switch (parsed.outcome) {
    case ParsedArguments::Help:
        Console::printToStdout(usageText());
        return ExitOk;
    case ParsedArguments::Version:
        Console::printToStdout(versionText());
        return ExitOk;
    case ParsedArguments::UsageError:
        Console::error(parsed.error);
        Console::printToStderr(usageText());
        return ExitUsage;
    case ParsedArguments::Run:
        break;
    }
    const int status = parsed.command->run(parsed.invocation);
    if (status == ExitUsage) {
        Console::printToStderr(usageText());
    }
    return status;
}
