// vaultbase-cli rate: the risk lines of the password read from standard input (asked
// without echo when standard input is a terminal).
#include "Command.h"
#include "Commands.h"
#include "Console.h"
#include "ExitCode.h"
#include "PasswordInput.h"
#include "SecretLine.h"
#include "TerminalPrompt.h"
#include "TerminalText.h"

#include "shell/LanguageStore.h"
#include "tools/PasswordRisks.h"

#include <unistd.h>

namespace {

std::optional<QByteArray> typedLine()
{
    if (::isatty(STDIN_FILENO)) {
        TerminalPrompt terminal;
        if (terminal.open()) {
            return terminal.ask(QStringLiteral("Password to rate: "));
        }
    }
    return readSecretLine(STDIN_FILENO);
}

} // namespace

class RateCommand : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("rate"); }
    QString summary() const override
    {
        return QStringLiteral("the risks of the password read from standard input, one per line");
    }
    QStringList arguments() const override { return {}; }
    bool takesPassword() const override { return false; }
    int run(const Invocation &invocation) const override;
};

int RateCommand::run(const Invocation &) const
{
    std::optional<QByteArray> line = typedLine();
    if (!line) {
        Console::error(QStringLiteral("No password on standard input."));
        return ExitFailure;
    }
    QString error;
    // An empty line is a password too: it is rated as not set.
    const std::optional<Password> password = passwordFromUtf8(std::move(*line), &error);
    if (!password) {
        Console::error(error);
        return ExitFailure;
    }
    QByteArray risks = terminalText(passwordRisks(password->bytes(), LanguageStore()));
    if (!risks.endsWith('\n')) {
        risks += '\n';
    }
    OutputStream out;
    out.write(risks);
    if (!out.flush()) {
        Console::error(QStringLiteral("Cannot write to standard output."));
        return ExitFailure;
    }
    return ExitOk;
}

std::unique_ptr<CliCommand> makeRateCommand()
{
    return std::make_unique<RateCommand>();
}
