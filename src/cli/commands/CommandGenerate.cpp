// vaultbase-cli generate [--length N] [--no-lower] [--no-upper] [--no-digits] [--no-other]:
// one password from the secure random source on standard output.
#include "Command.h"
#include "Commands.h"
#include "Console.h"
#include "ExitCode.h"
#include "GeneratedPassword.h"
#include "TerminalText.h"

#include "platform/SecureMemory.h"

class GenerateCommand : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("generate"); }
    QString summary() const override
    {
        return QStringLiteral("one random password on standard output (8 characters by default, at most 999)");
    }
    QList<QCommandLineOption> options() const override
    {
        return {valueOption({QStringLiteral("length")}, QStringLiteral("the number of characters"), QStringLiteral("N")),
                flagOption({QStringLiteral("no-lower")}, QStringLiteral("no lowercase letters")),
                flagOption({QStringLiteral("no-upper")}, QStringLiteral("no uppercase letters")),
                flagOption({QStringLiteral("no-digits")}, QStringLiteral("no digits")),
                flagOption({QStringLiteral("no-other")}, QStringLiteral("no other characters (with no class left: digits only)"))};
    }
    QStringList arguments() const override { return {}; }
    bool takesPassword() const override { return false; }
    int run(const Invocation &invocation) const override;
};

int GenerateCommand::run(const Invocation &invocation) const
{
    int status = ExitOk;
    std::optional<QByteArray> generated = generatedPassword(invocation, status);
    if (!generated) {
        return status;
    }
    QByteArray password = std::move(*generated);
    QByteArray line = terminalText(password) + '\n';
    SecureMemory::wipe(password);
    OutputStream out;
    out.write(line);
    SecureMemory::wipe(line);
    if (!out.flush()) {
        Console::error(QStringLiteral("Cannot write to standard output."));
        return ExitFailure;
    }
    return ExitOk;
}

std::unique_ptr<CliCommand> makeGenerateCommand()
{
    return std::make_unique<GenerateCommand>();
}
