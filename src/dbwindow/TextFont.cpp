#include "TextFont.h"

#include "platform/CodePage.h"
#include "shell/Settings.h"

#include <QPalette>

namespace TextFont {

QFont fromSettings(const Settings &settings, const QFont &base)
{
    QFont font = base;
    if (!settings.useFontSettings) {
        return font;
    }
    const FontNumbers &numbers = settings.font;
    if (!numbers.name.isEmpty()) {
        font.setFamilies({CodePage::toUnicode(numbers.name)});
    }
    if (settings.useFontHeight && numbers.height != 0) {
        // A negative height is the character height, a positive one the cell height,
        // which holds the internal leading as well.
        const int pixels = numbers.height < 0 ? -numbers.height : numbers.height * 4 / 5;
        font.setPixelSize(std::max(1, pixels));
    }
    if (numbers.pitch == 2) {
        font.setFixedPitch(true);
        font.setStyleHint(QFont::Monospace);
    }
    return font;
}

QColor color(qint32 colorRef, const QPalette &palette)
{
    if (ColorRef::isSystemColor(colorRef)) {
        switch (ColorRef::systemColorIndex(colorRef)) {
        case 5: return palette.color(QPalette::Base);        // window background
        case 15: return palette.color(QPalette::Button);     // button face
        case 18: return palette.color(QPalette::ButtonText); // button text
        default: return palette.color(QPalette::Text);       // window text (8) and the rest
        }
    }
    return QColor::fromRgb(ColorRef::toRgb(colorRef));
}

} // namespace TextFont
