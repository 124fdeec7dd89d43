#include "TextSearch.h"

namespace TextSearch {

namespace {

bool isWholeWord(QStringView text, qsizetype at, qsizetype length)
{
    const bool before = at > 0 && isWordChar(text[at - 1]);
    const bool after = at + length < text.size() && isWordChar(text[at + length]);
    return !before && !after;
}

// The first hit that lies wholly inside [from, to), or -1.
qsizetype firstHit(QStringView text, QStringView what, qsizetype from, qsizetype to, const Options &options)
{
    const Qt::CaseSensitivity cs = options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const QStringView range = text.first(to);
    for (qsizetype at = range.indexOf(what, from, cs); at >= 0; at = range.indexOf(what, at + 1, cs)) {
        if (!options.wholeWord || isWholeWord(text, at, what.size())) {
            return at;
        }
    }
    return -1;
}

} // namespace

qsizetype startPosition(qsizetype selectionStart, qsizetype selectionLength)
{
    return selectionLength > 0 ? selectionStart + selectionLength : 0;
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

qsizetype findText(QStringView text, QStringView what, qsizetype start, const Options &options)
{
    const qsizetype length = what.size();
    if (length == 0 || start < 0 || start > text.size()) {
        return -1;
    }
    if (options.down) {
        return firstHit(text, what, start, text.size(), options);
    }
    // Walk the hits in [p, limit), each one moving p past itself; the last one counts.
    const qsizetype limit = start - length;
    qsizetype result = -1;
    for (qsizetype p = 0; p < limit;) {
        const qsizetype hit = firstHit(text, what, p, limit, options);
        if (hit < 0) {
            break;
        }
        result = hit;
        p = hit + length;
    }
    return result;
}

} // namespace TextSearch
