#include "TerminalText.h"

#include "platform/CodePage.h"

QByteArray terminalText(const QByteArray &stored, bool keepLineEnds)
{
    QByteArray lines = stored;
    if (!keepLineEnds) {
        lines.replace("\r\n", "\n");
    }
    QString text = CodePage::toUnicode(lines);
    for (QChar &c : text) {
        const bool lineEnd = c == u'\n' || (keepLineEnds && c == u'\r');
        if (c.category() == QChar::Other_Control && c != u'\t' && !lineEnd) {
            c = u'?';
        }
    }
    return text.toUtf8();
}
