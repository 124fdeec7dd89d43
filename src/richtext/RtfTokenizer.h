#pragma once

#include <QByteArrayView>

#include <cstdint>

// Splits RTF bytes into tokens for the rich reader. Never reads past the end: a text
// cut inside a control word simply ends.
//
// Bounds (the same as rtfToText's): a control word keeps up to 32 letters; longer words
// are consumed whole and come back with overLong set and an empty word, so they match
// no keyword. A parameter keeps up to 10 digits; further digits are consumed and the
// value saturates at +/-2147483647. "\binN" gives one Binary token of the next N bytes
// (fewer at the end of the text); N <= 0 gives the word "bin" and takes no byte.
struct RtfToken {
    enum Kind : std::uint8_t {
        End,
        GroupStart,
        GroupEnd,
        Word,    // a control word: word, hasParam, param, overLong
        Symbol,  // a control symbol: symbol ("\~", "\*", "\{" ...); "\'" without two hex digits too
        Hex,     // "\'hh": byte
        Text,    // a run of ordinary bytes (CR and LF already dropped): bytes
        Binary,  // the data of "\binN": bytes
    };

    Kind kind = End;
    bool hasParam = false;
    bool overLong = false;
    char symbol = 0;
    unsigned char byte = 0;
    int param = 0;
    QByteArrayView word;
    QByteArrayView bytes;
};

class RtfTokenizer
{
public:
    explicit RtfTokenizer(QByteArrayView input) : m_data(input) {}

    RtfToken next();
    qsizetype position() const { return m_pos; }

private:
    RtfToken controlWord();
    RtfToken text();

    QByteArrayView m_data;
    qsizetype m_pos = 0;
};

// Letters of control words: ASCII letters and, as rtfToText reads them, bytes 0xC0-0xFF.
inline bool isRtfLetter(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0xC0;
}
