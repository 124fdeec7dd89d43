#include "GeneratedPassword.h"

#include "Command.h"
#include "Console.h"
#include "ExitCode.h"

#include "tools/PasswordGenerator.h"
#include "tools/RandomSource.h"

std::optional<QByteArray> generatedPassword(const Invocation &invocation, int &status)
{
    status = ExitOk;
    int length = DefaultPasswordLength;
    if (invocation.has(QStringLiteral("--length"))) {
        const QString text = invocation.value(QStringLiteral("--length"));
        bool isNumber = false;
        text.trimmed().toLongLong(&isNumber);
        if (!isNumber) {
            Console::error(QStringLiteral("--length needs a whole number, not \"%1\".").arg(text));
            status = ExitUsage;
            return std::nullopt;
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
    return generatePassword(length, classes, random);
}
