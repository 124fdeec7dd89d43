#include "PasswordRisks.h"

#include "PasswordGenerator.h"
#include "PropertiesTexts.h"
#include "shell/LanguageStore.h"

QList<PasswordRisk> passwordRiskList(QByteArrayView password)
{
    bool seen[4] = {false, false, false, false};
    for (char c : password) {
        seen[int(classOf(c))] = true;
    }
    const struct
    {
        bool fails;
        PasswordRisk risk;
    } rules[] = {
        {password.size() < 8, PasswordRisk::Length},
        {!seen[int(CharacterClass::Digit)], PasswordRisk::Numbers},
        {!seen[int(CharacterClass::Other)], PasswordRisk::NonAlpha},
        {!seen[int(CharacterClass::UpperCase)], PasswordRisk::UpperCase},
        {!seen[int(CharacterClass::LowerCase)], PasswordRisk::LowerCase},
    };
    QList<PasswordRisk> risks;
    for (const auto &rule : rules) {
        if (rule.fails) {
            risks += rule.risk;
        }
    }
    return risks;
}

const char *riskTextKey(PasswordRisk risk)
{
    switch (risk) {
    case PasswordRisk::Length: return "m_aMPwdLength";
    case PasswordRisk::Numbers: return "m_aMPwdNumbers";
    case PasswordRisk::NonAlpha: return "m_aMPwdNonAlpha";
    case PasswordRisk::UpperCase: return "m_aMPwdUppercase";
    case PasswordRisk::LowerCase: break;
    }
    return "m_aMPwdLowercase";
}

QByteArray passwordRisks(QByteArrayView password, const LanguageStore &language)
{
    const LanguageSection &texts = propertiesTexts();
    if (password.isEmpty()) {
        return language.text(texts, "m_aMPwdNotSet");
    }
    QByteArray result;
    for (PasswordRisk risk : passwordRiskList(password)) {
        result += language.text(texts, riskTextKey(risk)) + "\r\n";
    }
    return result.isEmpty() ? language.text(texts, "m_aMPwdSecure") : result;
}
