// vaultbase-cli generate [--length N] [--no-lower] [--no-upper] [--no-digits] [--no-other]:
// one password from the secure random source on standard output.
#include "Command.h"
#include "Commands.h"
#include "Console.h"
#include "ExitCode.h"
#include "TerminalText.h"

#include "platform/SecureMemory.h"
#include "tools/PasswordGenerator.h"
#include "tools/RandomSource.h"

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
    int length = DefaultPasswordLength;
    if (invocation.has(QStringLiteral("--length"))) {
        const QString text = invocation.value(QStringLiteral("--length"));
        bool isNumber = false;
        text.trimmed().toLongLong(&isNumber);
        if (!isNumber) {
            Console::error(QStringLiteral("--length needs a whole number, not \"%1\".").arg(text));
            return ExitUsage;
        }
        // As the generator's length field reads it: 0 or less gives 8, at most 999.
        length = passwordLengthFromText(text);
    }
    PasswordClasses classes;
    classes.lowerCase = !invocation.has(QStringLiteral("--no-lower"));
    classes.upperCase = !invocation.has(QStringLiteral("--no-upper"));
    classes.numbers = !invocation.has(QStringLiteral("--no-digits"));
    classes.nonAlpha = !invocation.has(QStringLiteral("--no-other"));
    SystemRandomSource random;
    QByteArray password = generatePassword(length, classes, random);
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
