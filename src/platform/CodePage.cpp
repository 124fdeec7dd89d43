#include "CodePage.h"

#include <array>

namespace {

// Windows-1252 bytes 0x80-0x9F; the other bytes equal their Unicode code point.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

namespace CodePage {

QChar toUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F) {
        return QChar(kHighControls[byte - 0x80]);
    }
    return QChar(char16_t(byte));
}

QString toUnicode(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char c : bytes) {
        *out++ = toUnicode(static_cast<unsigned char>(c));
    }
    return text;
}

int byteFor(char16_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) {
        return ch;
    }
    for (int i = 0; i < int(kHighControls.size()); ++i) {
        if (kHighControls[i] == ch) {
            return 0x80 + i;
        }
    }
    return -1;
}

QByteArray fromUnicode(const QString &text, bool *ok, qsizetype *firstBad)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int b = byteFor(text.at(i).unicode());
        if (b < 0) {
            if (ok) {
                *ok = false;
            }
            if (firstBad) {
                *firstBad = i;
            }
            return {};
        }
        bytes[i] = char(b);
    }
    if (ok) {
        *ok = true;
    }
    if (firstBad) {
        *firstBad = -1;
    }
    return bytes;
}

bool canEncode(const QString &text, qsizetype *firstBad)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (byteFor(text.at(i).unicode()) < 0) {
            if (firstBad) {
                *firstBad = i;
            }
            return false;
        }
    }
    if (firstBad) {
        *firstBad = -1;
    }
    return true;
}

} // namespace CodePage
