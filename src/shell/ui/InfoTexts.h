#pragma once

#include "shell/LanguageSection.h"
#include "shell/Version.h"

// The information window's built-in English texts (section "FrmInfo."). A language
// file names its translators in "LblCredits".
const LanguageSection &infoWindowTexts();

// The maker's web site, shown as a link by the information window.
inline constexpr char MakerSite[] = "https://www.brightway.example";
