#include "RtfToText.h"

#include <array>
#include <climits>
#include <cstdint>
#include <new>
#include <string_view>
#include <vector>

namespace {

constexpr int kMaxWordLetters = 32;
constexpr int kMaxParamDigits = 10;

enum class KeywordClass : std::uint8_t { Character, Destination, Special, Property };
enum class Special : std::uint8_t { None, Bin, SkipDest, Hex };

struct Keyword {
    std::string_view word;
    KeywordClass cls;
    char character = 0; // output of a character keyword
    Special special = Special::None;
};

using K = KeywordClass;

// The keyword table, searched in this order.
constexpr Keyword kKeywords[] = {
    {"par", K::Character, '\n'},
    {"tab", K::Character, '\t'},
    {"ldblquote", K::Character, '"'},
    {"rdblquote", K::Character, '"'},
    {"{", K::Character, '{'},
    {"}", K::Character, '}'},
    {"\\", K::Character, '\\'},
    {"author", K::Destination},
    {"buptim", K::Destination},
    {"colortbl", K::Destination},
    {"comment", K::Destination},
    {"creatim", K::Destination},
    {"doccomm", K::Destination},
    {"fonttbl", K::Destination},
    {"footer", K::Destination},
    {"footerf", K::Destination},
    {"footerl", K::Destination},
    {"footerr", K::Destination},
    {"footnote", K::Destination},
    {"ftncn", K::Destination},
    {"ftnsep", K::Destination},
    {"ftnsepc", K::Destination},
    {"header", K::Destination},
    {"headerf", K::Destination},
    {"headerl", K::Destination},
    {"headerr", K::Destination},
    {"info", K::Destination},
    {"keywords", K::Destination},
    {"operator", K::Destination},
    {"pict", K::Destination},
    {"printim", K::Destination},
    {"private1", K::Destination},
    {"revtim", K::Destination},
    {"rxe", K::Destination},
    {"stylesheet", K::Destination},
    {"subject", K::Destination},
    {"tc", K::Destination},
    {"title", K::Destination},
    {"txe", K::Destination},
    {"xe", K::Destination},
    {"bin", K::Special, 0, Special::Bin},
    {"*", K::Special, 0, Special::SkipDest},
    {"'", K::Special, 0, Special::Hex},
    {"b", K::Property},
    {"u", K::Property},
    {"i", K::Property},
    {"li", K::Property},
    {"ri", K::Property},
    {"fi", K::Property},
    {"cols", K::Property},
    {"sbknone", K::Property},
    {"sbkcol", K::Property},
    {"sbkeven", K::Property},
    {"sbkodd", K::Property},
    {"sbkpage", K::Property},
    {"pgnx", K::Property},
    {"pgny", K::Property},
    {"pgndec", K::Property},
    {"pgnucrm", K::Property},
    {"pgnlcrm", K::Property},
    {"pgnucltr", K::Property},
    {"pgnlcltr", K::Property},
    {"qc", K::Property},
    {"ql", K::Property},
    {"qr", K::Property},
    {"qj", K::Property},
    {"paperw", K::Property},
    {"paperh", K::Property},
    {"margl", K::Property},
    {"margr", K::Property},
    {"margt", K::Property},
    {"margb", K::Property},
    {"pgnstart", K::Property},
    {"facingp", K::Property},
    {"landscape", K::Property},
};

const Keyword *findKeyword(std::string_view word)
{
    for (const Keyword &k : kKeywords) {
        if (k.word.size() == word.size() && k.word[0] == word[0] && k.word == word) {
            return &k;
        }
    }
    return nullptr;
}

bool isLetter(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0xC0;
}

bool isDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(unsigned char c)
{
    if (isDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

enum class Dest : std::uint8_t { Normal, Skip };
enum class Input : std::uint8_t { Normal, Binary, Hex };

struct Saved {
    Dest dest;
    Input input;
};

// One conversion; every field starts from its initial value for each text.
class Reader
{
public:
    Reader(const unsigned char *data, qsizetype size) : m_data(data), m_size(size) {}

    int run();
    QByteArray takeOutput() { return std::move(m_output); }

private:
    int getByte() { return m_pos < m_size ? m_data[m_pos++] : -1; }
    void ungetByte() { --m_pos; }

    int pushGroup();
    int popGroup();
    int parseControlWord();
    int translate(std::string_view word, long long param, bool hasParam);
    int special(Special which, long long param);
    int takeCharacter(unsigned char ch);
    int hexDigit(unsigned char ch);

    const unsigned char *m_data;
    qsizetype m_size;
    qsizetype m_pos = 0;
    QByteArray m_output;
    std::vector<Saved> m_stack;
    Dest m_dest = Dest::Normal;
    Input m_input = Input::Normal;
    long long m_binaryCount = 0;
    bool m_skipIfUnknown = false;
    int m_hexNibbles = 0;
    int m_hexByte = 0;
};

int Reader::run()
{
    m_output.reserve(m_size / 2);
    for (int ch = getByte(); ch >= 0; ch = getByte()) {
        int ec = RtfOk;
        if (m_input == Input::Binary) {
            ec = takeCharacter(static_cast<unsigned char>(ch));
        } else if (ch == '{') {
            ec = pushGroup();
        } else if (ch == '}') {
            ec = popGroup();
        } else if (ch == '\\') {
            ec = parseControlWord();
        } else if (ch == '\r' || ch == '\n') {
            continue;
        } else if (m_input == Input::Normal) {
            ec = takeCharacter(static_cast<unsigned char>(ch));
        } else {
            ec = hexDigit(static_cast<unsigned char>(ch));
        }
        if (ec != RtfOk) {
            return ec;
        }
    }
    return m_stack.empty() ? RtfOk : RtfGroupLeftOpen;
}

int Reader::pushGroup()
{
    try {
        m_stack.push_back({m_dest, m_input});
    } catch (const std::bad_alloc &) {
        return RtfNoMemoryForGroup;
    }
    m_input = Input::Normal;
    return RtfOk;
}

int Reader::popGroup()
{
    if (m_stack.empty()) {
        return RtfTooManyClosingBraces;
    }
    m_dest = m_stack.back().dest;
    m_input = m_stack.back().input;
    m_stack.pop_back();
    return RtfOk;
}

int Reader::hexDigit(unsigned char ch)
{
    const int value = hexValue(ch);
    if (value < 0) {
        return RtfInvalidHexDigit;
    }
    m_hexByte = (m_hexByte << 4) | value;
    if (++m_hexNibbles < 2) {
        return RtfOk;
    }
    const auto byte = static_cast<unsigned char>(m_hexByte);
    m_hexNibbles = 0;
    m_hexByte = 0;
    m_input = Input::Normal;
    return takeCharacter(byte);
}

int Reader::parseControlWord()
{
    int ch = getByte();
    if (ch < 0) {
        return RtfEndInsideControlWord;
    }
    if (!isLetter(static_cast<unsigned char>(ch))) {
        const char symbol = static_cast<char>(ch);
        return translate(std::string_view(&symbol, 1), 0, false);
    }
    const qsizetype wordStart = m_pos - 1;
    while (ch >= 0 && isLetter(static_cast<unsigned char>(ch))) {
        ch = getByte();
    }
    const qsizetype wordEnd = ch >= 0 ? m_pos - 1 : m_pos;
    const bool overLong = wordEnd - wordStart > kMaxWordLetters;

    bool negative = false;
    if (ch == '-') {
        negative = true;
        ch = getByte();
        if (ch < 0) {
            return RtfEndInsideControlWord;
        }
    }
    bool hasParam = false;
    long long param = 0;
    if (ch >= 0 && isDigit(static_cast<unsigned char>(ch))) {
        hasParam = true;
        int digits = 0;
        for (; ch >= 0 && isDigit(static_cast<unsigned char>(ch)); ch = getByte()) {
            if (++digits <= kMaxParamDigits) {
                param = param * 10 + (ch - '0');
            }
        }
        param = std::min<long long>(param, INT_MAX);
        if (negative) {
            param = -param;
        }
    }
    if (ch >= 0 && ch != ' ') {
        ungetByte();
    }
    if (overLong) {
        return translate(std::string_view(), param, hasParam);
    }
    const auto *word = reinterpret_cast<const char *>(m_data + wordStart);
    return translate(std::string_view(word, std::size_t(wordEnd - wordStart)), param, hasParam);
}

int Reader::translate(std::string_view word, long long param, bool hasParam)
{
    const Keyword *keyword = word.empty() ? nullptr : findKeyword(word);
    if (!keyword) {
        if (m_skipIfUnknown) {
            m_dest = Dest::Skip;
        }
        m_skipIfUnknown = false;
        return RtfOk;
    }
    m_skipIfUnknown = false;
    switch (keyword->cls) {
    case KeywordClass::Character:
        return takeCharacter(static_cast<unsigned char>(keyword->character));
    case KeywordClass::Destination:
        m_dest = Dest::Skip;
        return RtfOk;
    case KeywordClass::Special:
        return special(keyword->special, hasParam ? param : 0);
    case KeywordClass::Property:
        return RtfOk; // formatting has no effect on the plain text
    }
    return RtfImpossibleTableEntry;
}

int Reader::special(Special which, long long param)
{
    if (m_dest == Dest::Skip && which != Special::Bin) {
        return RtfOk;
    }
    switch (which) {
    case Special::Bin:
        // A zero or negative count takes no byte: taking one would swallow the byte
        // after the word, a closing brace for example.
        if (param > 0) {
            m_input = Input::Binary;
            m_binaryCount = param;
        }
        return RtfOk;
    case Special::SkipDest:
        m_skipIfUnknown = true;
        return RtfOk;
    case Special::Hex:
        m_input = Input::Hex;
        return RtfOk;
    case Special::None:
        break;
    }
    return RtfImpossibleTableEntry;
}

int Reader::takeCharacter(unsigned char ch)
{
    if (m_input == Input::Binary && --m_binaryCount <= 0) {
        m_input = Input::Normal;
    }
    if (m_dest == Dest::Normal) {
        m_output.append(static_cast<char>(ch));
    }
    return RtfOk;
}

} // namespace

RtfToTextResult rtfToText(const char *text, qsizetype length)
{
    if (!text || length <= 0) {
        return {RtfNotRichText, QByteArray()};
    }
    const QByteArrayView view(text, length);
    if (!view.contains(QByteArrayView("{\\rtf"))) {
        return {RtfNotRichText, QByteArray(text, length)};
    }
    Reader reader(reinterpret_cast<const unsigned char *>(text), length);
    const int code = reader.run();
    if (code != RtfOk) {
        return {code, QByteArray()};
    }
    return {RtfOk, reader.takeOutput()};
}

RtfToTextResult rtfToText(const QByteArray &text)
{
    if (!text.contains("{\\rtf")) {
        return {RtfNotRichText, text};
    }
    return rtfToText(text.constData(), text.size());
}
