// vaultbase-cli: the document from a terminal.
#include "ArgumentParser.h"
#include "CommandList.h"
#include "Console.h"
#include "ExitCode.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <memory>

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

// A command that uses the clipboard needs the desktop's display; every other one, and one
// run where there is no display, gets an application without a window system.
std::unique_ptr<QCoreApplication> makeApplication(int &argc, char **argv, const QStringList &arguments)
{
    int words = 0;
    const CliCommand *command = arguments.size() > 1 ? findCommand(arguments.sliced(1), &words) : nullptr;
    if (command && command->needsDisplay() && !qEnvironmentVariableIsEmpty("DISPLAY")) {
        // A display that cannot be reached must not abort the tool: the command sees the
        // fallback platform and says so.
        qputenv("QT_QPA_PLATFORM", "xcb;offscreen");
        return std::make_unique<QGuiApplication>(argc, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace

int main(int argc, char *argv[])
{
    forbidCoreDumps();
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments += QString::fromLocal8Bit(argv[i]);
    }
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv, arguments);
    const ParsedArguments parsed = parseArguments(QCoreApplication::arguments());
    switch (parsed.outcome) {
    case ParsedArguments::Help:
        Console::printToStdout(usageText());
        return ExitOk;
    case ParsedArguments::CommandHelp:
        Console::printToStdout(commandHelpText(*parsed.command));
        return ExitOk;
    case ParsedArguments::Version:
        Console::printToStdout(versionText());
        return ExitOk;
    case ParsedArguments::UsageError:
        Console::error(parsed.error);
        Console::printToStderr(parsed.command ? QStringLiteral("Usage:") + synopsisOf(*parsed.command).sliced(1)
                                                    + QStringLiteral("\n(vaultbase-cli %1 --help lists its options)\n")
                                                          .arg(parsed.command->name())
                                              : usageText());
        return ExitUsage;
    case ParsedArguments::Run:
        break;
    }
    const int status = parsed.command->run(parsed.invocation);
    if (status == ExitUsage) {
        Console::printToStderr(commandHelpText(*parsed.command));
    }
    return status;
}
