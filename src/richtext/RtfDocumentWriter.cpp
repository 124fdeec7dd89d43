#include "RtfDocumentWriter.h"

#include "RtfContent.h"
#include "RtfTextFormat.h"
#include "platform/CodePage.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

#include <QHash>

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

namespace {

constexpr int kMaxTwips = 31680;

struct FontKey {
    QString family;
    int charset = 0;
};

int twips(qreal pixels)
{
    return std::clamp(int(std::lround(pixels * RtfTextFormat::TwipsPerPixel)), -kMaxTwips, kMaxTwips);
}

class Writer
{
public:
    explicit Writer(const QTextDocument &document);

    QByteArray write();

private:
    void writeBlock(const QTextBlock &block);
    void writeParagraphFormat(const QTextBlockFormat &format);
    void writeCharFormat(const QTextCharFormat &format);
    void writeText(const QString &text);
    void writeListMarker(const QTextBlock &block);
    RtfCharFormat normalized(const QTextCharFormat &format);
    int fontIndex(const FontKey &key);
    int colorIndex(const QColor &color);
    void word(const char *name);
    void word(const char *name, int param);
    void hexByte(int byte);
    void unicodeChar(char16_t unit);
    void escapedText(const QString &text, int charset, QByteArray &out);
    QByteArray header();

    const QTextDocument &m_document;
    QString m_defaultFamily;
    int m_defaultHalfPoints = 24;
    std::vector<FontKey> m_fonts; // in the order of first use
    std::map<std::pair<QString, int>, int> m_fontIndex;
    std::vector<QRgb> m_colors;   // in the order of first use
    QHash<QRgb, int> m_colorIndex;
    QByteArray m_body;
    RtfCharFormat m_char;
    RtfParaFormat m_para;
    bool m_paraWritten = false;
    bool m_needDelimiter = false;
};

Writer::Writer(const QTextDocument &document) : m_document(document)
{
    const QFont font = document.defaultFont();
    m_defaultFamily = font.family();
    if (font.pointSizeF() > 0) {
        m_defaultHalfPoints = int(std::lround(font.pointSizeF() * 2));
    }
    // Nothing written yet: the first run always names its font and size.
    m_char.font = -1;
    m_char.halfPoints = -1;
}

QByteArray Writer::write()
{
    const bool empty = m_document.blockCount() == 1 && m_document.begin().length() <= 1;
    if (!empty) {
        for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
            writeBlock(block);
        }
    }
    if (m_fonts.empty()) {
        fontIndex({m_defaultFamily, 0});
    }
    QByteArray out = header();
    out += "\\viewkind4\\uc1";
    out += m_body;
    out += "}\r\n";
    return out;
}

void Writer::writeBlock(const QTextBlock &block)
{
    writeParagraphFormat(block.blockFormat());
    bool first = true;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid()) {
            continue;
        }
        writeCharFormat(fragment.charFormat());
        if (first) {
            writeListMarker(block);
            first = false;
        }
        writeText(fragment.text());
    }
    if (first && block.textList()) {
        writeCharFormat(block.charFormat());
        writeListMarker(block);
    }
    m_body += "\\par\r\n";
    m_needDelimiter = false;
}

void Writer::writeListMarker(const QTextBlock &block)
{
    const QTextList *list = block.textList();
    if (!list) {
        return;
    }
    QString marker = list->itemText(block);
    if (marker.isEmpty()) {
        marker = QChar(0x2022);
    }
    writeText(marker + QLatin1Char('\t'));
}

void Writer::writeParagraphFormat(const QTextBlockFormat &format)
{
    RtfParaFormat para;
    const Qt::Alignment align = format.alignment() & Qt::AlignHorizontal_Mask;
    if (align & Qt::AlignJustify) {
        para.alignment = RtfAlignment::Justify;
    } else if (align & Qt::AlignHCenter) {
        para.alignment = RtfAlignment::Center;
    } else if (align & (Qt::AlignRight | Qt::AlignTrailing)) {
        para.alignment = RtfAlignment::Right;
    }
    para.leftIndent = twips(format.leftMargin());
    para.rightIndent = twips(format.rightMargin());
    para.firstLineIndent = twips(format.textIndent());
    if (m_paraWritten && para == m_para) {
        return;
    }
    m_paraWritten = true;
    m_para = para;
    word("\\pard");
    switch (para.alignment) {
    case RtfAlignment::Left:
        break;
    case RtfAlignment::Center:
        word("\\qc");
        break;
    case RtfAlignment::Right:
        word("\\qr");
        break;
    case RtfAlignment::Justify:
        word("\\qj");
        break;
    }
    if (para.leftIndent != 0) {
        word("\\li", para.leftIndent);
    }
    if (para.rightIndent != 0) {
        word("\\ri", para.rightIndent);
    }
    if (para.firstLineIndent != 0) {
        word("\\fi", para.firstLineIndent);
    }
}

