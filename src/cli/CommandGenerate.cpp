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

int runGenerate(const Invocation &invocation)
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
