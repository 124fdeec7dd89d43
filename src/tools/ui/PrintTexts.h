#pragma once

#include "shell/LanguageSection.h"

// The print preview's built-in English texts (section "FrmPrint."). The zoom and
// navigation buttons show theirs as hints.
const LanguageSection &printTexts();
