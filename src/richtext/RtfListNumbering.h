#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// The old paragraph numbering of RTF ({\*\pn ...}): a writer that also gives the text of
// the bullet or number (\pntext) needs none of this; for one that does not, the reader
// builds that text itself, as a word processor shows it: the text before (\pntxtb),
// the number, the text after (\pntxta), then a tab.

enum class RtfListLevel : std::uint8_t {
    Body,     // \pnlvlbody: a simple numbered list
    Outline,  // \pnlvlN: level N (1-9) of an outline
    Bullet,   // \pnlvlblt: a bullet, no number
    Continue, // \pnlvlcont: a paragraph inside an item, no bullet or number
};

enum class RtfListStyle : std::uint8_t { Decimal, UpperLetter, LowerLetter, UpperRoman, LowerRoman };

struct RtfListNumbering {
    RtfListLevel level = RtfListLevel::Body;
    int outlineLevel = 1; // 1-9, for RtfListLevel::Outline
    RtfListStyle style = RtfListStyle::Decimal;
    int start = 1;        // \pnstartN
    int font = -1;        // \pnfN: the font of the bullet or number, -1 the paragraph's
    QString before;
    QString after;

    friend bool operator==(const RtfListNumbering &, const RtfListNumbering &) = default;
};

// A number as a list style writes it. Letters run A-Z, then AA, BB ... (up to 26 times
// the letter); Roman numerals go up to 3999; beyond those, and for 0 and below, the
// number is written in decimal digits.
QString rtfListNumberText(int number, RtfListStyle style);

// Numbers the paragraphs of a document in their order. Numbering runs on through
// consecutive numbered paragraphs (continuation paragraphs included); a paragraph
// without numbering ends it, and the next numbered paragraph starts again at its start
// value. A level counts on from its last number while its style and start value stay
// the same (other ones make a new list); an outline level restarts the levels below it.
class RtfListCounter
{
public:
    // The bullet or number text of the next paragraph with this numbering; empty for a
    // continuation paragraph.
    QString markerOf(const RtfListNumbering &numbering);
    void paragraphWithoutNumbering() { m_running = false; }

private:
    struct Counter {
        int number;
        RtfListStyle style;
        int start;
    };
    std::array<std::optional<Counter>, 10> m_counters; // index 0 the body level, 1-9 outline
    bool m_running = false;
};
