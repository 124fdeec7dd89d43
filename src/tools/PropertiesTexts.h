#pragma once

#include "shell/LanguageSection.h"

// The properties dialog's built-in English texts (section "FrmProp."), among them the
// lines of the password rating that the password dialog shows as well.
const LanguageSection &propertiesTexts();
