#include "TableGrid.h"

#include "document/Table.h"

#include <algorithm>
#include <utility>

namespace {

const QByteArray kEmpty;

} // namespace

TableGrid::TableGrid() = default;

bool TableGrid::contains(int column, int row) const
{
    return column >= 0 && column < m_columns && row >= 0 && row < m_rows;
}

const QByteArray &TableGrid::cell(int column, int row) const
{
    if (!contains(column, row) || size_t(row) >= m_cells.size()) {
        return kEmpty;
    }
    const Row &cells = m_cells[size_t(row)];
    return size_t(column) < cells.size() ? cells[size_t(column)] : kEmpty;
}

bool TableGrid::setCell(int column, int row, QByteArray text)
{
    if (!contains(column, row)) {
        return false;
    }
    if (text.isEmpty() && cell(column, row).isEmpty()) {
        return true; // nothing to store: an empty cell need not exist
    }
    if (m_cells.size() <= size_t(row)) {
        m_cells.resize(size_t(row) + 1);
    }
    Row &cells = m_cells[size_t(row)];
    if (cells.size() <= size_t(column)) {
        cells.resize(size_t(column) + 1);
    }
    cells[size_t(column)] = std::move(text);
    return true;
}

int TableGrid::heldColumns(int value) const
{
    const qint64 byCells = MaxCells / std::max(1, m_rows);
    return int(std::clamp<qint64>(value, 1, std::min<qint64>(MaxColumns, byCells)));
}

int TableGrid::heldRows(int value) const
{
    const qint64 byCells = MaxCells / std::max(1, m_columns);
    return int(std::clamp<qint64>(value, 1, std::min<qint64>(MaxRows, byCells)));
}

bool TableGrid::setColumnsText(QByteArray text)
{
    const int columns = heldColumns(TableElement::settingValue(text, FallbackColumns));
    m_bar.columns = std::move(text);
    return std::exchange(m_columns, columns) != columns;
}

bool TableGrid::setRowsText(QByteArray text)
{
    const int rows = heldRows(TableElement::settingValue(text, FallbackRows));
    m_bar.rows = std::move(text);
    return std::exchange(m_rows, rows) != rows;
}

bool TableGrid::setWidthText(QByteArray text)
{
    const int width = std::clamp(TableElement::settingValue(text, FallbackWidth), 1, MaxWidth);
    m_bar.width = std::move(text);
    return std::exchange(m_width, width) != width;
}

void TableGrid::setBarTexts(const TableElement::GridSettings &texts)
{
    m_bar = texts;
    applySize(TableElement::settingValue(texts.columns, FallbackColumns),
              TableElement::settingValue(texts.rows, FallbackRows));
    m_width = std::clamp(TableElement::settingValue(texts.width, FallbackWidth), 1, MaxWidth);
}

void TableGrid::applySize(int columns, int rows)
{
    // Both at once: held one after the other against the old size, a wide grid that
    // becomes a long one would keep too few columns.
    m_columns = std::clamp(columns, 1, MaxColumns);
    m_rows = heldRows(rows);
}

void TableGrid::clearAll()
{
    m_cells.clear();
}

bool TableGrid::clearRow(int row)
{
    if (!contains(0, row)) {
        return false;
    }
    if (size_t(row) < m_cells.size()) {
        m_cells[size_t(row)].clear();
    }
    return true;
}

bool TableGrid::clearColumn(int column)
{
    if (!contains(column, 0)) {
        return false;
    }
    for (Row &cells : m_cells) {
        if (size_t(column) < cells.size()) {
            cells[size_t(column)] = QByteArray();
        }
    }
    return true;
}

bool TableGrid::insertRow(int row)
{
    if (!contains(0, row) || heldRows(m_rows + 1) != m_rows + 1) {
        return false;
    }
    if (size_t(row) < m_cells.size()) {
        m_cells.insert(m_cells.begin() + row, Row());
    }
    ++m_rows;
    m_bar.rows = QByteArray::number(m_rows);
    return true;
}

bool TableGrid::insertColumn(int column)
{
    if (!contains(column, 0) || heldColumns(m_columns + 1) != m_columns + 1) {
        return false;
    }
    for (Row &cells : m_cells) {
        if (size_t(column) < cells.size()) {
            cells.insert(cells.begin() + column, QByteArray());
        }
    }
    ++m_columns;
    m_bar.columns = QByteArray::number(m_columns);
    return true;
}

bool TableGrid::removeRow(int row)
{
    if (!contains(0, row)) {
        return false;
    }
    if (m_rows == 1) {
        // The grid keeps one row: the hidden ones below must not move into it.
        clearRow(row);
    } else {
        if (size_t(row) < m_cells.size()) {
            m_cells.erase(m_cells.begin() + row);
        }
        --m_rows;
    }
    m_bar.rows = QByteArray::number(m_rows);
    return true;
}

bool TableGrid::removeColumn(int column)
{
    if (!contains(column, 0)) {
        return false;
    }
    if (m_columns == 1) {
        clearColumn(column);
    } else {
        for (Row &cells : m_cells) {
            if (size_t(column) < cells.size()) {
                cells.erase(cells.begin() + column);
            }
        }
        --m_columns;
    }
    m_bar.columns = QByteArray::number(m_columns);
    return true;
}

Table TableGrid::toTable() const
{
    Table table;
    table.initSize(m_columns, m_rows);
    const size_t rows = std::min(m_cells.size(), size_t(m_rows));
    for (size_t r = 0; r < rows; ++r) {
        const Row &cells = m_cells[r];
        const size_t columns = std::min(cells.size(), size_t(m_columns));
        for (size_t c = 0; c < columns; ++c) {
            if (!cells[c].isEmpty()) {
                table.setCell(int(c), int(r), cells[c]);
            }
        }
    }
    return table;
}

bool TableGrid::fits(qint64 columns, qint64 rows)
{
    return columns >= 1 && rows >= 1 && columns <= MaxColumns && rows <= MaxRows && columns * rows <= MaxCells;
}

void TableGrid::resize(int columns, int rows)
{
    applySize(columns, rows);
    m_bar.columns = QByteArray::number(m_columns);
    m_bar.rows = QByteArray::number(m_rows);
}
