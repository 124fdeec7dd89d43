#pragma once

#include <QList>
#include <QString>

// The preview's range of elements ("Print selection"), numbered from 1 in the tree's
// absolute order.

// The numbers the From and To lists offer for n elements: 1 to 10, then steps that grow
// with n (after each value k above 9 comes k + n / 15 + 1), always ending with n.
QList<int> printRangeChoices(int count);

// The range the two lists' texts give, as first index (inclusive) and end (exclusive):
// From less one (a text that is no number counts as 0), 0 when negative or beyond count;
// To (a text that is no number counts as count), count when negative, beyond count or
// below first.
struct ElementRange {
    int first = 0;
    int end = 0;

    bool operator==(const ElementRange &) const = default;
};
ElementRange printRangeFromTexts(const QString &from, const QString &to, int count);
