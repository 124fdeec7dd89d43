#pragma once

#include "shell/LanguageSection.h"

// The password dialog's built-in English texts (section "FrmPasswd.").
const LanguageSection &passwordTexts();
