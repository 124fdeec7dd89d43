#include "TableStorage.h"

#include "TableGrid.h"
#include "document/ElementTree.h"
#include "document/TableElement.h"
#include "document/Table.h"
#include "platform/Clock.h"
#include "platform/SecureMemory.h"

#include <algorithm>
#include <optional>

namespace TableStorage {

QByteArray buildStream(const TableGrid &grid)
{
    return TableElement::buildStream(grid.barTexts(), grid.toTable());
}

bool storeStream(ElementTree &tree, ElementNode *node, QByteArray stream, const Clock &clock)
{
    if (!node || node->kind() != KindTable || stream.isEmpty()) {
        return false;
    }
    ElementData record;
    record.Created = node->data().Created;
    record.Modified = timeText(clock.now());
    record.setBlob(std::move(stream));
    // The old stream holds the table's texts: wiped, not just freed.
    std::optional<QByteArray> old = std::move(node->data().Blob);
    tree.replaceData(node, std::move(record));
    if (old) {
        SecureMemory::wipe(*old);
    }
    return true;
}

bool storeTable(ElementTree &tree, ElementNode *node, const TableGrid &grid, const Clock &clock)
{
    return node && node->kind() == KindTable && storeStream(tree, node, buildStream(grid), clock);
}

bool loadTable(TableGrid &grid, const ElementData &record)
{
    grid.clearAll();
    if (!record.Blob) {
        return false;
    }
    TableElement::GridSettings texts = grid.barTexts();
    Table stored;
    if (!TableElement::read(*record.Blob, texts, stored)) {
        return false;
    }
    grid.setBarTexts(texts);
    const int rows = std::min(stored.rowCount(), grid.rowCount());
    const int columns = std::min(stored.columnCount(), grid.columnCount());
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            if (stored.cellLength(c, r) > 0) {
                grid.setCell(c, r, stored.takeCell(c, r));
            }
        }
    }
    return true;
}

} // namespace TableStorage
