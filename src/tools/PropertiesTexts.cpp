#include "PropertiesTexts.h"

namespace {

constexpr LanguageText kPropertiesTexts[] = {
    {"Caption", "Properties"},
    {"LblFilename", "Filename"},
    {"LblPath", "Folder"},
    {"LblFilesize", "Filesize"},
    {"LblFiledate", "Filedate"},
    {"LblAllItems", "Number of all items"},
    {"LblFolderItems", "Number of folder items"},
    {"LblKeyItems", "Number of key items"},
    {"LblEntryItems", "Number of entry items"},
    {"LblFileItems", "Number of file items"},
    {"LblTableItems", "Number of table items"},
    {"LblPasswordLen", "Password length"},
    {"LblPasswordRisk", "Potential password risks"},
    {"BtnCopy", "Copy"},
    {"BtnOK", "OK"},
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
