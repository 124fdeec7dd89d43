#include "RtfParser.h"

#include "RtfCharsets.h"
#include "RtfListNumbering.h"
#include "RtfTokenizer.h"

#include <QByteArray>

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

namespace {

enum class Action : std::uint8_t {
    DestSkip, DestFontTable, DestColorTable,
    Bold, Italic, Underline, UnderlineNone, Strike, FontSize, Font, Color, Highlight, Plain,
    Pard, Align, LeftIndent, RightIndent, FirstIndent,
    Par, RowEnd, NestedRowEnd, Line, Cell, Char,
    Unicode, UnicodeSkip, FootnoteMark,
    DefaultFont, AnsiCodePage, DocumentCharset, FontCharset, FontCodePage, Red, Green, Blue,
    KeptDestination, ListText, ListNumbering, ListTextBefore, ListTextAfter,
    ListLevel, ListStyle, ListStart, ListFont,
};

struct Keyword {
    std::string_view word;
    Action action;
    char16_t value = 0; // the character of Char, the alignment of Align
};

template <typename Enum>
constexpr char16_t enumValue(Enum value)
{
    return static_cast<char16_t>(value);
}

using A = Action;

constexpr auto kKeywords = [] {
    std::array table{
        // Destinations that hold nothing a reader of the text sees.
        Keyword{"author", A::DestSkip}, Keyword{"bkmkend", A::DestSkip}, Keyword{"bkmkstart", A::DestSkip},
        Keyword{"buptim", A::DestSkip}, Keyword{"colorschememapping", A::DestSkip},
        Keyword{"comment", A::DestSkip}, Keyword{"creatim", A::DestSkip}, Keyword{"datafield", A::DestSkip},
        Keyword{"datastore", A::DestSkip}, Keyword{"doccomm", A::DestSkip}, Keyword{"docvar", A::DestSkip},
        Keyword{"fchars", A::DestSkip}, Keyword{"filetbl", A::DestSkip}, Keyword{"fldinst", A::DestSkip},
        Keyword{"footer", A::DestSkip}, Keyword{"footerf", A::DestSkip}, Keyword{"footerl", A::DestSkip},
        Keyword{"footerr", A::DestSkip}, Keyword{"footnote", A::DestSkip}, Keyword{"ftncn", A::DestSkip},
        Keyword{"ftnsep", A::DestSkip}, Keyword{"ftnsepc", A::DestSkip}, Keyword{"generator", A::DestSkip},
        Keyword{"header", A::DestSkip}, Keyword{"headerf", A::DestSkip}, Keyword{"headerl", A::DestSkip},
        Keyword{"headerr", A::DestSkip}, Keyword{"info", A::DestSkip}, Keyword{"keywords", A::DestSkip},
        Keyword{"latentstyles", A::DestSkip}, Keyword{"lchars", A::DestSkip},
        Keyword{"listoverridetable", A::DestSkip}, Keyword{"listtable", A::DestSkip},
        Keyword{"mmathPr", A::DestSkip}, Keyword{"nonesttables", A::DestSkip},
        Keyword{"nonshppict", A::DestSkip}, Keyword{"object", A::DestSkip}, Keyword{"objdata", A::DestSkip},
        Keyword{"operator", A::DestSkip}, Keyword{"pgdsctbl", A::DestSkip}, Keyword{"pict", A::DestSkip},
        Keyword{"printim", A::DestSkip}, Keyword{"private1", A::DestSkip}, Keyword{"protusertbl", A::DestSkip},
        Keyword{"revtbl", A::DestSkip}, Keyword{"revtim", A::DestSkip}, Keyword{"rsidtbl", A::DestSkip},
        Keyword{"rxe", A::DestSkip}, Keyword{"shpinst", A::DestSkip}, Keyword{"stylesheet", A::DestSkip},
        Keyword{"subject", A::DestSkip}, Keyword{"tc", A::DestSkip}, Keyword{"template", A::DestSkip},
        Keyword{"themedata", A::DestSkip}, Keyword{"title", A::DestSkip}, Keyword{"txe", A::DestSkip},
        Keyword{"userprops", A::DestSkip}, Keyword{"xe", A::DestSkip}, Keyword{"xmlnstbl", A::DestSkip},
        Keyword{"fonttbl", A::DestFontTable}, Keyword{"colortbl", A::DestColorTable},
        // Character formats.
        Keyword{"b", A::Bold}, Keyword{"i", A::Italic}, Keyword{"ul", A::Underline},
        Keyword{"uld", A::Underline}, Keyword{"uldash", A::Underline}, Keyword{"uldashd", A::Underline},
        Keyword{"uldashdd", A::Underline}, Keyword{"uldb", A::Underline}, Keyword{"ulhwave", A::Underline},
        Keyword{"ulldash", A::Underline}, Keyword{"ulth", A::Underline}, Keyword{"ulthd", A::Underline},
        Keyword{"ulthdash", A::Underline}, Keyword{"ulthdashd", A::Underline},
        Keyword{"ulthdashdd", A::Underline}, Keyword{"ulthldash", A::Underline},
        Keyword{"ululdbwave", A::Underline}, Keyword{"ulw", A::Underline}, Keyword{"ulwave", A::Underline},
        Keyword{"ulnone", A::UnderlineNone}, Keyword{"strike", A::Strike}, Keyword{"striked", A::Strike},
        Keyword{"fs", A::FontSize}, Keyword{"f", A::Font}, Keyword{"cf", A::Color},
        Keyword{"highlight", A::Highlight}, Keyword{"cb", A::Highlight}, Keyword{"chcbpat", A::Highlight},
        Keyword{"plain", A::Plain},
        // Paragraph formats.
        Keyword{"pard", A::Pard}, Keyword{"ql", A::Align, enumValue(RtfAlignment::Left)},
        Keyword{"qc", A::Align, enumValue(RtfAlignment::Center)},
        Keyword{"qr", A::Align, enumValue(RtfAlignment::Right)},
        Keyword{"qj", A::Align, enumValue(RtfAlignment::Justify)},
        Keyword{"qd", A::Align, enumValue(RtfAlignment::Justify)},
        Keyword{"li", A::LeftIndent}, Keyword{"ri", A::RightIndent}, Keyword{"fi", A::FirstIndent},
        // Text.
        Keyword{"par", A::Par}, Keyword{"sect", A::Par}, Keyword{"page", A::Par}, Keyword{"row", A::RowEnd},
        Keyword{"nestrow", A::NestedRowEnd}, Keyword{"line", A::Line}, Keyword{"cell", A::Cell},
        Keyword{"nestcell", A::Cell}, Keyword{"tab", A::Char, u'\t'}, Keyword{"emdash", A::Char, 0x2014},
        Keyword{"endash", A::Char, 0x2013}, Keyword{"bullet", A::Char, 0x2022},
        Keyword{"lquote", A::Char, 0x2018}, Keyword{"rquote", A::Char, 0x2019},
        Keyword{"ldblquote", A::Char, 0x201C}, Keyword{"rdblquote", A::Char, 0x201D},
        Keyword{"emspace", A::Char, 0x2003}, Keyword{"enspace", A::Char, 0x2002},
        Keyword{"qmspace", A::Char, 0x2005}, Keyword{"zwj", A::Char, 0x200D}, Keyword{"zwnj", A::Char, 0x200C},
        Keyword{"ltrmark", A::Char, 0x200E}, Keyword{"rtlmark", A::Char, 0x200F},
        Keyword{"u", A::Unicode}, Keyword{"uc", A::UnicodeSkip}, Keyword{"chftn", A::FootnoteMark},
        // Document and tables.
        Keyword{"deff", A::DefaultFont}, Keyword{"ansicpg", A::AnsiCodePage},
        Keyword{"mac", A::DocumentCharset, 10000}, Keyword{"pc", A::DocumentCharset, 437},
        Keyword{"pca", A::DocumentCharset, 850}, Keyword{"fcharset", A::FontCharset},
        Keyword{"cpg", A::FontCodePage}, Keyword{"red", A::Red}, Keyword{"green", A::Green},
        Keyword{"blue", A::Blue}, Keyword{"nesttableprops", A::KeptDestination},
        // Bullets and numbers: the text a writer gives (\pntext, \listtext) and the old
        // numbering (\pn) a reader builds itself when that text is missing.
        Keyword{"pntext", A::ListText}, Keyword{"listtext", A::ListText}, Keyword{"pn", A::ListNumbering},
        Keyword{"pntxtb", A::ListTextBefore}, Keyword{"pntxta", A::ListTextAfter},
        Keyword{"pnlvl", A::ListLevel, enumValue(RtfListLevel::Outline)},
        Keyword{"pnlvlblt", A::ListLevel, enumValue(RtfListLevel::Bullet)},
        Keyword{"pnlvlbody", A::ListLevel, enumValue(RtfListLevel::Body)},
        Keyword{"pnlvlcont", A::ListLevel, enumValue(RtfListLevel::Continue)},
        Keyword{"pndec", A::ListStyle, enumValue(RtfListStyle::Decimal)},
        Keyword{"pnord", A::ListStyle, enumValue(RtfListStyle::Decimal)},
        Keyword{"pnordt", A::ListStyle, enumValue(RtfListStyle::Decimal)},
        Keyword{"pncard", A::ListStyle, enumValue(RtfListStyle::Decimal)},
        Keyword{"pnucltr", A::ListStyle, enumValue(RtfListStyle::UpperLetter)},
        Keyword{"pnlcltr", A::ListStyle, enumValue(RtfListStyle::LowerLetter)},
        Keyword{"pnucrm", A::ListStyle, enumValue(RtfListStyle::UpperRoman)},
        Keyword{"pnlcrm", A::ListStyle, enumValue(RtfListStyle::LowerRoman)},
        Keyword{"pnstart", A::ListStart}, Keyword{"pnf", A::ListFont},
    };
    std::sort(table.begin(), table.end(), [](const Keyword &a, const Keyword &b) { return a.word < b.word; });
    return table;
}();

const Keyword *findKeyword(QByteArrayView word)
{
    const std::string_view key(word.data(), std::size_t(word.size()));
    const auto it = std::lower_bound(kKeywords.begin(), kKeywords.end(), key,
                                     [](const Keyword &k, std::string_view w) { return k.word < w; });
    return it != kKeywords.end() && it->word == key ? &*it : nullptr;
}

constexpr int kMaxFallback = 16;
constexpr int kMaxTwips = 31680; // 22 inches, the widest page RTF writers know
constexpr int kMaxListStart = 32767;

enum class Dest : std::uint8_t { Text, FontTable, ColorTable, Skip, ListNumbering, ListTextBefore, ListTextAfter };

struct GroupState {
    RtfCharFormat chr;
    RtfParaFormat para;
    int list = -1; // the paragraph's old-style numbering: an index into Parser::m_lists
    Dest dest = Dest::Text;
    std::uint8_t unicodeSkip = 1;
};

bool isListDestination(Dest dest)
{
    return dest == Dest::ListNumbering || dest == Dest::ListTextBefore || dest == Dest::ListTextAfter;
}

class Parser
{
public:
    explicit Parser(QByteArrayView rtf) : m_tokens(rtf) {}

