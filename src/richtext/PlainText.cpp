#include "PlainText.h"

#include "RtfParser.h"
#include "platform/CodePage.h"

namespace {

qsizetype plainLength(const RtfContent &content)
{
    qsizetype length = 0;
    for (const RtfParagraph &paragraph : content.paragraphs) {
        for (const RtfRun &run : paragraph.runs) {
            length += run.text.size();
        }
        length += paragraph.closed ? 1 : 0;
    }
    return length;
}

// Windows writes a character its code page lacks as one '?'.
QByteArray toCodePage(const QString &text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *next = bytes.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const int byte = CodePage::byteFor(c.unicode());
        *next++ = byte < 0 ? '?' : static_cast<char>(byte);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
        }
    }
    bytes.truncate(next - bytes.constData());
    return bytes;
}

} // namespace

QString plainTextOfContent(const RtfContent &content)
{
    QString text(plainLength(content), Qt::Uninitialized);
    QChar *next = text.data();
    for (const RtfParagraph &paragraph : content.paragraphs) {
        for (const RtfRun &run : paragraph.runs) {
            for (const QChar c : run.text) {
                *next++ = c == QChar(kRtfLineBreak) ? QChar(u'\n') : c;
            }
        }
        if (paragraph.closed) {
            *next++ = QChar(u'\n');
        }
    }
    return text;
}

QString plainUnicodeTextOf(const QByteArray &stored)
{
    if (!looksLikeRtf(stored)) {
        return CodePage::toUnicode(stored);
    }
    return plainTextOfContent(parseRtf(stored));
}

QByteArray plainTextOf(const QByteArray &stored)
{
    if (!looksLikeRtf(stored)) {
        return stored;
    }
    return toCodePage(plainTextOfContent(parseRtf(stored)));
}
