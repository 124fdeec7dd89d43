#pragma once

#include "shell/LanguageSection.h"

// The information window's built-in English texts (section "FrmInfo."). A language
// file names its translators in "LblCredits".
const LanguageSection &infoWindowTexts();

// The program's name as the windows show it.
inline constexpr char ProgramName[] = "Brightway Vaultbase";
// The maker's web site, shown as a link by the information window.
inline constexpr char MakerSite[] = "https://www.brightway.example";