    RtfContent run();

private:
    void groupStart();
    void groupEnd();
    void word(const RtfToken &token);
    void symbol(char c);
    void text(QByteArrayView bytes);
    void hex(unsigned char byte);
    void binary(QByteArrayView bytes);

    bool documentAction(const Keyword &keyword, const RtfToken &token);
    void destination(Dest dest);
    void textAction(const Keyword &keyword, const RtfToken &token);
    void fontTableAction(const Keyword &keyword, const RtfToken &token);
    void colorTableAction(const Keyword &keyword, const RtfToken &token);
    void listAction(const Keyword &keyword, const RtfToken &token);
    void unicode(const RtfToken &token);

    void appendBytes(QByteArrayView bytes);
    void appendChar(char16_t c);
    void appendCodePoint(char32_t c);
    void appendText(QStringView text);
    void appendFontNameBytes(QByteArrayView bytes);
    void appendPending(QByteArrayView bytes, RtfFontEncoding encoding);
    QString *pendingTarget();
    void flushPending();
    void emitPendingTabs();
    void endParagraph();
    RtfParagraph &openParagraph();
    RtfRun &currentRun();
    void startListItem(RtfParagraph &paragraph);
    const RtfFont *fontOf(int number) const;
    RtfFontEncoding encodingOfFont(int number) const;
    RtfSymbolFont symbolFontOf(int number) const;
    int textFont() const;
    void finish();

