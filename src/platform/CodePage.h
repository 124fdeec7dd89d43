#pragma once

#include <QByteArray>
#include <QString>

// The one place where the program's 8-bit texts (Windows-1252 bytes, as stored in
// databases, settings and language files) become Unicode and back. Every byte 0x00-0xFF
// round-trips; the five bytes Windows-1252 leaves undefined map to the C1 controls of
// the same value, as Windows does.
namespace CodePage {

QString toUnicode(const QByteArray &bytes);
QChar toUnicode(unsigned char byte);

// Encodes text; characters the code page cannot carry make the result empty and set
// *ok to false (when given), and *firstBad to the index of the first such character.
QByteArray fromUnicode(const QString &text, bool *ok = nullptr, qsizetype *firstBad = nullptr);

bool canEncode(const QString &text, qsizetype *firstBad = nullptr);

// The byte for one character, or -1 when the code page has none.
int byteFor(char16_t ch);

} // namespace CodePage
