#pragma once

#include <QByteArray>
#include <QtGlobal>

// Colours in the settings file are Windows COLORREF numbers, 0x00BBGGRR, so a file
// written on either side reads back the same. A number whose high byte is 0xFF names a
// system colour by its index instead (the window-text colour is index 8).
namespace ColorRef {

inline constexpr qint32 WindowText = qint32(0xFF000008u);
inline constexpr qint32 White = 0x00FFFFFF;

constexpr bool isSystemColor(qint32 value)
{
    return (quint32(value) & 0xFF000000u) == 0xFF000000u;
}

constexpr int systemColorIndex(qint32 value)
{
    return int(quint32(value) & 0xFFu);
}

// 0xRRGGBB of a plain COLORREF (the high byte is ignored).
constexpr quint32 toRgb(qint32 value)
{
    const quint32 v = quint32(value);
    return ((v & 0xFFu) << 16) | (v & 0xFF00u) | ((v >> 16) & 0xFFu);
}

constexpr qint32 fromRgb(quint32 rgb)
{
    return qint32(((rgb & 0xFFu) << 16) | (rgb & 0xFF00u) | ((rgb >> 16) & 0xFFu));
}

} // namespace ColorRef

// The text font as the settings file stores it: the Windows-side numbers, kept as read
// so that they are written back unchanged. The windows turn them into a QFont.
struct FontNumbers
{
    QByteArray name;
    qint32 color = 0;   // COLORREF or system colour, see ColorRef
    qint32 charset = 1; // LOGFONT character set; 1 is the default set
    qint32 height = 0;  // negative: character height in pixels; positive: cell height
    qint32 pitch = 0;   // 0 default, 1 variable, 2 fixed
    qint32 size = 0;    // point size; written as "FontDefSize", never read

    bool operator==(const FontNumbers &) const = default;

    // Point size and height at a given pixels-per-inch, rounded as Windows' MulDiv.
    static int sizeFromHeight(int height, int pixelsPerInch);
    static int heightFromSize(int size, int pixelsPerInch);
};
