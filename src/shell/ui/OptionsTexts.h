#pragma once

#include "shell/LanguageSection.h"

// The options dialog's built-in English texts (section "FrmOpt."): its controls, the
// hints of its small buttons and its messages.
const LanguageSection &optionsTexts();
