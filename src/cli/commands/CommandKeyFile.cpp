// vaultbase-cli keyfile create KEYFILE: a key file holding the password read from standard
// input (--password-stdin) or asked twice on the terminal.
#include "Command.h"
#include "Commands.h"
#include "Console.h"
#include "ExitCode.h"
#include "PasswordInput.h"

#include "document/KeyFile.h"

#include <QFileInfo>

class KeyFileCommand : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("keyfile create"); }
    QString summary() const override
    {
        return QStringLiteral("a new key file holding the password (from --password-stdin, or asked twice on the terminal)");
    }
    QList<QCommandLineOption> options() const override
    {
        return {flagOption({QStringLiteral("force")}, QStringLiteral("replace KEYFILE when it exists"))};
    }
    QStringList arguments() const override { return {QStringLiteral("KEYFILE")}; }
    int run(const Invocation &invocation) const override;
};

int KeyFileCommand::run(const Invocation &invocation) const
{
    if (invocation.has(QStringLiteral("--key-file"))) {
        Console::error(QStringLiteral("keyfile create takes the password from standard input or the terminal."));
        return ExitUsage;
    }
    const QString &path = invocation.file;
    const QFileInfo info(path);
    if ((info.exists() || info.isSymLink()) && !invocation.has(QStringLiteral("--force"))) {
        Console::error(QStringLiteral("%1 exists; give --force to replace it.").arg(path));
        return ExitFailure;
    }
    const std::optional<Password> password = obtainPassword(invocation, PasswordUse::KeyFile);
    if (!password) {
        return ExitFailure;
    }
    if (!writeKeyFile(path, password->bytes())) {
        Console::error(QStringLiteral("Cannot write %1.").arg(path));
        return ExitFailure;
    }
    return ExitOk;
}

std::unique_ptr<CliCommand> makeKeyFileCommand()
{
    return std::make_unique<KeyFileCommand>();
}
