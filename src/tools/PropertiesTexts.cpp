#include "PropertiesTexts.h"

namespace {

constexpr LanguageText kPropertiesTexts[] = {
    // Password rating lines.
    {"m_aMPwdNotSet", "- Password is not set yet."},
    {"m_aMPwdLength", "- length is less than 8 characters"},
    {"m_aMPwdNumbers", "- no numbers"},
    {"m_aMPwdNonAlpha", "- no non alphanumeric characters (e.g. #,@,$)"},
    {"m_aMPwdUppercase", "- no uppercase characters"},
    {"m_aMPwdLowercase", "- no lowercase characters"},
    {"m_aMPwdSecure", "- password seems to be secure"},
};

constexpr LanguageSection kPropertiesSection{"FrmProp.", kPropertiesTexts};

} // namespace

const LanguageSection &propertiesTexts()
{
    return kPropertiesSection;
}
