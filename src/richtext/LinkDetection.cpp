#include "LinkDetection.h"

#include <array>

namespace {

constexpr std::array<QLatin1StringView, 6> kPrefixes = {
    QLatin1StringView("http://"), QLatin1StringView("https://"), QLatin1StringView("ftp://"),
    QLatin1StringView("file://"), QLatin1StringView("mailto:"),  QLatin1StringView("www."),
};

bool continuesWord(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('.') || c == QLatin1Char('@') ||
           c == QLatin1Char('/');
}

bool endsLink(QChar c)
{
    switch (c.unicode()) {
    case u'"':
    case u'\'':
    case u'<':
    case u'>':
    case 0x00AB: // angle quotes
    case 0x00BB:
    case 0x2018: // curly quotes
    case 0x2019:
    case 0x201C:
    case 0x201D:
    case 0x2039:
    case 0x203A:
    case 0xFFFC: // an embedded object
        return true;
    default:
        return c.isSpace() || c.category() == QChar::Other_Control;
    }
}

bool isTrailingPunctuation(QChar c)
{
    switch (c.unicode()) {
    case u'.':
    case u',':
    case u';':
    case u':':
    case u'!':
    case u'?':
        return true;
    default:
        return false;
    }
}

// The length of the link prefix at position, 0 when none starts there.
qsizetype prefixAt(QStringView text, qsizetype position)
{
    const QStringView rest = text.sliced(position);
    for (const QLatin1StringView prefix : kPrefixes) {
        if (rest.startsWith(prefix, Qt::CaseInsensitive)) {
            return prefix.size();
        }
    }
    return 0;
}

// Drops trailing punctuation and unpaired closing brackets; never below bodyStart.
qsizetype trimmedEnd(QStringView text, qsizetype start, qsizetype bodyStart, qsizetype end)
{
    int openParen = 0;
    int closeParen = 0;
    int openBracket = 0;
    int closeBracket = 0;
    for (qsizetype i = start; i < end; ++i) {
        const QChar c = text[i];
        openParen += c == QLatin1Char('(');
        closeParen += c == QLatin1Char(')');
        openBracket += c == QLatin1Char('[');
        closeBracket += c == QLatin1Char(']');
    }
    while (end > bodyStart) {
        const QChar last = text[end - 1];
        if (isTrailingPunctuation(last)) {
            --end;
        } else if (last == QLatin1Char(')') && closeParen > openParen) {
            --closeParen;
            --end;
        } else if (last == QLatin1Char(']') && closeBracket > openBracket) {
            --closeBracket;
            --end;
        } else {
            break;
        }
    }
    return end;
}

// The link starting at position, or an empty range.
LinkRange linkAt(QStringView text, qsizetype position)
{
    if (position > 0 && continuesWord(text[position - 1])) {
        return {};
    }
    const qsizetype prefix = prefixAt(text, position);
    if (prefix == 0) {
        return {};
    }
    const qsizetype bodyStart = position + prefix;
    if (text[position].toLower() == QLatin1Char('w') &&
        (bodyStart >= text.size() || !text[bodyStart].isLetterOrNumber())) {
        return {};
    }
    qsizetype end = bodyStart;
    while (end < text.size() && !endsLink(text[end])) {
        ++end;
    }
    end = trimmedEnd(text, position, bodyStart, end);
    if (end == bodyStart) {
        return {};
    }
    return {position, end - position};
}

bool mayStartLink(QChar c)
{
    switch (c.unicode()) {
    case u'h':
    case u'H':
    case u'f':
    case u'F':
    case u'm':
    case u'M':
    case u'w':
    case u'W':
        return true;
    default:
        return false;
    }
}

} // namespace

QList<LinkRange> findLinks(QStringView text)
{
    QList<LinkRange> links;
    qsizetype i = 0;
    while (i < text.size()) {
        if (mayStartLink(text[i])) {
            const LinkRange link = linkAt(text, i);
            if (link.length > 0) {
                links.append(link);
                i = link.end();
                continue;
            }
        }
        ++i;
    }
    return links;
}

std::optional<LinkRange> findLinkAt(QStringView text, qsizetype position)
{
    for (const LinkRange &link : findLinks(text)) {
        if (position < link.start) {
            break;
        }
        if (position < link.end()) {
            return link;
        }
    }
    return std::nullopt;
}

QString linkUrl(QStringView linkText)
{
    if (linkText.startsWith(QLatin1StringView("www."), Qt::CaseInsensitive)) {
        QString url = QStringLiteral("http://");
        url += linkText;
        return url;
    }
    return linkText.toString();
}

QString linkUrl(QStringView text, LinkRange range)
{
    if (range.start < 0 || range.length <= 0 || range.end() > text.size()) {
        return QString();
    }
    return linkUrl(text.sliced(range.start, range.length));
}
