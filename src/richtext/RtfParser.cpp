#include "RtfParser.h"

#include "RtfCharsets.h"
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
    Par, Line, Cell, Char,
    Unicode, UnicodeSkip,
    DefaultFont, AnsiCodePage, FontCharset, Red, Green, Blue,
};

struct Keyword {
    std::string_view word;
    Action action;
    char16_t value = 0; // the character of Char, the alignment of Align
};

constexpr char16_t alignValue(RtfAlignment a)
{
    return static_cast<char16_t>(a);
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
        Keyword{"mmathPr", A::DestSkip}, Keyword{"nesttableprops", A::DestSkip},
        Keyword{"nonshppict", A::DestSkip}, Keyword{"object", A::DestSkip}, Keyword{"objdata", A::DestSkip},
        Keyword{"operator", A::DestSkip}, Keyword{"pgdsctbl", A::DestSkip}, Keyword{"pict", A::DestSkip},
        Keyword{"pn", A::DestSkip}, Keyword{"pntxta", A::DestSkip}, Keyword{"pntxtb", A::DestSkip},
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
        Keyword{"pard", A::Pard}, Keyword{"ql", A::Align, alignValue(RtfAlignment::Left)},
        Keyword{"qc", A::Align, alignValue(RtfAlignment::Center)},
        Keyword{"qr", A::Align, alignValue(RtfAlignment::Right)},
        Keyword{"qj", A::Align, alignValue(RtfAlignment::Justify)},
        Keyword{"qd", A::Align, alignValue(RtfAlignment::Justify)},
        Keyword{"li", A::LeftIndent}, Keyword{"ri", A::RightIndent}, Keyword{"fi", A::FirstIndent},
        // Text.
        Keyword{"par", A::Par}, Keyword{"sect", A::Par}, Keyword{"page", A::Par}, Keyword{"row", A::Par},
        Keyword{"nestrow", A::Par}, Keyword{"line", A::Line}, Keyword{"cell", A::Cell},
        Keyword{"nestcell", A::Cell}, Keyword{"tab", A::Char, u'\t'}, Keyword{"emdash", A::Char, 0x2014},
        Keyword{"endash", A::Char, 0x2013}, Keyword{"bullet", A::Char, 0x2022},
        Keyword{"lquote", A::Char, 0x2018}, Keyword{"rquote", A::Char, 0x2019},
        Keyword{"ldblquote", A::Char, 0x201C}, Keyword{"rdblquote", A::Char, 0x201D},
        Keyword{"emspace", A::Char, 0x2003}, Keyword{"enspace", A::Char, 0x2002},
        Keyword{"qmspace", A::Char, 0x2005}, Keyword{"zwj", A::Char, 0x200D}, Keyword{"zwnj", A::Char, 0x200C},
        Keyword{"ltrmark", A::Char, 0x200E}, Keyword{"rtlmark", A::Char, 0x200F},
        Keyword{"u", A::Unicode}, Keyword{"uc", A::UnicodeSkip},
        // Document and tables.
        Keyword{"deff", A::DefaultFont}, Keyword{"ansicpg", A::AnsiCodePage},
        Keyword{"fcharset", A::FontCharset}, Keyword{"red", A::Red}, Keyword{"green", A::Green},
        Keyword{"blue", A::Blue},
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

enum class Dest : std::uint8_t { Text, FontTable, ColorTable, Skip };

struct GroupState {
    RtfCharFormat chr;
    RtfParaFormat para;
    Dest dest = Dest::Text;
    std::uint8_t unicodeSkip = 1;
};

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

    void destination(Dest dest);
    void textAction(const Keyword &keyword, const RtfToken &token);
    void fontTableAction(const Keyword &keyword, const RtfToken &token);
    void colorTableAction(const Keyword &keyword, const RtfToken &token);
    void unicode(const RtfToken &token);

    void appendBytes(QByteArrayView bytes);
    void appendChar(char16_t c);
    void appendFontNameBytes(QByteArrayView bytes);
    void flushPending();
    void emitPendingTabs();
    void endParagraph();
    RtfParagraph &openParagraph();
    RtfRun &currentRun();
    int codePageOfFont(int number) const;
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
    QByteArray m_pending;   // bytes of the current text or font name, decoded in one go
    int m_pendingCodePage = 1252;
    int m_fontEntry = -1;   // the font table entry being read
    bool m_fontNameClosed = false;
    RtfColor m_colorEntry;
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
    if (starred) {
        // Every destination this reader keeps is unstarred; a starred one is skipped.
        m_state.dest = Dest::Skip;
        return;
    }
    const Keyword *keyword = token.overLong ? nullptr : findKeyword(token.word);
    if (!keyword) {
        return;
    }
    switch (keyword->action) {
    case A::DestSkip:
        destination(Dest::Skip);
        return;
    case A::DestFontTable:
        destination(Dest::FontTable);
        return;
    case A::DestColorTable:
        destination(Dest::ColorTable);
        return;
    case A::UnicodeSkip:
        if (token.hasParam) {
            m_state.unicodeSkip = std::uint8_t(std::clamp(token.param, 0, kMaxFallback));
        }
        return;
    case A::AnsiCodePage:
        if (token.hasParam && token.param > 0) {
            m_ansiCodePage = token.param;
        }
        return;
    case A::DefaultFont:
        m_content.defaultFont = token.hasParam ? token.param : 0;
        return;
    default:
        break;
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
    case Dest::Skip:
        return;
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

void Parser::unicode(const RtfToken &token)
{
    if (!token.hasParam || token.param < -32768 || token.param > 0xFFFF) {
        return; // not a UTF-16 unit: the fallback text stands for it
    }
    if (m_state.dest == Dest::FontTable) {
        if (m_fontEntry >= 0 && !m_fontNameClosed) {
            m_content.fonts[m_fontEntry].family += QChar(char16_t(token.param));
        }
    } else {
        appendChar(char16_t(token.param)); // N < 0 stands for N + 65536
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
    } else if (m_state.dest == Dest::Text) {
        appendBytes(QByteArrayView(&c, 1));
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

int Parser::codePageOfFont(int number) const
{
    const RtfFont *font = m_content.font(number < 0 ? m_content.defaultFont : number);
    return RtfCharsets::codePageOf(font ? font->charset : 1, m_ansiCodePage);
}

void Parser::appendBytes(QByteArrayView bytes)
{
    if (bytes.isEmpty()) {
        return;
    }
    emitPendingTabs();
    const int codePage = codePageOfFont(m_state.chr.font);
    if (codePage != m_pendingCodePage) {
        flushPending();
        m_pendingCodePage = codePage;
    }
    m_pending.append(bytes);
}

void Parser::appendFontNameBytes(QByteArrayView bytes)
{
    if (m_fontEntry < 0 || m_fontNameClosed) {
        return;
    }
    const qsizetype end = bytes.indexOf(';');
    const int codePage = RtfCharsets::codePageOf(m_content.fonts[m_fontEntry].charset, m_ansiCodePage);
    if (codePage != m_pendingCodePage) {
        flushPending();
        m_pendingCodePage = codePage;
    }
    m_pending.append(end < 0 ? bytes : bytes.first(end));
    if (end >= 0) {
        flushPending();
        m_fontNameClosed = true;
    }
}

void Parser::flushPending()
{
    if (m_pending.isEmpty()) {
        return;
    }
    if (m_state.dest == Dest::FontTable) {
        if (m_fontEntry >= 0) {
            m_decoder.decode(m_pending, m_pendingCodePage, m_content.fonts[m_fontEntry].family);
        }
    } else {
        m_decoder.decode(m_pending, m_pendingCodePage, currentRun().text);
    }
    m_pending.resize(0); // keeps the buffer for the next text
}

void Parser::appendChar(char16_t c)
{
    flushPending();
    emitPendingTabs();
    currentRun().text += QChar(c);
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
    if (paragraph.runs.empty() || !(paragraph.runs.back().format == m_state.chr)) {
        paragraph.runs.push_back({m_state.chr, QString()});
    }
    return paragraph.runs.back();
}

void Parser::endParagraph()
{
    flushPending();
    m_pendingTabs = 0;
    RtfParagraph &paragraph = openParagraph();
    paragraph.format = m_state.para;
    paragraph.closed = true;
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

bool LooksLikeRtf(QByteArrayView stored)
{
    return withoutLeadingBlanks(stored).startsWith(QByteArrayView("{\\rtf"));
}

RtfContent ParseRtf(QByteArrayView rtf)
{
    return Parser(withoutLeadingBlanks(rtf)).run();
}
