#pragma once

#include "shell/LanguageSection.h"

// The sort dialog's built-in English texts (section "FrmSort."); "Caption" is its title.
const LanguageSection &sortDialogTexts();
