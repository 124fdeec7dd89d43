#include "TerminalText.h"

#include "platform/CodePage.h"

QByteArray terminalText(const QByteArray &stored, bool keepLineEnds)
{
    return terminalUnicodeText(CodePage::toUnicode(stored), keepLineEnds);
}

QByteArray terminalUnicodeText(QString text, bool keepLineEnds)
{
    if (!keepLineEnds) {
        text.replace(QLatin1StringView("\r\n"), QLatin1StringView("\n"));
    }
    for (QChar &c : text) {
        const bool lineEnd = c == u'\n' || (keepLineEnds && c == u'\r');
        if (c.category() == QChar::Other_Control && c != u'\t' && !lineEnd) {
            c = u'?';
        }
    }
    return text.toUtf8();
}
