#include "TableCsv.h"

#include "TableGrid.h"
#include "document/class_table.h"

#include <algorithm>
#include <utility>

namespace TableCsv {

namespace {

// Rows taken between two progress reports.
constexpr int kProgressRows = 4096;

} // namespace

ImportResult Import(TableGrid &grid, const QString &path, const Progress &progress)
{
    // Measured before it is read: a grid that the table cannot hold is refused before
    // any memory goes to it.
    class_table::CsvLimits limits;
    limits.columns = TableGrid::MaxColumns;
    limits.rows = TableGrid::MaxRows;
    limits.cells = std::min(TableGrid::MaxCells, class_table::MaxCsvCells);
    class_table table;
    class_table::CsvProblem problem = class_table::CsvProblem::None;
    if (!table.ImportCsv(path, true, limits, &problem)) {
        return problem == class_table::CsvProblem::TooLarge ? ImportResult::TooLarge : ImportResult::Unreadable;
    }
    const int columns = std::max(1, table.ColumnCount());
    const int rows = std::max(1, table.RowCount());
    // Filled aside: a cancelled import leaves the grid as it was.
    TableGrid imported;
    imported.setWidthText(grid.barTexts().width);
    imported.resize(columns, rows);
    for (int r = 0; r < table.RowCount(); ++r) {
        if (progress && r % kProgressRows == 0 && !progress(r, rows)) {
            return ImportResult::Cancelled;
        }
        for (int c = 0; c < table.ColumnCount(); ++c) {
            if (table.CellLength(c, r) > 0) {
                imported.setCell(c, r, table.TakeCell(c, r));
            }
        }
    }
    if (progress && !progress(rows, rows)) {
        return ImportResult::Cancelled;
    }
    grid = std::move(imported);
    return ImportResult::Imported;
}

bool Export(const TableGrid &grid, const QString &path)
{
    class_table table = grid.toTable();
    return table.ExportCsv(path);
}

} // namespace TableCsv
