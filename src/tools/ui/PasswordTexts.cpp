#include "PasswordTexts.h"

namespace {

constexpr LanguageText kPasswordTexts[] = {
    {"Caption", "Password"},
    {"LblPassword", "Password"},
    {"LblConfirmation", "Confirmation"},
    {"LblSecure", "How secure is my password?"},
    {"LblGenerate", "Generate"},
    {"m_aMNoMatch", "Password and confirmation do not match! Please correct your input!"},
    {"BtnCancel", "Cancel"},
    {"BtnOK", "OK"},
    // Key files that cannot be read or written are reported instead of passing silently.
    {"m_aMKeyFileUnreadable", "The key file could not be read."},
    {"m_aMKeyFileUnwritable", "The key file could not be written."},
};

constexpr LanguageSection kPasswordSection{"FrmPasswd.", kPasswordTexts};

} // namespace

const LanguageSection &passwordTexts()
{
    return kPasswordSection;
}
