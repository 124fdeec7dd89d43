#include "PasswordGenerator.h"

#include "RandomSource.h"

#include <QRegularExpression>

CharacterClass classOf(char byte)
{
    const unsigned char code = static_cast<unsigned char>(byte);
    if (code >= 'a' && code <= 'z') {
        return CharacterClass::LowerCase;
    }
    if (code >= 'A' && code <= 'Z') {
        return CharacterClass::UpperCase;
    }
    if (code >= '0' && code <= '9') {
        return CharacterClass::Digit;
    }
    return CharacterClass::Other;
}

PasswordClasses PasswordClasses::orNumbers() const
{
    PasswordClasses result = *this;
    if (none()) {
        result.numbers = true;
    }
    return result;
}

int passwordLengthFromText(const QString &text)
{
    // Leading blanks, an optional sign and decimal digits, as the old field read it.
    static const QRegularExpression integer(QStringLiteral("^\\s*[+-]?[0-9]+$"));
    if (!integer.match(text).hasMatch()) {
        return DefaultPasswordLength;
    }
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    if (!ok) {
        // More digits than fit: a huge number still means the longest password.
        return text.trimmed().startsWith(QLatin1Char('-')) ? DefaultPasswordLength : MaxPasswordLength;
    }
    if (value <= 0) {
        return DefaultPasswordLength;
    }
    return int(qMin<qlonglong>(value, MaxPasswordLength));
}

QByteArray passwordPool(const PasswordClasses &classes)
{
    const PasswordClasses used = classes.orNumbers();
    QByteArray pool;
    if (used.lowerCase) {
        pool += PasswordPools::LowerCase;
    }
    if (used.upperCase) {
        pool += PasswordPools::UpperCase;
    }
    if (used.numbers) {
        pool += PasswordPools::Digits;
    }
    if (used.nonAlpha) {
        pool += QByteArray(PasswordPools::Other, sizeof PasswordPools::Other - 1);
    }
    return pool;
}

QByteArray generatePassword(int length, const PasswordClasses &classes, RandomSource &source)
{
    if (length <= 0) {
        length = DefaultPasswordLength;
    }
    length = qMin(length, MaxPasswordLength);
    const PasswordClasses used = classes.orNumbers();
    const QByteArray pool = passwordPool(used);
    QByteArray password(length, '\0');
    do {
        for (char &c : password) {
            c = pool.at(source.index(quint32(pool.size())));
        }
    } while (!matchesClasses(password, used));
    return password;
}

bool matchesClasses(QByteArrayView password, const PasswordClasses &classes)
{
    if (password.size() <= 4) {
        return true;
    }
    bool seen[4] = {false, false, false, false};
    for (char c : password) {
        seen[int(classOf(c))] = true;
    }
    return seen[int(CharacterClass::LowerCase)] == classes.lowerCase
        && seen[int(CharacterClass::UpperCase)] == classes.upperCase
        && seen[int(CharacterClass::Digit)] == classes.numbers
        && seen[int(CharacterClass::Other)] == classes.nonAlpha;
}
