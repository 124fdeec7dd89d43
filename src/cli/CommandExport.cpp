// vaultbase-cli export --format json: the whole tree on standard output.
#include "Command.h"
#include "Commands.h"
#include "Console.h"
#include "ExitCode.h"
#include "JsonTreeWriter.h"
#include "OpenDatabase.h"

#include "document/ElementTree.h"

int runExport(const Invocation &invocation)
{
    // Checked before the password is asked: a wrong command line costs no typing.
    const QString format = invocation.has(QStringLiteral("--format")) ? invocation.value(QStringLiteral("--format"))
                                                                       : QStringLiteral("json");
    if (format != u"json") {
        Console::error(QStringLiteral("Unknown export format \"%1\"; the format is json.").arg(format));
        return ExitUsage;
    }
    ElementTree tree;
    if (const int status = openDatabase(invocation, tree); status != ExitOk) {
        return status;
    }
    OutputStream out;
    writeTreeJson(tree, out);
    if (!out.flush()) {
        Console::error(QStringLiteral("Cannot write to standard output."));
        return ExitFailure;
    }
    return ExitOk;
}