    RtfTokenizer m_tokens;
    RtfContent m_content;
    RtfTextDecoder m_decoder;
    std::vector<GroupState> m_stack;
    GroupState m_state;
    int m_excessDepth = 0;
    bool m_finished = false;
    bool m_star = false;
    int m_fallback = 0;     // characters of a \u fallback still to skip
    int m_pendingTabs = 0;  // cell ends not yet written (the last one of a row never is)
    int m_ansiCodePage = 1252;
    QByteArray m_pending;   // bytes of the current text, font name or list text, decoded in one go
    RtfFontEncoding m_pendingEncoding;
    int m_fontEntry = -1;   // the font table entry being read
    bool m_fontNameClosed = false;
    RtfColor m_colorEntry;
    int m_footnotes = 0;    // automatic footnote marks so far
    std::vector<RtfListNumbering> m_lists; // every {\pn} group read, in order
    RtfListCounter m_listCounter;
    bool m_paragraphStarted = false;  // the open paragraph has begun (its bullet given)
    bool m_paragraphHasListText = false; // the writer gave its bullet text (\pntext)
    bool m_nestedRowEnded = false;       // the last paragraph mark was a \nestrow
};

RtfContent Parser::run()
{
    while (!m_finished) {
        const RtfToken token = m_tokens.next();
        if (token.kind == RtfToken::End) {
            break;
        }
        if (m_excessDepth > 0) {
            m_excessDepth += token.kind == RtfToken::GroupStart ? 1 : token.kind == RtfToken::GroupEnd ? -1 : 0;
            continue;
        }
        switch (token.kind) {
        case RtfToken::GroupStart:
            groupStart();
            break;
        case RtfToken::GroupEnd:
            groupEnd();
            break;
        case RtfToken::Word:
            word(token);
            break;
        case RtfToken::Symbol:
            symbol(token.symbol);
            break;
        case RtfToken::Hex:
            hex(token.byte);
            break;
        case RtfToken::Text:
            text(token.bytes);
            break;
        case RtfToken::Binary:
            binary(token.bytes);
            break;
        case RtfToken::End:
            break;
        }
    }
    finish();
    return std::move(m_content);
}

void Parser::groupStart()
{
    flushPending();
    m_fallback = 0;
    if (m_stack.size() >= std::size_t(kRtfMaxDepth)) {
        m_excessDepth = 1;
        return;
    }
    m_stack.push_back(m_state);
}

void Parser::groupEnd()
{
    flushPending();
    m_fallback = 0;
    if (m_stack.empty()) {
        m_finished = true;
        return;
    }
    const Dest leaving = m_state.dest;
    m_state = m_stack.back();
    m_stack.pop_back();
    if (leaving == Dest::FontTable && m_state.dest != Dest::FontTable) {
        m_fontEntry = -1;
    }
    // The numbering read in a {\pn} group belongs to the paragraph around it.
    if (leaving == Dest::ListNumbering && !isListDestination(m_state.dest)) {
        const std::size_t count = m_lists.size();
        if (count >= 2 && m_lists[count - 1] == m_lists[count - 2]) {
            m_lists.pop_back(); // writers repeat the numbering in every paragraph
        }
        m_state.list = int(m_lists.size()) - 1;
    }
    m_finished = m_stack.empty();
}

void Parser::word(const RtfToken &token)
{
    if (m_fallback > 0) {
        --m_fallback;
        return;
    }
    flushPending();
    const bool starred = std::exchange(m_star, false);
    if (m_state.dest == Dest::Skip) {
        return;
    }
    const Keyword *keyword = token.overLong ? nullptr : findKeyword(token.word);
    // A starred destination is skipped unless it is one this reader reads.
    const bool readsStarred = keyword && m_state.dest == Dest::Text &&
        (keyword->action == A::KeptDestination || keyword->action == A::ListNumbering);
    if (starred && !readsStarred) {
        m_state.dest = Dest::Skip;
        return;
    }
    if (!keyword || documentAction(*keyword, token)) {
        return;
    }
    switch (m_state.dest) {
    case Dest::Text:
        textAction(*keyword, token);
        return;
    case Dest::FontTable:
        fontTableAction(*keyword, token);
        return;
    case Dest::ColorTable:
        colorTableAction(*keyword, token);
        return;
    case Dest::ListNumbering:
    case Dest::ListTextBefore:
    case Dest::ListTextAfter:
        listAction(*keyword, token);
        return;
    case Dest::Skip:
        return;
    }
}

// The keywords that mean the same in every destination; true when keyword was one.
bool Parser::documentAction(const Keyword &keyword, const RtfToken &token)
{
    switch (keyword.action) {
    case A::DestSkip:
        destination(Dest::Skip);
        return true;
    case A::DestFontTable:
        destination(Dest::FontTable);
        return true;
    case A::DestColorTable:
        destination(Dest::ColorTable);
        return true;
    case A::KeptDestination:
        return true; // its text is read where it stands
    case A::UnicodeSkip:
        if (token.hasParam) {
            m_state.unicodeSkip = std::uint8_t(std::clamp(token.param, 0, kMaxFallback));
        }
        return true;
    case A::AnsiCodePage:
        if (token.hasParam && token.param > 0) {
            m_ansiCodePage = token.param;
        }
        return true;
    case A::DocumentCharset:
        m_ansiCodePage = keyword.value;
        return true;
    case A::DefaultFont:
        m_content.defaultFont = token.hasParam ? token.param : 0;
        return true;
    default:
        return false;
    }
}

void Parser::destination(Dest dest)
{
    m_state.dest = dest;
    if (dest == Dest::FontTable) {
        m_fontEntry = -1;
    } else if (dest == Dest::ColorTable) {
        m_colorEntry = RtfColor();
    }
}

void Parser::textAction(const Keyword &keyword, const RtfToken &token)
{
    RtfCharFormat &chr = m_state.chr;
    RtfParaFormat &para = m_state.para;
    const bool on = !token.hasParam || token.param != 0;
    const int param = token.hasParam ? token.param : 0;
    switch (keyword.action) {
    case A::Bold:
        chr.bold = on;
        return;
    case A::Italic:
        chr.italic = on;
        return;
    case A::Underline:
        chr.underline = on;
        return;
    case A::UnderlineNone:
        chr.underline = false;
        return;
    case A::Strike:
        chr.strike = on;
        return;
    case A::FontSize:
        chr.halfPoints = token.hasParam && token.param > 0 ? token.param : 24;
        return;
    case A::Font:
        chr.font = param;
        return;
    case A::Color:
        chr.color = param;
        return;
    case A::Highlight:
        chr.background = param;
        return;
    case A::Plain:
        chr = RtfCharFormat();
        return;
    case A::Pard:
        para = RtfParaFormat();
        m_state.list = -1;
        return;
    case A::Align:
        para.alignment = static_cast<RtfAlignment>(keyword.value);
        return;
    case A::LeftIndent:
        para.leftIndent = std::clamp(param, -kMaxTwips, kMaxTwips);
        return;
    case A::RightIndent:
        para.rightIndent = std::clamp(param, -kMaxTwips, kMaxTwips);
        return;
    case A::FirstIndent:
        para.firstLineIndent = std::clamp(param, -kMaxTwips, kMaxTwips);
        return;
    case A::Par:
        endParagraph();
        return;
    case A::RowEnd:
        // A row whose last cell held only a nested table ended its line with that table.
        if (std::exchange(m_nestedRowEnded, false) && !m_paragraphStarted) {
            m_pendingTabs = 0;
            return;
        }
        endParagraph();
        return;
    case A::NestedRowEnd:
        endParagraph();
        m_nestedRowEnded = true;
        return;
    case A::Line:
        appendChar(kRtfLineBreak);
        return;
    case A::Cell:
        ++m_pendingTabs;
        return;
    case A::Char:
        appendChar(keyword.value);
        return;
    case A::Unicode:
        unicode(token);
        return;
    case A::FootnoteMark:
        appendText(QString::number(++m_footnotes));
        return;
    case A::ListText:
        m_paragraphHasListText = true;
        return;
    case A::ListNumbering:
        m_lists.emplace_back();
        m_state.dest = Dest::ListNumbering;
        return;
    default:
        return;
    }
}

void Parser::fontTableAction(const Keyword &keyword, const RtfToken &token)
{
    switch (keyword.action) {
    case A::Font:
        m_fontEntry = token.hasParam ? std::max(token.param, 0) : 0;
        m_content.fonts[m_fontEntry] = RtfFont(); // a repeated number redefines the font
        m_fontNameClosed = false;
        return;
    case A::FontCharset:
        if (m_fontEntry >= 0) {
            m_content.fonts[m_fontEntry].charset = token.hasParam ? token.param : 0;
        }
        return;
    case A::FontCodePage:
        if (m_fontEntry >= 0 && token.hasParam && token.param > 0) {
            m_content.fonts[m_fontEntry].codePage = token.param;
        }
        return;
    case A::Unicode:
        unicode(token);
        return;
    default:
        return;
    }
}

void Parser::colorTableAction(const Keyword &keyword, const RtfToken &token)
{
    const auto component = std::uint8_t(std::clamp(token.hasParam ? token.param : 0, 0, 255));
    switch (keyword.action) {
    case A::Red:
        m_colorEntry.red = component;
        break;
    case A::Green:
        m_colorEntry.green = component;
        break;
    case A::Blue:
        m_colorEntry.blue = component;
        break;
    default:
        return;
    }
    m_colorEntry.isAuto = false;
}

// Inside {\pn ...}: m_lists.back() is the numbering being read.
void Parser::listAction(const Keyword &keyword, const RtfToken &token)
{
    RtfListNumbering &list = m_lists.back();
    switch (keyword.action) {
    case A::ListTextBefore:
        m_state.dest = Dest::ListTextBefore;
        return;
    case A::ListTextAfter:
        m_state.dest = Dest::ListTextAfter;
        return;
    case A::ListLevel:
        list.level = static_cast<RtfListLevel>(keyword.value);
        if (list.level == RtfListLevel::Outline) {
            list.outlineLevel = std::clamp(token.hasParam ? token.param : 1, 1, 9);
        }
        return;
    case A::ListStyle:
        list.style = static_cast<RtfListStyle>(keyword.value);
        return;
    case A::ListStart:
        list.start = std::clamp(token.hasParam ? token.param : 1, 0, kMaxListStart);
        return;
    case A::ListFont:
        list.font = token.hasParam ? token.param : 0;
        return;
    case A::Unicode:
        if (m_state.dest != Dest::ListNumbering) {
            unicode(token);
        }
        return;
    case A::Char:
        if (m_state.dest != Dest::ListNumbering) {
            appendChar(keyword.value);
        }
        return;
    default:
        return;
    }
}

void Parser::unicode(const RtfToken &token)
{
    if (!token.hasParam || token.param < -32768 || token.param > 0xFFFF) {
        return; // not a UTF-16 unit: the fallback text stands for it
    }
    const auto unit = char16_t(token.param); // N < 0 stands for N + 65536
    if (m_state.dest == Dest::FontTable) {
        if (m_fontEntry >= 0 && !m_fontNameClosed) {
            m_content.fonts[m_fontEntry].family += QChar(unit);
        }
    } else {
        appendCodePoint(RtfSymbolFonts::unicodeOf(symbolFontOf(textFont()), unit));
    }
    m_fallback = m_state.unicodeSkip;
}

void Parser::symbol(char c)
{
    if (m_fallback > 0) {
        --m_fallback;
        return;
    }
    if (c == '*') {
        m_star = true;
        return;
    }
    const bool starred = std::exchange(m_star, false);
    if (starred && c != '\\' && c != '{' && c != '}' && c != '\'') {
        flushPending();
        m_state.dest = Dest::Skip;
        return;
    }
    switch (c) {
    case '\\':
    case '{':
    case '}':
        text(QByteArrayView(&c, 1));
        return;
    default:
        break;
    }
    if (m_state.dest != Dest::Text) {
        return;
    }
    switch (c) {
    case '~':
        appendChar(0x00A0);
        return;
    case '_':
        appendChar(0x2011);
        return;
    case '\r':
    case '\n':
        endParagraph();
        return;
    default:
        return; // "\-" (optional hyphen), "\:", "\|" and the rest show nothing
    }
}

// A \u fallback is skipped in the text and in font names, the only places \u is read;
// elsewhere no fallback is pending, since words are swallowed while one is.
void Parser::text(QByteArrayView bytes)
{
    if (m_fallback > 0) {
        const qsizetype skipped = std::min<qsizetype>(m_fallback, bytes.size());
        m_fallback -= int(skipped);
        bytes = bytes.sliced(skipped);
    }
    switch (m_state.dest) {
    case Dest::Text:
    case Dest::ListTextBefore:
    case Dest::ListTextAfter:
        appendBytes(bytes);
        return;
    case Dest::FontTable:
        appendFontNameBytes(bytes);
        return;
    case Dest::ColorTable:
        for (const char c : bytes) {
            if (c == ';') {
                m_content.colors.push_back(m_colorEntry);
                m_colorEntry = RtfColor();
            }
        }
        return;
    case Dest::Skip:
    case Dest::ListNumbering:
        return;
    }
}

void Parser::hex(unsigned char byte)
{
    if (m_fallback > 0) {
        --m_fallback;
        return;
    }
    const char c = static_cast<char>(byte);
    if (m_state.dest == Dest::FontTable) {
        appendFontNameBytes(QByteArrayView(&c, 1));
    } else if (m_state.dest != Dest::ColorTable) {
        text(QByteArrayView(&c, 1));
    }
}

void Parser::binary(QByteArrayView bytes)
{
    if (m_fallback > 0) {
        --m_fallback;
        return;
    }
    if (m_state.dest == Dest::Text) {
        appendBytes(bytes);
    }
}

const RtfFont *Parser::fontOf(int number) const
{
    return m_content.font(number < 0 ? m_content.defaultFont : number);
}

// The font the text being read is shown in: a bullet or number text takes the
// numbering's font (\pnf) when it names one.
int Parser::textFont() const
{
    if (isListDestination(m_state.dest) && !m_lists.empty() && m_lists.back().font >= 0) {
        return m_lists.back().font;
    }
    return m_state.chr.font;
}

// Text in no known font reads a symbol code as the Symbol font's, whose bullets writers
// put there most.
RtfSymbolFont Parser::symbolFontOf(int number) const
{
    const RtfFont *font = fontOf(number);
    return font ? RtfSymbolFonts::fontOf(font->family, font->charset) : RtfSymbolFont::Symbol;
}

// A font's \cpg wins over its \fcharset; a font without either, and text outside any
// font, take the document's code page.
RtfFontEncoding Parser::encodingOfFont(int number) const
{
    const RtfFont *font = fontOf(number);
    if (!font) {
        return {m_ansiCodePage, RtfSymbolFont::None};
    }
    const RtfSymbolFont symbols = RtfSymbolFonts::fontOf(font->family, font->charset);
    if (symbols != RtfSymbolFont::None) {
        return {RtfCharsets::SymbolCodePage, symbols};
    }
    const int codePage = font->codePage > 0 ? font->codePage : RtfCharsets::codePageOf(font->charset, m_ansiCodePage);
    return {codePage, codePage == RtfCharsets::SymbolCodePage ? RtfSymbolFont::Other : RtfSymbolFont::None};
}

void Parser::appendBytes(QByteArrayView bytes)
{
    if (bytes.isEmpty()) {
        return;
    }
    if (m_state.dest == Dest::Text) {
        emitPendingTabs();
    }
    appendPending(bytes, encodingOfFont(textFont()));
}

// The name of a font is read before its family is known: a symbol font's name is
// Windows-1252 text.
void Parser::appendFontNameBytes(QByteArrayView bytes)
{
    if (m_fontEntry < 0 || m_fontNameClosed) {
        return;
    }
    const RtfFont &font = m_content.fonts[m_fontEntry];
    int codePage = font.codePage > 0 ? font.codePage : RtfCharsets::codePageOf(font.charset, m_ansiCodePage);
    if (codePage == RtfCharsets::SymbolCodePage) {
        codePage = 1252;
    }
    const qsizetype end = bytes.indexOf(';');
    appendPending(end < 0 ? bytes : bytes.first(end), {codePage, RtfSymbolFont::None});
    if (end >= 0) {
        flushPending();
        m_fontNameClosed = true;
    }
}

void Parser::appendPending(QByteArrayView bytes, RtfFontEncoding encoding)
{
    if (!(encoding == m_pendingEncoding)) {
        flushPending();
        m_pendingEncoding = encoding;
    }
    m_pending.append(bytes);
}

QString *Parser::pendingTarget()
{
    switch (m_state.dest) {
    case Dest::FontTable:
        return m_fontEntry >= 0 ? &m_content.fonts[m_fontEntry].family : nullptr;
    case Dest::ListTextBefore:
        return &m_lists.back().before;
    case Dest::ListTextAfter:
        return &m_lists.back().after;
    case Dest::Text:
        return &currentRun().text;
    case Dest::ColorTable:
    case Dest::Skip:
    case Dest::ListNumbering:
        break;
    }
    return nullptr;
}

void Parser::flushPending()
{
    if (m_pending.isEmpty()) {
        return;
    }
    if (QString *target = pendingTarget()) {
        m_decoder.decode(m_pending, m_pendingEncoding, *target);
    }
    m_pending.resize(0); // keeps the buffer for the next text
}

void Parser::appendChar(char16_t c)
{
    appendText(QStringView(&c, 1));
}

void Parser::appendCodePoint(char32_t c)
{
    if (!QChar::requiresSurrogates(c)) {
        appendChar(char16_t(c));
        return;
    }
    const char16_t pair[] = {QChar::highSurrogate(c), QChar::lowSurrogate(c)};
    appendText(QStringView(pair, 2));
}

void Parser::appendText(QStringView text)
{
    flushPending();
    if (m_state.dest == Dest::Text) {
        emitPendingTabs();
    }
    if (QString *target = pendingTarget()) {
        target->append(text);
    }
}

void Parser::emitPendingTabs()
{
    if (m_pendingTabs == 0) {
        return;
    }
    const int tabs = std::exchange(m_pendingTabs, 0);
    currentRun().text += QString(tabs, QLatin1Char('\t'));
}

RtfParagraph &Parser::openParagraph()
{
    if (m_content.paragraphs.empty() || m_content.paragraphs.back().closed) {
        m_content.paragraphs.emplace_back();
    }
    return m_content.paragraphs.back();
}

RtfRun &Parser::currentRun()
{
    RtfParagraph &paragraph = openParagraph();
    paragraph.format = m_state.para;
    if (!m_paragraphStarted) {
        m_paragraphStarted = true;
        m_nestedRowEnded = false;
        startListItem(paragraph);
    }
    if (paragraph.runs.empty() || !(paragraph.runs.back().format == m_state.chr)) {
        paragraph.runs.push_back({m_state.chr, QString()});
    }
    return paragraph.runs.back();
}

// A numbered paragraph whose writer gave no bullet text (\pntext) begins with the one
// its numbering makes.
void Parser::startListItem(RtfParagraph &paragraph)
{
    if (m_state.list < 0 || m_paragraphHasListText) {
        return;
    }
    const RtfListNumbering &list = m_lists[std::size_t(m_state.list)];
    const QString marker = m_listCounter.markerOf(list);
    if (marker.isEmpty()) {
        return;
    }
    RtfCharFormat format = m_state.chr;
    if (list.font >= 0) {
        format.font = list.font;
    }
    paragraph.runs.push_back({format, marker});
}

void Parser::endParagraph()
{
    flushPending();
    m_pendingTabs = 0;
    RtfParagraph &paragraph = openParagraph();
    if (!m_paragraphStarted) {
        startListItem(paragraph); // an empty numbered paragraph still shows its bullet
    }
    if (m_state.list < 0) {
        m_listCounter.paragraphWithoutNumbering();
    }
    paragraph.format = m_state.para;
    paragraph.closed = true;
    m_paragraphStarted = false;
    m_paragraphHasListText = false;
    m_nestedRowEnded = false;
}

void Parser::finish()
{
    flushPending();
    auto &paragraphs = m_content.paragraphs;
    if (!paragraphs.empty() && !paragraphs.back().closed && paragraphs.back().runs.empty()) {
        paragraphs.pop_back();
    }
    for (auto &entry : m_content.fonts) {
        entry.second.family = entry.second.family.trimmed();
    }
}

QByteArrayView withoutLeadingBlanks(QByteArrayView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) {
        ++i;
    }
    return text.sliced(i);
}

} // namespace

bool looksLikeRtf(QByteArrayView stored)
{
    return withoutLeadingBlanks(stored).startsWith(QByteArrayView("{\\rtf"));
}

RtfContent parseRtf(QByteArrayView rtf)
{
    return Parser(withoutLeadingBlanks(rtf)).run();
}