RtfCharFormat Writer::normalized(const QTextCharFormat &format)
{
    RtfCharFormat result;
    FontKey key{m_defaultFamily, format.property(RtfTextFormat::CharsetProperty).toInt()};
    const QStringList families = format.property(QTextFormat::FontFamilies).toStringList();
    if (!families.isEmpty() && !families.first().isEmpty()) {
        key.family = families.first();
    } else if (format.hasProperty(QTextFormat::FontFamily)) {
        key.family = format.stringProperty(QTextFormat::FontFamily);
    }
    result.font = fontIndex(key);
    result.halfPoints = m_defaultHalfPoints;
    if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0) {
        result.halfPoints = int(std::lround(format.fontPointSize() * 2));
    } else if (format.hasProperty(QTextFormat::FontPixelSize) && format.intProperty(QTextFormat::FontPixelSize) > 0) {
        result.halfPoints = int(std::lround(format.intProperty(QTextFormat::FontPixelSize) * 1.5));
    }
    result.halfPoints = std::clamp(result.halfPoints, RtfTextFormat::MinHalfPoints, RtfTextFormat::MaxHalfPoints);
    result.bold = format.fontWeight() >= QFont::DemiBold;
    result.italic = format.fontItalic();
    result.underline = format.fontUnderline();
    result.strike = format.fontStrikeOut();
    if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush) {
        result.color = colorIndex(format.foreground().color());
    }
    if (format.hasProperty(QTextFormat::BackgroundBrush) && format.background().style() != Qt::NoBrush) {
        result.background = colorIndex(format.background().color());
    }
    return result;
}

void Writer::writeCharFormat(const QTextCharFormat &format)
{
    const RtfCharFormat next = normalized(format);
    if (next.font != m_char.font) {
        word("\\f", next.font);
    }
    if (next.halfPoints != m_char.halfPoints) {
        word("\\fs", next.halfPoints);
    }
    if (next.color != m_char.color) {
        word("\\cf", next.color);
    }
    if (next.background != m_char.background) {
        word("\\highlight", next.background);
    }
    if (next.bold != m_char.bold) {
        word(next.bold ? "\\b" : "\\b0");
    }
    if (next.italic != m_char.italic) {
        word(next.italic ? "\\i" : "\\i0");
    }
    if (next.underline != m_char.underline) {
        word(next.underline ? "\\ul" : "\\ulnone");
    }
    if (next.strike != m_char.strike) {
        word(next.strike ? "\\strike" : "\\strike0");
    }
    m_char = next;
}

int Writer::fontIndex(const FontKey &key)
{
    const auto [it, added] = m_fontIndex.try_emplace({key.family, key.charset}, int(m_fonts.size()));
    if (added) {
        m_fonts.push_back(key);
    }
    return it->second;
}

// Colour table entry 0 is "auto", so the colours count from 1.
int Writer::colorIndex(const QColor &color)
{
    const QRgb rgb = color.rgb() & RGB_MASK;
    const auto it = m_colorIndex.constFind(rgb);
    if (it != m_colorIndex.constEnd()) {
        return it.value();
    }
    m_colors.push_back(rgb);
    m_colorIndex.insert(rgb, int(m_colors.size()));
    return int(m_colors.size());
}

void Writer::word(const char *name)
{
    m_body += name;
    m_needDelimiter = true;
}

void Writer::word(const char *name, int param)
{
    m_body += name;
    m_body += QByteArray::number(param);
    m_needDelimiter = true;
}

void Writer::writeText(const QString &text)
{
    const int charset = m_fonts[std::size_t(m_char.font)].charset;
    escapedText(text, charset, m_body);
}

// Appends text in RTF form to out; keeps m_needDelimiter for the body.
void Writer::escapedText(const QString &text, int charset, QByteArray &out)
{
    static const char digits[] = "0123456789abcdef";
    const bool ansi = charset == 0 || charset == 1;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}') {
            out += '\\';
            out += char(u);
            m_needDelimiter = false;
        } else if (u == u'\t') {
            out += "\\tab";
            m_needDelimiter = true;
        } else if (u == kRtfLineBreak || u == u'\n' || u == u'\r' || u == QChar::ParagraphSeparator) {
            out += "\\line";
            m_needDelimiter = true;
        } else if (u == QChar::ObjectReplacementCharacter) {
            continue;
        } else if (u >= 0x20 && u < 0x7F) {
            if (m_needDelimiter) {
                out += ' ';
                m_needDelimiter = false;
            }
            out += char(u);
        } else {
            const int byte = u < 0x80 ? u : ansi ? CodePage::byteFor(u) : -1;
            if (byte >= 0) {
                out += "\\'";
                out += digits[byte >> 4];
                out += digits[byte & 15];
            } else {
                out += "\\u";
                out += QByteArray::number(u > 0x7FFF ? int(u) - 0x10000 : int(u));
                out += '?';
            }
            m_needDelimiter = false;
        }
    }
}

QByteArray Writer::header()
{
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl";
    for (std::size_t i = 0; i < m_fonts.size(); ++i) {
        out += "{\\f" + QByteArray::number(qulonglong(i)) + "\\fnil\\fcharset" +
               QByteArray::number(m_fonts[i].charset) + ' ';
        QString family = m_fonts[i].family;
        family.replace(QLatin1Char(';'), QLatin1Char(' '));
        m_needDelimiter = false;
        escapedText(family, m_fonts[i].charset, out);
        out += ";}";
    }
    out += "}\r\n";
    if (!m_colors.empty()) {
        out += "{\\colortbl ;";
        for (const QRgb rgb : m_colors) {
            out += "\\red" + QByteArray::number(qRed(rgb)) + "\\green" + QByteArray::number(qGreen(rgb)) +
                   "\\blue" + QByteArray::number(qBlue(rgb)) + ';';
        }
        out += "}\r\n";
    }
    return out;
}

} // namespace

QByteArray writeRtfDocument(const QTextDocument &document)
{
    return Writer(document).write();
}
