#include "PrintRange.h"

QList<int> printRangeChoices(int count)
{
    QList<int> choices;
    for (int k = 1; k <= std::min(10, count); ++k) {
        choices.append(k);
    }
    for (int k = 10 + count / 15 + 1; k < count; k += count / 15 + 1) {
        choices.append(k);
    }
    if (count > 0 && choices.last() != count) {
        choices.append(count);
    }
    return choices;
}

ElementRange printRangeFromTexts(const QString &from, const QString &to, int count)
{
    bool ok = false;
    const int fromNumber = from.trimmed().toInt(&ok);
    ElementRange range;
    range.first = (ok ? fromNumber : 0) - 1;
    if (range.first < 0 || range.first >= count) {
        range.first = 0;
    }
    const int toNumber = to.trimmed().toInt(&ok);
    range.end = ok ? toNumber : count;
    if (range.end < 0 || range.end > count || range.end < range.first) {
        range.end = count;
    }
    return range;
}
