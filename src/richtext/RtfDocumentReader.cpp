#include "RtfDocumentReader.h"

#include "RtfParser.h"
#include "RtfTextFormat.h"
#include "platform/CodePage.h"

#include <QColor>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace {

QColor toQColor(const RtfColor &color)
{
    return QColor(color.red, color.green, color.blue);
}

QTextCharFormat charFormat(const RtfCharFormat &format, const RtfContent &content)
{
    QTextCharFormat result;
    if (const RtfFont *font = content.font(format.font < 0 ? content.defaultFont : format.font)) {
        if (!font->family.isEmpty()) {
            result.setFontFamilies(QStringList(font->family));
        }
        if (font->charset > 0) {
            result.setProperty(RtfTextFormat::CharsetProperty, font->charset);
        }
    }
    const int halfPoints = std::clamp(format.halfPoints, RtfTextFormat::MinHalfPoints, RtfTextFormat::MaxHalfPoints);
    result.setFontPointSize(halfPoints / 2.0);
    if (format.bold) {
        result.setFontWeight(QFont::Bold);
    }
    if (format.italic) {
        result.setFontItalic(true);
    }
    if (format.underline) {
        result.setFontUnderline(true);
    }
    if (format.strike) {
        result.setFontStrikeOut(true);
    }
    if (const RtfColor *color = content.color(format.color)) {
        result.setForeground(toQColor(*color));
    }
    if (format.background > 0) {
        if (const RtfColor *color = content.color(format.background)) {
            result.setBackground(toQColor(*color));
        }
    }
    return result;
}

QTextBlockFormat blockFormat(const RtfParaFormat &format)
{
    QTextBlockFormat result;
    switch (format.alignment) {
    case RtfAlignment::Left:
        break;
    case RtfAlignment::Center:
        result.setAlignment(Qt::AlignHCenter);
        break;
    case RtfAlignment::Right:
        result.setAlignment(Qt::AlignRight);
        break;
    case RtfAlignment::Justify:
        result.setAlignment(Qt::AlignJustify);
        break;
    }
    if (format.leftIndent != 0) {
        result.setLeftMargin(format.leftIndent / RtfTextFormat::TwipsPerPixel);
    }
    if (format.rightIndent != 0) {
        result.setRightMargin(format.rightIndent / RtfTextFormat::TwipsPerPixel);
    }
    if (format.firstLineIndent != 0) {
        result.setTextIndent(format.firstLineIndent / RtfTextFormat::TwipsPerPixel);
    }
    return result;
}

// Line ends that came in as characters (\'0d, \u10 ...) must not split the block.
QString inlineText(QString text)
{
    for (QChar &c : text) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::ParagraphSeparator) {
            c = QChar(kRtfLineBreak);
        }
    }
    return text;
}

void fillPlainText(const QByteArray &stored, QTextDocument &document)
{
    QString text = CodePage::toUnicode(stored);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    document.setPlainText(text);
}

} // namespace

void fillDocument(const RtfContent &content, QTextDocument &document)
{
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    QTextCursor cursor(&document);
    cursor.beginEditBlock(); // one change for the layout, not one per run
    bool first = true;
    for (const RtfParagraph &paragraph : content.paragraphs) {
        const QTextBlockFormat format = blockFormat(paragraph.format);
        if (first) {
            cursor.setBlockFormat(format);
            first = false;
        } else {
            cursor.insertBlock(format, QTextCharFormat());
        }
        for (const RtfRun &run : paragraph.runs) {
            cursor.insertText(inlineText(run.text), charFormat(run.format, content));
        }
    }
    cursor.endEditBlock();
    document.setUndoRedoEnabled(undo);
    document.setModified(false);
}

void readRtfDocument(const QByteArray &stored, QTextDocument &document)
{
    if (!looksLikeRtf(stored)) {
        const bool undo = document.isUndoRedoEnabled();
        document.setUndoRedoEnabled(false);
        fillPlainText(stored, document);
        document.setUndoRedoEnabled(undo);
        document.setModified(false);
        return;
    }
    fillDocument(parseRtf(stored), document);
}
