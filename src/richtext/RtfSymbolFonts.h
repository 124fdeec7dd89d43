#pragma once

#include <QByteArrayView>
#include <QString>

#include <cstdint>

// The symbol fonts whose characters RTF writers store as bytes of the symbol character
// set (\fcharset2) or as code points U+F020-U+F0FF (\u-4064 to \u-3841): the code of a
// character in the font, not a Unicode character. The reader turns the codes of the
// Symbol and Wingdings fonts into the Unicode characters they show.
enum class RtfSymbolFont : std::uint8_t {
    None,      // a text font
    Symbol,    // the Symbol font: Greek letters, mathematical signs, bullets, arrows
    Wingdings, // the Wingdings font: bullets, arrows, boxes, check marks, circled digits
    Other,     // another font of the symbol character set (Webdings, Marlett ...): no table
};

namespace RtfSymbolFonts {

inline constexpr char32_t PrivateUseBase = 0xF000;

// The symbol font a font is: Symbol and Wingdings by their family, whatever their
// character set; any other font of the symbol character set (2) is Other.
RtfSymbolFont fontOf(const QString &family, int charset);

// The Unicode character that code (0x20-0xFF) shows in font, or 0 when it has none here
// (a code of an Other font, or one of the rarer pictures of Wingdings).
char32_t characterOf(RtfSymbolFont font, unsigned char code);

// A \uN code point as the font shows it: in the Symbol and Wingdings fonts U+F020-U+F0FF
// become the character they show; everything else, and every code point in another
// font (icon fonts put their pictures there too), stays as it is.
char32_t unicodeOf(RtfSymbolFont font, char32_t codePoint);

// Appends the characters of bytes written in a symbol font: each byte from 0x20 up is
// its character in the font, or U+F000 + the byte when the font has none; lower bytes
// stay as they are.
void appendBytes(RtfSymbolFont font, QByteArrayView bytes, QString &out);

} // namespace RtfSymbolFonts
