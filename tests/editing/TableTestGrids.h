#pragma once

#include "OpsTestTrees.h"
#include "editing/TableGrid.h"
#include "editing/TableStorage.h"
#include "document/TableElement.h"
#include "document/Table.h"

#include <QByteArray>
#include <QList>

namespace vaultbase::test::ops {

// A table element's record holding rows (all of one width) under the bar texts of settings.
inline ElementData tableData(const TableElement::GridSettings &settings, const QList<QList<QByteArray>> &rows)
{
    Table table;
    table.initSize(int(rows.first().size()), int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            table.setCell(c, r, rows[r][c]);
        }
    }
    ElementData data = textData({});
    data.Content.clear();
    data.setBlob(TableElement::buildStream(settings, table));
    return data;
}

// The grid stored in a table element.
inline TableGrid storedGrid(const ElementNode *node)
{
    TableGrid grid;
    TableStorage::loadTable(grid, node->data());
    return grid;
}

// A grid's rows, cells joined by ",", rows by separator.
inline QByteArray gridText(const TableGrid &grid, char separator = '/')
{
    QList<QByteArray> rows;
    for (int r = 0; r < grid.rowCount(); ++r) {
        QList<QByteArray> cells;
        for (int c = 0; c < grid.columnCount(); ++c) {
            cells.append(grid.cell(c, r));
        }
        rows.append(cells.join(','));
    }
    return rows.join(separator);
}

} // namespace vaultbase::test::ops
