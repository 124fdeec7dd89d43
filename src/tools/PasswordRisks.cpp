#include "PasswordRisks.h"

#include "PasswordGenerator.h"
#include "PropertiesTexts.h"
#include "shell/LanguageStore.h"

QByteArray passwordRisks(QByteArrayView password, const LanguageStore &language)
{
    const LanguageSection &texts = propertiesTexts();
    if (password.isEmpty()) {
        return language.text(texts, "m_aMPwdNotSet");
    }
    bool seen[4] = {false, false, false, false};
    for (char c : password) {
        seen[int(classOf(c))] = true;
    }
    const struct
    {
        bool fails;
        const char *key;
    } rules[] = {
        {password.size() < 8, "m_aMPwdLength"},
        {!seen[int(CharacterClass::Digit)], "m_aMPwdNumbers"},
        {!seen[int(CharacterClass::Other)], "m_aMPwdNonAlpha"},
        {!seen[int(CharacterClass::UpperCase)], "m_aMPwdUppercase"},
        {!seen[int(CharacterClass::LowerCase)], "m_aMPwdLowercase"},
    };
    QByteArray result;
    for (const auto &rule : rules) {
        if (rule.fails) {
            result += language.text(texts, rule.key) + "\r\n";
        }
    }
    return result.isEmpty() ? language.text(texts, "m_aMPwdSecure") : result;
}
