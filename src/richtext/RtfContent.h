#pragma once

#include <QString>

#include <cstdint>
#include <map>
#include <vector>

// What the rich reader keeps of an RTF text: paragraphs of text runs with their formats,
// and the font and colour tables the formats refer to. Plain data, no fonts or colours
// of the GUI, so that code without a QGuiApplication (export, the command-line tool)
// can use it.

struct RtfFont {
    QString family;
    int charset = -1; // \fcharset: 0 is the ANSI character set (Windows-1252); -1 none declared
    int codePage = 0; // \cpg: the code page of the font's text, which wins over charset; 0 none
};

struct RtfColor {
    bool isAuto = true; // an entry without \red \green \blue: the default colour
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend bool operator==(const RtfColor &, const RtfColor &) = default;
};

struct RtfCharFormat {
    int font = -1;        // \fN: the number of an entry of the font table, -1 none
    int halfPoints = 24;  // \fsN
    int color = 0;        // \cfN: index into the colour table (entry 0 is usually "auto")
    int background = 0;   // \highlightN or \cbN: index into the colour table, 0 none
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;

    friend bool operator==(const RtfCharFormat &, const RtfCharFormat &) = default;
};

enum class RtfAlignment : std::uint8_t { Left, Center, Right, Justify };

struct RtfParaFormat {
    RtfAlignment alignment = RtfAlignment::Left;
    int leftIndent = 0;      // twips
    int rightIndent = 0;     // twips
    int firstLineIndent = 0; // twips, relative to the left indent

    friend bool operator==(const RtfParaFormat &, const RtfParaFormat &) = default;
};

// The line break inside a paragraph (\line) is kept as this character in run texts.
inline constexpr char16_t kRtfLineBreak = 0x2028;

struct RtfRun {
    RtfCharFormat format;
    QString text;
};

struct RtfParagraph {
    RtfParaFormat format;
    std::vector<RtfRun> runs;
    // True when a paragraph mark (\par, \row ...) ended it; only the last paragraph of
    // a document can be open.
    bool closed = false;
};

struct RtfContent {
    std::map<int, RtfFont> fonts; // by font number
    std::vector<RtfColor> colors; // index 0 is the first entry of the colour table
    int defaultFont = 0;          // \deffN
    std::vector<RtfParagraph> paragraphs;

    const RtfFont *font(int number) const
    {
        const auto it = fonts.find(number);
        return it == fonts.end() ? nullptr : &it->second;
    }
    // The colour of an index, or nullptr for the default colour.
    const RtfColor *color(int index) const
    {
        if (index < 0 || index >= int(colors.size()) || colors[std::size_t(index)].isAuto) {
            return nullptr;
        }
        return &colors[std::size_t(index)];
    }
};
