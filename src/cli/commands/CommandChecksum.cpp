// vaultbase-cli checksum --algorithm NAME FILE: the digest of the file's bytes as stored,
// read in pieces, as lower-case hex.
#include "Command.h"
#include "Commands.h"
#include "Console.h"
#include "DigestNames.h"
#include "ExitCode.h"

#include "tools/FileChecksum.h"

#include <QFileInfo>

class ChecksumCommand : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("checksum"); }
    QString summary() const override
    {
        return QStringLiteral("the checksum of FILE's bytes as stored, in lower-case hex");
    }
    QList<QCommandLineOption> options() const override
    {
        return {valueOption({QStringLiteral("algorithm")}, QStringLiteral("md2, md4, md5, sha1, sha224, sha256, sha384, sha512, sha3-224, sha3-256, sha3-384 or sha3-512"), QStringLiteral("NAME"))};
    }
    bool takesPassword() const override { return false; }
    int run(const Invocation &invocation) const override;
};

int ChecksumCommand::run(const Invocation &invocation) const
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

std::unique_ptr<CliCommand> makeChecksumCommand()
{
    return std::make_unique<ChecksumCommand>();
}
