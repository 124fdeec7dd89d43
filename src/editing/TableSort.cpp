#include "TableSort.h"

#include "TableGrid.h"
#include "TableStorage.h"
#include "document/ElementTree.h"
#include "document/Table.h"

#include <algorithm>

namespace TableSort {

int fieldValue(QStringView text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value >= 1 ? value : 1;
}

int proposedEndRow(const TableGrid &grid)
{
    for (int r = 0; r < grid.rowCount(); ++r) {
        if (grid.cell(0, r).isEmpty()) {
            return r;
        }
    }
    return grid.rowCount();
}

std::optional<StoredRange> storedRangeFor(const Request &request, int storedColumns, int storedRows)
{
    // Grid row n (from 1) is stored row n + 2; fields below 1 count as 1.
    const int column = std::max(1, request.column) - 1;
    const qint64 from = qint64(std::max(1, request.startRow)) + 2;
    const qint64 to = std::min<qint64>(qint64(std::max(1, request.endRow)) + 2, storedRows - 1);
    if (column >= storedColumns || from >= to) {
        return std::nullopt;
    }
    return StoredRange{column, int(from), int(to)};
}

bool sortStored(Table &stored, const Request &request)
{
    const std::optional<StoredRange> range = storedRangeFor(request, stored.columnCount(), stored.rowCount());
    return range && stored.sort(range->column, request.ascending, range->fromRow, range->toRow, true);
}

bool sortTableData(ElementTree &tree, ElementNode *node, const Request &request, const Clock &clock)
{
    if (!node || node->kind() != KindTable || !node->data().Blob) {
        return false;
    }
    Table stored;
    const QByteArray &blob = *node->data().Blob;
    if (!stored.readBinary(blob)) {
        stored.clear(true);
        if (!stored.readText(blob)) {
            return false;
        }
    }
    if (!sortStored(stored, request)) {
        return false;
    }
    return TableStorage::storeStream(tree, node, stored.writeBinary(), clock);
}

} // namespace TableSort
