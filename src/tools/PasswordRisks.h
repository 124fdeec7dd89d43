#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

class LanguageStore;

// The password rating: the list of rules the password fails, one line each ending in
// CR LF, in the order length (under 8), numbers, non-alphanumeric characters,
// uppercase, lowercase. A password that fails none is rated secure (a single line
// without a line end); an empty one "not set yet". Texts come from the properties
// dialog's section ("FrmProp.") of the current language.
QByteArray passwordRisks(QByteArrayView password, const LanguageStore &language);

// The rules of the rating, in the order above, and those a non-empty password fails (none:
// rated secure). The language key of each rule's text is riskTextKey(risk).
enum class PasswordRisk { Length, Numbers, NonAlpha, UpperCase, LowerCase };
QList<PasswordRisk> passwordRiskList(QByteArrayView password);
const char *riskTextKey(PasswordRisk risk);
