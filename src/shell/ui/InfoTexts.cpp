#include "InfoTexts.h"

namespace {

constexpr LanguageText kTexts[] = {
    {"Caption", "Info"},
    {"LblDescription",
     "A password manager for one user: passwords, PINs, notes, tables and whole files in a tree of elements, kept "
     "in one database file encrypted with the Blowfish cipher."},
    {"LblCreditsTitle", "Translations"},
    {"LblCredits", "English texts built in."},
    {"LblHomepage", "Visit the maker's web site"},
    {"BtnOK", "OK"},
};

constexpr LanguageSection kSection{"FrmInfo.", kTexts};

} // namespace

const LanguageSection &infoWindowTexts()
{
    return kSection;
}
