#pragma once

#include "shell/LanguageSection.h"

// Messages of the main window beyond the words every window shares (section
// "FrmMain."): why a picked file does not open.
const LanguageSection &openMessageTexts();
