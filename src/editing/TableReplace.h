#pragma once

#include <QByteArrayView>

#include <optional>

class TableGrid;

// Replace in one row or one column of the table grid. The replace position (a column
// and a row) walks along the row (column) with every Find, whether or not it finds,
// and starts again at 0 past the end. All tests are case-sensitive substring tests; an
// empty find text finds nothing.
class TableReplace
{
public:
    struct Cell {
        int column = 0;
        int row = 0;
        bool operator==(const Cell &) const = default;
    };

    // "Replace in row" (inRow) or "Replace in column" from the selection's top-left cell;
    // negative coordinates count as 0.
    void open(int column, int row, bool inRow);

    int column() const { return m_position.column; }
    int row() const { return m_position.row; }
    bool inRow() const { return m_inRow; }

    // The first cell from the position on, along the row (column), that contains what;
    // the position takes its column (row), which the window scrolls to. Then the position
    // moves on by one, to 0 past the last column (row).
    std::optional<Cell> find(const TableGrid &grid, QByteArrayView what);

    struct Replaced {
        std::optional<Cell> found;
        bool changed = false; // the window stores the table and sets the modified flag
    };
    // Find, then every occurrence of what in the cell found becomes with.
    Replaced replace(TableGrid &grid, QByteArrayView what, QByteArrayView with);
    // Every occurrence in every cell of the position's row (column); the cells changed.
    int replaceAll(TableGrid &grid, QByteArrayView what, QByteArrayView with);

private:
    bool replaceIn(TableGrid &grid, Cell cell, QByteArrayView what, QByteArrayView with) const;

    Cell m_position;
    bool m_inRow = false;
};
