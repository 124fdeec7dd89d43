#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class RandomSource;

// The four character classes of generated and rated passwords, by single-byte code.
enum class CharacterClass { LowerCase, UpperCase, Digit, Other };
CharacterClass classOf(char byte);

// The pools the working pool is joined from, in joining order: lowercase, uppercase,
// digits, other. The order inside each string matters: an index picks the character.
namespace PasswordPools {
inline constexpr char LowerCase[] = "jklmnopqrstuvwabcdefghixyz";
inline constexpr char UpperCase[] = "ZYQPONMDXWLKJIHGFEVUTSRCBA";
inline constexpr char Digits[] = "5978301264";
// 29 single bytes of the code page, the section sign (A7), the degree sign (B0) and the
// space among them.
inline constexpr char Other[] = ",.-_\"+*?/!\xA7)[$%&(;:}^#']={\xB0~ ";
} // namespace PasswordPools

// Which classes the generator uses (the generator dialog's check boxes).
struct PasswordClasses
{
    bool numbers = true;
    bool upperCase = true;
    bool lowerCase = true;
    bool nonAlpha = true;

    bool none() const { return !numbers && !upperCase && !lowerCase && !nonAlpha; }
    // With no class chosen the generator uses numbers.
    PasswordClasses orNumbers() const;
    bool operator==(const PasswordClasses &) const = default;
};

inline constexpr int DefaultPasswordLength = 8;
inline constexpr int MaxPasswordLength = 999;

// The length a length field asks for: its decimal value; text that is not an integer,
// zero and negative numbers give 8, and nothing is longer than 999.
int passwordLengthFromText(const QString &text);

// The working pool of the chosen classes (numbers only when none is chosen).
QByteArray passwordPool(const PasswordClasses &classes);

// A random password of `length` characters (8 for zero or less, at most 999) from the
// pool of the chosen classes, drawn again until matchesClasses accepts it.
QByteArray generatePassword(int length, const PasswordClasses &classes, RandomSource &source);

// Accepts any password of up to 4 characters; a longer one only when each class occurs
// in it exactly when it is chosen.
bool matchesClasses(QByteArrayView password, const PasswordClasses &classes);
