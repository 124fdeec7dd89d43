#pragma once

#include "shell/LanguageSection.h"

// The database window's built-in English texts (section "FrmChild."): its menu items,
// pop-up items, controls and messages. The words every window shares ("New key",
// "Duplicate entry name: ", the close question ...) are the main window's.
const LanguageSection &childWindowTexts();
