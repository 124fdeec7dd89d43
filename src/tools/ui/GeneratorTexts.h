#pragma once

#include "shell/LanguageSection.h"

// The generator dialog's built-in English texts (section "FrmGen."). "Caption" is the
// window title and also the caption of BtnGenerate.
const LanguageSection &generatorTexts();
