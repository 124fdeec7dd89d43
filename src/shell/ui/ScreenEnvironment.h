#pragma once

#include "shell/Settings.h"

class QFont;
class QScreen;

// What the settings' defaults depend on, taken from the screen the program starts on
// and the application font (the base of the text font).
SettingsEnvironment settingsEnvironmentFor(const QScreen *screen, const QFont &font);
