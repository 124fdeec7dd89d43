#pragma once

#include "document/TableElement.h"

#include <QByteArray>

#include <vector>

class Table;

// The working copy of a table element's grid: columns x rows of text cells (code-page
// bytes) and the texts of the bar's three boxes (column count, row count, default column
// width, as typed). Plain data, no widgets: the grid's model shows it, the table commands
// change it, TableStorage stores it into the element after every change.
//
// The grid is a window onto its stored cells: making it smaller hides the cells beyond
// its size without dropping them, so a count typed digit by digit (2, then 25) loses
// nothing; only what lies inside the grid is ever stored. Insert and remove shift the
// stored cells behind the place as well.
class TableGrid
{
public:
    // Sizes a typed number is held to: never fewer than one column or row, and never so
    // many cells that storing the grid (four bytes a cell at least) gets out of hand.
    static constexpr int MaxColumns = 16384;
    static constexpr int MaxRows = 1000000;
    static constexpr qint64 MaxCells = qint64(1) << 24;
    static constexpr int MaxWidth = 4096;
    // What a box gives when its text is not a number.
    static constexpr int FallbackColumns = 5;
    static constexpr int FallbackRows = 5;
    static constexpr int FallbackWidth = 60;

    // 5 x 5 empty cells, the boxes "5", "5", "60".
    TableGrid();

    int columnCount() const { return m_columns; }
    int rowCount() const { return m_rows; }
    int defaultWidth() const { return m_width; }
    bool contains(int column, int row) const;

    // The cell's text; empty outside the grid.
    const QByteArray &cell(int column, int row) const;
    // False (nothing stored) outside the grid.
    bool setCell(int column, int row, QByteArray text);

    // The boxes' texts, stored as they are in rows 0 to 2 of the element's table.
    const TableElement::GridSettings &barTexts() const { return m_bar; }
    // A box changed: its text is kept as typed and the grid takes its number (the
    // fallback when it is not a number), held to the limits. True when the grid's column
    // count (row count, default width) changed.
    bool setColumnsText(QByteArray text);
    bool setRowsText(QByteArray text);
    bool setWidthText(QByteArray text);
    // All three at once, as a stored table's settings are applied (columns first when
    // the cells would exceed the limit).
    void setBarTexts(const TableElement::GridSettings &texts);

    // Every cell empty, the hidden ones too (a reload starts afresh); the size stays.
    void clearAll();
    // Every cell of one row (column) empty; false when it is not in the grid.
    bool clearRow(int row);
    bool clearColumn(int column);
    // An empty row (column) where row (column) was, the others from there one further;
    // the row (column) box shows the new count. False outside the grid or at the limit.
    bool insertRow(int row);
    bool insertColumn(int column);
    // The row (column) goes, the ones after it move up (left); the box shows the new
    // count. The only row (column) is cleared instead. False outside the grid.
    bool removeRow(int row);
    bool removeColumn(int column);

    // The cells inside the grid as a table of the grid's size.
    Table toTable() const;
    // Can a grid have this size?
    static bool fits(qint64 columns, qint64 rows);
    // Sets the size (held to the limits); the column and row boxes show the new counts.
    void resize(int columns, int rows);

private:
    using Row = std::vector<QByteArray>;

    int heldColumns(int value) const;
    int heldRows(int value) const;
    void applySize(int columns, int rows);

    std::vector<Row> m_cells; // stored rows; a row may be shorter than the grid
    int m_columns = FallbackColumns;
    int m_rows = FallbackRows;
    int m_width = FallbackWidth;
    TableElement::GridSettings m_bar;
};
