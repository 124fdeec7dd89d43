#include "PlainText.h"

#include "RtfParser.h"
#include "platform/CodePage.h"

QString PlainTextOfContent(const RtfContent &content)
{
    QString text;
    for (const RtfParagraph &paragraph : content.paragraphs) {
        for (const RtfRun &run : paragraph.runs) {
            text += run.text;
        }
        if (paragraph.closed) {
            text += QLatin1Char('\n');
        }
    }
    text.replace(QChar(kRtfLineBreak), QLatin1Char('\n'));
    return text;
}

QString PlainUnicodeTextOf(const QByteArray &stored)
{
    if (!LooksLikeRtf(stored)) {
        return CodePage::toUnicode(stored);
    }
    return PlainTextOfContent(ParseRtf(stored));
}

QByteArray PlainTextOf(const QByteArray &stored)
{
    if (!LooksLikeRtf(stored)) {
        return stored;
    }
    const QString text = PlainTextOfContent(ParseRtf(stored));
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const int byte = CodePage::byteFor(c.unicode());
        bytes += byte < 0 ? '?' : static_cast<char>(byte);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i; // one character, one '?'
        }
    }
    return bytes;
}
