#include "ScreenEnvironment.h"

#include "platform/CodePage.h"

#include <QFont>
#include <QFontInfo>
#include <QScreen>

SettingsEnvironment settingsEnvironmentFor(const QScreen *screen, const QFont &font)
{
    SettingsEnvironment env;
    if (screen) {
        env.pixelsPerInch = qRound(screen->logicalDotsPerInch());
        const QRect area = screen->availableGeometry();
        env.screenLeft = area.left();
        env.screenTop = area.top();
        env.screenWidth = area.width();
        env.screenHeight = area.height();
    }
    const QFontInfo info(font);
    bool ok = false;
    env.baseFont.name = CodePage::fromUnicode(info.family(), &ok);
    if (!ok) {
        env.baseFont.name = "Sans Serif"; // a family the code page cannot carry is not stored altered
    }
    env.baseFont.color = 0;
    env.baseFont.charset = 1;
    const int points = info.pointSize() > 0 ? info.pointSize() : 9;
    env.baseFont.height = FontNumbers::heightFromSize(points, env.pixelsPerInch);
    env.baseFont.size = points;
    env.baseFont.pitch = info.fixedPitch() ? 2 : 0;
    return env;
}
