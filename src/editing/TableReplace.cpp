#include "TableReplace.h"

#include "TableGrid.h"

#include <algorithm>

void TableReplace::open(int column, int row, bool inRow)
{
    m_position = Cell{std::max(0, column), std::max(0, row)};
    m_inRow = inRow;
}

std::optional<TableReplace::Cell> TableReplace::find(const TableGrid &grid, QByteArrayView what)
{
    int &index = m_inRow ? m_position.column : m_position.row;
    const int count = m_inRow ? grid.columnCount() : grid.rowCount();
    std::optional<Cell> found;
    if (!what.isEmpty()) {
        for (int i = index; i < count; ++i) {
            const Cell cell = m_inRow ? Cell{i, m_position.row} : Cell{m_position.column, i};
            if (grid.cell(cell.column, cell.row).contains(what)) {
                found = cell;
                index = i;
                break;
            }
        }
    }
    ++index;
    if (index >= count) {
        index = 0;
    }
    return found;
}

bool TableReplace::replaceIn(TableGrid &grid, Cell cell, QByteArrayView what, QByteArrayView with) const
{
    // Replacing a text by itself changes nothing; any other replacement that finds the
    // text changes the cell, so the result need not be compared with the old one.
    const QByteArray &text = grid.cell(cell.column, cell.row);
    if (what.isEmpty() || what == with || !text.contains(what)) {
        return false;
    }
    QByteArray replaced = text;
    replaced.replace(what, with);
    return grid.setCell(cell.column, cell.row, std::move(replaced));
}

TableReplace::Replaced TableReplace::replace(TableGrid &grid, QByteArrayView what, QByteArrayView with)
{
    Replaced result;
    result.found = find(grid, what);
    result.changed = result.found && replaceIn(grid, *result.found, what, with);
    return result;
}

int TableReplace::replaceAll(TableGrid &grid, QByteArrayView what, QByteArrayView with)
{
    const int count = m_inRow ? grid.columnCount() : grid.rowCount();
    int changed = 0;
    for (int i = 0; i < count; ++i) {
        const Cell cell = m_inRow ? Cell{i, m_position.row} : Cell{m_position.column, i};
        changed += replaceIn(grid, cell, what, with) ? 1 : 0;
    }
    return changed;
}
