#pragma once

#include <QColor>
#include <QFont>

class QPalette;
struct Settings;

// The configured text font and the settings' colours as Qt sees them.
namespace TextFont {

// The base font (the main window's) with the settings' font applied: when
// "UseFontSettings" is on, its name, and its height when "UseFontHeight" is on too,
// and a fixed pitch as the fixed-pitch hint.
QFont fromSettings(const Settings &settings, const QFont &base);

// A COLORREF (0x00BBGGRR) as a colour; a system colour index takes the palette's colour
// for it (the window-text colour for anything not known).
QColor color(qint32 colorRef, const QPalette &palette);

} // namespace TextFont
