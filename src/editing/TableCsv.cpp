#include "TableCsv.h"

#include "TableGrid.h"
#include "document/Table.h"

#include <algorithm>
#include <utility>

namespace TableCsv {

namespace {

// Rows taken between two progress reports.
constexpr int kProgressRows = 4096;

} // namespace

ImportResult importFile(TableGrid &grid, const QString &path, const Progress &progress)
{
    // Measured before it is read: a grid that the table cannot hold is refused before
    // any memory goes to it.
    Table::CsvLimits limits;
    limits.columns = TableGrid::MaxColumns;
    limits.rows = TableGrid::MaxRows;
    limits.cells = std::min(TableGrid::MaxCells, Table::MaxCsvCells);
    Table table;
    Table::CsvProblem problem = Table::CsvProblem::None;
    if (!table.importCsv(path, true, limits, &problem)) {
        return problem == Table::CsvProblem::TooLarge ? ImportResult::TooLarge : ImportResult::Unreadable;
    }
    const int columns = std::max(1, table.columnCount());
    const int rows = std::max(1, table.rowCount());
    // Filled aside: a cancelled import leaves the grid as it was.
    TableGrid imported;
    imported.setWidthText(grid.barTexts().width);
    imported.resize(columns, rows);
    for (int r = 0; r < table.rowCount(); ++r) {
        if (progress && r % kProgressRows == 0 && !progress(r, rows)) {
            return ImportResult::Cancelled;
        }
        for (int c = 0; c < table.columnCount(); ++c) {
            if (table.cellLength(c, r) > 0) {
                imported.setCell(c, r, table.takeCell(c, r));
            }
        }
    }
    if (progress && !progress(rows, rows)) {
        return ImportResult::Cancelled;
    }
    grid = std::move(imported);
    return ImportResult::Imported;
}

bool exportFile(const TableGrid &grid, const QString &path, SecretFile::Failure *failure)
{
    Table table = grid.toTable();
    return table.exportCsv(path, failure);
}

} // namespace TableCsv
