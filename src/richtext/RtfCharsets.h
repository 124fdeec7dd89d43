#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

#include <map>
#include <memory>

// Code pages of the font character sets (\fcharsetN) that RTF writers use. Bytes in
// Windows-1252 are decoded by the program's own codec (platform/CodePage.h); the other
// code pages through QStringDecoder, which reaches them when Qt is built with ICU (as
// Debian's Qt is). A code page that cannot be had is read as Windows-1252.
namespace RtfCharsets {

inline constexpr int SymbolCodePage = 42; // the number Windows gives the symbol code page

// The Windows code page of a font character set: 0 ANSI -> 1252, 1 default -> the
// document's \ansicpg, 2 symbol -> SymbolCodePage (Windows-1252, except that 0xB7,
// the Symbol font's bullet that rich edits write before list items, reads as U+2022),
// 77 Mac Roman -> 10000, 128 Shift-JIS -> 932, 129 Hangul -> 949, 130 Johab -> 1361,
// 134 GB2312 -> 936, 136 Big5 -> 950, 161 Greek -> 1253, 162 Turkish -> 1254,
// 163 Vietnamese -> 1258, 177 Hebrew -> 1255, 178 Arabic -> 1256, 186 Baltic -> 1257,
// 204 Cyrillic -> 1251, 222 Thai -> 874, 238 Eastern European -> 1250, 255 OEM -> 437.
// Any other character set reads as the document's code page (\ansicpgN; 65001 is UTF-8).
int codePageOf(int charset, int documentCodePage);

// The name QStringDecoder knows a Windows code page by, or nullptr when it has none here.
const char *decoderName(int codePage);

} // namespace RtfCharsets

// Decodes byte runs of one code page at a time; keeps one decoder per code page.
class RtfTextDecoder
{
public:
    // Appends the characters of bytes to out; a double-byte code page needs both
    // bytes of a character in one call.
    void decode(QByteArrayView bytes, int codePage, QString &out);

private:
    QStringDecoder *decoderFor(int codePage);

    std::map<int, std::unique_ptr<QStringDecoder>> m_decoders;
};
