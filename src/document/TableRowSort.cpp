// Row sorting: a three-way quicksort whose treatment of equal keys decides the order in
// which rows with equal keys end up, an order users see and that must not change.
#include "Table.h"
#include "TableGuard.h"

#include <cstring>
#include <new>
#include <utility>

namespace {

// Byte strings compare by unsigned bytes, then by length: a prefix sorts first.
int compareKeys(const QByteArray &a, const QByteArray &b)
{
    const qsizetype common = std::min(a.size(), b.size());
    const int bytes = common == 0 ? 0 : std::memcmp(a.constData(), b.constData(), size_t(common));
    if (bytes != 0) {
        return bytes;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

// Lowercases A-Z only, as the C library does in its default locale.
QByteArray lowered(const QByteArray &text)
{
    QByteArray key = text;
    for (qsizetype i = 0; i < key.size(); ++i) {
        if (key.at(i) >= 'A' && key.at(i) <= 'Z') {
            key[i] = char(key.at(i) + ('a' - 'A'));
        }
    }
    return key;
}

} // namespace

bool Table::sort(int column, bool ascending, int fromRow, int toRow, bool ignoreCase)
{
    ExclusiveHold hold(*this);
    if (!hold) {
        return false;
    }
    m_modified = true;
    const int lastRow = m_rowCount - 1;
    if (fromRow < 0 || fromRow > lastRow) {
        fromRow = 0;
    }
    if (toRow < 0 || toRow > lastRow) {
        toRow = lastRow;
    }
    if (fromRow >= toRow) {
        return true;
    }
    try {
        // Rows inside the logical size but not stored take part as empty stored rows; a
        // row with no cells writes the same stream as a row that is not stored.
        if (m_rows.size() <= size_t(toRow)) {
            m_rows.resize(size_t(toRow) + 1);
        }
        // The keys are taken once and travel with their rows.
        std::vector<QByteArray> keys;
        keys.reserve(size_t(toRow - fromRow + 1));
        for (int r = fromRow; r <= toRow; ++r) {
            const Row &cells = m_rows[size_t(r)];
            const QByteArray key = column >= 0 && size_t(column) < cells.size() ? cells[size_t(column)] : QByteArray();
            keys.push_back(ignoreCase ? lowered(key) : key);
        }
        sortRange(keys, fromRow, fromRow, toRow, ascending);
    } catch (const std::bad_alloc &) {
        return false;
    }
    return true;
}

// Partitions [lo, hi] around the key of row (lo + hi) / 2 into rows before it, rows equal
// to it and rows after it, then sorts the outer parts. The smaller part is sorted by
// recursion and the larger by the loop, so the depth stays below log2 of the row count
// (the parts are disjoint, so the order of the two calls does not change the result).
void Table::sortRange(std::vector<QByteArray> &keys, int base, int lo, int hi, bool ascending)
{
    auto key = [&](int row) -> const QByteArray & { return keys[size_t(row - base)]; };
    auto swapRows = [&](int a, int b) {
        if (a != b) {
            std::swap(m_rows[size_t(a)], m_rows[size_t(b)]);
            std::swap(keys[size_t(a - base)], keys[size_t(b - base)]);
        }
    };
    const int direction = ascending ? 1 : -1;
    while (lo < hi) {
        const QByteArray pivot = key(lo + (hi - lo) / 2);
        int lt = lo;
        int i = lo;
        int gt = hi;
        while (i <= gt) {
            if (direction * compareKeys(key(gt), pivot) > 0) {
                --gt;
                continue;
            }
            swapRows(i, gt);
            if (direction * compareKeys(key(i), pivot) < 0) {
                swapRows(lt, i);
                ++lt;
            }
            ++i;
        }
        if (lt - 1 - lo < hi - (gt + 1)) {
            sortRange(keys, base, lo, lt - 1, ascending);
            lo = gt + 1;
        } else {
            sortRange(keys, base, gt + 1, hi, ascending);
            hi = lt - 1;
        }
    }
}
