#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The small RTF reader the database window uses when "RichText" is off: it keeps the
// readable characters of a stored text and drops the markup. It works on the stored
// Windows-1252 bytes and gives bytes back; it knows only a fixed keyword table, so
// \line, \uN characters, tables and most special characters are not rendered (the rich
// reader in RtfParser.h is the one that shows what a rich edit shows).
//
// Bounds: a control word is read up to 32 letters; the letters beyond are consumed and
// the word counts as unknown (so after "\*" it still makes its group a skipped
// destination). A numeric parameter is read up to 10 digits; further digits are
// consumed and the value saturates at the 32-bit range. The group stack lives on the
// heap (two bytes per open group), so its depth is bounded only by the input length;
// if memory for a group cannot be had the result is RtfNoMemoryForGroup.
// "\binN" with N <= 0 starts no binary input; with N beyond the text the rest of the
// text is taken as binary bytes and the conversion ends at the end of the text.
enum RtfToTextCode : int {
    RtfOk = 0,
    RtfTooManyClosingBraces = 1,
    RtfNoMemoryForGroup = 2,
    RtfGroupLeftOpen = 3,
    RtfInvalidHexDigit = 4,
    RtfImpossibleTableEntry = 5,
    RtfImpossibleInputState = 6,
    RtfEndInsideControlWord = 7,
    RtfNotRichText = 8,
};

struct RtfToTextResult {
    int code = RtfOk;
    // The plain text for RtfOk and RtfNotRichText (then the input unchanged); empty for
    // every error, since an error discards the output collected so far.
    QByteArray text;

    bool usable() const { return code == RtfOk || code == RtfNotRichText; }
};

RtfToTextResult rtfToText(const QByteArray &text);
RtfToTextResult rtfToText(const char *text, qsizetype length);
