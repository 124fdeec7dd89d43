#pragma once

#include "RtfSymbolFonts.h"

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

#include <map>
#include <memory>

// Code pages of RTF text. Bytes in Windows-1252 are decoded by the program's own codec
// (platform/CodePage.h); the other code pages through QStringDecoder, which reaches
// them through ICU (as Debian's Qt is built). A code page ICU does not offer is read in
// the nearest Windows code page (Mac Japanese as Shift-JIS, Mac Korean as Windows-949
// ...); one with neither is read as Windows-1252.
namespace RtfCharsets {

inline constexpr int SymbolCodePage = 42; // the number Windows gives the symbol code page

// The code page of a font character set (\fcharsetN): 0 ANSI -> 1252, 1 default and
// a font that declares none (a negative charset) -> the document's \ansicpg, 2 symbol
// -> SymbolCodePage, 77-89 the Mac character sets (Roman 10000, Japanese 10001, Korean
// 10003, simplified Chinese 10008, traditional Chinese 10002, Hebrew 10005, Arabic
// 10004, Greek 10006, Turkish 10081, Thai 10021, Central European 10029, Cyrillic
// 10007), 128 Shift-JIS -> 932, 129 Hangul -> 949, 130 Johab -> 1361, 134 GB2312 ->
// 936, 136 Big5 -> 950, 161 Greek -> 1253, 162 Turkish -> 1254, 163 Vietnamese -> 1258,
// 177 Hebrew -> 1255, 178 Arabic -> 1256, 186 Baltic -> 1257, 204 Cyrillic -> 1251,
// 222 Thai -> 874, 238 Eastern European -> 1250, 255 OEM -> 437. Any other character
// set reads as the document's code page.
int codePageOf(int charset, int documentCodePage);

// The name QStringDecoder knows a code page by, or nullptr when ICU has no decoder for it.
const char *decoderName(int codePage);

// The Windows code page read instead of one that has no decoder, or 0 when there is none.
int fallbackOf(int codePage);

} // namespace RtfCharsets

// How the bytes of a font are read: in a code page, or (symbols not None) as the codes
// of a symbol font.
struct RtfFontEncoding {
    int codePage = 1252;
    RtfSymbolFont symbols = RtfSymbolFont::None;

    friend bool operator==(const RtfFontEncoding &, const RtfFontEncoding &) = default;
};

// Decodes byte runs of one encoding at a time; keeps one decoder per code page.
class RtfTextDecoder
{
public:
    // Appends the characters of bytes to out; a double-byte code page needs both
    // bytes of a character in one call.
    void decode(QByteArrayView bytes, RtfFontEncoding encoding, QString &out);

private:
    QStringDecoder *decoderFor(int codePage);

    std::map<int, std::unique_ptr<QStringDecoder>> m_decoders;
};
