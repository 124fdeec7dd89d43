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
    {"LblSecure", "How secure is my password?"},
    {"BtnCopy", "Copy"},
    {"BtnCancelChecksum", "Cancel"},
    {"BtnOK", "OK"},
    // Password rating lines.
    {"m_aMPwdNotSet", "- Password is not set yet."},
    {"m_aMPwdLength", "- length is less than 8 characters"},
    {"m_aMPwdNumbers", "- no numbers"},
    {"m_aMPwdNonAlpha", "- no non alphanumeric characters (e.g. #,@,$)"},
    {"m_aMPwdUppercase", "- no uppercase characters"},
    {"m_aMPwdLowercase", "- no lowercase characters"},
    {"m_aMPwdSecure", "- password seems to be secure"},
    {"m_aMPwdRule", "A password seems to be secure when it has at least 8 characters and holds numbers, "
                    "uppercase, lowercase and non alphanumeric characters (e.g. #,@,$)."},
};

constexpr LanguageSection kPropertiesSection{"FrmProp.", kPropertiesTexts};

} // namespace

const LanguageSection &propertiesTexts()
{
    return kPropertiesSection;
}
