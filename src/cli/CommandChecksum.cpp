// vaultbase-cli checksum --algorithm NAME FILE: the digest of the file's bytes as stored,
// read in pieces, as lower-case hex.
#include "Command.h"
#include "Commands.h"
#include "Console.h"
#include "DigestNames.h"
#include "ExitCode.h"

#include "tools/FileChecksum.h"

#include <QFileInfo>

int runChecksum(const Invocation &invocation)
{
    const std::optional<DigestAlgorithm> algorithm = algorithmOption(invocation, true);
    if (!algorithm || *algorithm == DigestAlgorithm::None) {
        return ExitUsage;
    }
    const QFileInfo info(invocation.file);
    if (!info.isFile()) {
        Console::error(QStringLiteral("Cannot read %1: %2.")
                           .arg(invocation.file, info.exists() ? QStringLiteral("it is no file")
                                                               : QStringLiteral("no such file")));
        return ExitFailure;
    }
    const QString digest = checksum(invocation.file, *algorithm);
    if (digest.isEmpty()) {
        Console::error(QStringLiteral("Cannot read %1.").arg(invocation.file));
        return ExitFailure;
    }
    Console::printToStdout(digest + u'\n');
    return ExitOk;
}
