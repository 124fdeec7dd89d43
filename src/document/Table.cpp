#include "Table.h"
#include "TableGuard.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <utility>

bool Table::acquireShared() const
{
    if (m_guard == GuardExclusive) {
        return false;
    }
    m_guard = GuardShared;
    ++m_sharedCount;
    return true;
}

bool Table::acquireExclusive() const
{
    if (m_guard != GuardFree) {
        return false;
    }
    m_guard = GuardExclusive;
    return true;
}

void Table::release() const
{
    if (m_guard == GuardExclusive) {
        m_guard = GuardFree;
        m_sharedCount = 0;
    } else if (m_guard == GuardShared && --m_sharedCount <= 0) {
        m_sharedCount = 0;
        m_guard = GuardFree;
    }
}

bool Table::clear(bool asUnchanged)
{
    ExclusiveHold hold(*this);
    if (!hold) {
        return false;
    }
    m_rowCount = 0;
    m_columnCount = 0;
    m_sized = false;
    m_fileName.clear();
    m_modified = !asUnchanged;
    try {
        // Swapping with an empty vector frees the storage, which clear() would keep.
        std::vector<Row>().swap(m_rows);
    } catch (...) {
        m_errorText = "Error: POP_BACK of std::vector failed";
        return false;
    }
    m_errorText.clear();
    return true;
}

bool Table::initSize(int cols, int rows)
{
    ExclusiveHold hold(*this);
    if (!hold || cols <= 0 || rows < 0 || m_sized) {
        return false;
    }
    m_columnCount = cols;
    if (rows > 0) {
        m_rowCount = rows;
    }
    m_sized = true;
    return true;
}

bool Table::setSize(int cols, int rows)
{
    ExclusiveHold hold(*this);
    return hold && setSizeUnguarded(cols, rows);
}

bool Table::setSizeUnguarded(int cols, int rows)
{
    if (rows < 0 || cols <= 0) {
        return false;
    }
    if (!m_sized) {
        m_sized = true;
        m_columnCount = cols;
        if (rows > 0) {
            m_rowCount = rows;
        }
        return true;
    }
    m_columnCount = cols;
    m_rowCount = rows;
    return true;
}

bool Table::addRows(int n)
{
    ExclusiveHold hold(*this);
    if (!hold) {
        return false;
    }
    m_modified = true;
    if (n <= 0 || !m_sized || n > INT_MAX - m_rowCount) {
        return false;
    }
    m_rowCount += n;
    return true;
}

bool Table::appendRow(Row cells)
{
    ExclusiveHold hold(*this);
    if (!hold || !m_sized || m_rowCount == INT_MAX) {
        return false;
    }
    try {
        // Rows stored beyond the logical size would be overwritten; keep storage in step.
        if (m_rows.size() > size_t(m_rowCount)) {
            m_rows.resize(size_t(m_rowCount));
        }
        while (m_rows.size() < size_t(m_rowCount)) {
            m_rows.emplace_back();
        }
        m_rows.push_back(std::move(cells));
    } catch (const std::bad_alloc &) {
        return false;
    }
    ++m_rowCount;
    m_modified = true;
    return true;
}

const QByteArray *Table::storedCell(int col, int row) const
{
    if (col < 0 || row < 0 || col >= m_columnCount || row >= m_rowCount || size_t(row) >= m_rows.size()) {
        return nullptr;
    }
    const Row &cells = m_rows[size_t(row)];
    return size_t(col) < cells.size() ? &cells[size_t(col)] : nullptr;
}

QByteArray *Table::storedCell(int col, int row)
{
    return const_cast<QByteArray *>(std::as_const(*this).storedCell(col, row));
}

bool Table::storeCell(int col, int row, QByteArray text)
{
    if (col < 0 || row < 0) {
        return false;
    }
    try {
        if (size_t(row) < m_rows.size()) {
            Row &cells = m_rows[size_t(row)];
            if (size_t(col) >= cells.size()) {
                cells.resize(size_t(col) + 1);
            }
            cells[size_t(col)] = std::move(text);
        } else {
            // Every row appended up to the target gets col + 1 cells.
            while (m_rows.size() <= size_t(row)) {
                m_rows.emplace_back(size_t(col) + 1);
            }
            m_rows[size_t(row)][size_t(col)] = std::move(text);
        }
    } catch (const std::bad_alloc &) {
        return false;
    } catch (const std::length_error &) {
        return false;
    }
    m_modified = true;
    return true;
}

bool Table::setCell(int col, int row, QByteArray text)
{
    ExclusiveHold hold(*this);
    return hold && storeCell(col, row, std::move(text));
}

QByteArray Table::getCell(int col, int row) const
{
    SharedHold hold(*this);
    if (!hold) {
        return {};
    }
    const QByteArray *cell = storedCell(col, row);
    return cell ? *cell : QByteArray();
}

QByteArrayView Table::cellView(int col, int row) const
{
    const QByteArray *cell = storedCell(col, row);
    return cell ? QByteArrayView(*cell) : QByteArrayView();
}

QByteArray Table::takeCell(int col, int row)
{
    ExclusiveHold hold(*this);
    QByteArray *cell = hold ? storedCell(col, row) : nullptr;
    if (!cell) {
        return {};
    }
    m_modified = true;
    return std::exchange(*cell, QByteArray());
}

int Table::cellLength(int col, int row) const
{
    const QByteArray *cell = storedCell(col, row);
    if (!cell) {
        return -1;
    }
    return cell->size() > INT_MAX ? INT_MAX : int(cell->size());
}

bool Table::copyCell(int col, int row, char *buffer, int capacity) const
{
    SharedHold hold(*this);
    if (!hold) {
        return false;
    }
    if (!buffer || capacity <= 0) {
        return true;
    }
    const QByteArray *cell = storedCell(col, row);
    if (cell && cell->size() < capacity) {
        std::memcpy(buffer, cell->constData(), size_t(cell->size()));
        buffer[cell->size()] = '\0';
    } else {
        buffer[0] = '\0';
    }
    return true;
}

int Table::leadingInt(QByteArrayView text)
{
    // The kind and selected codes of every element row are single digits.
    if (text.size() == 1 && text[0] >= '0' && text[0] <= '9') {
        return text[0] - '0';
    }
    qsizetype i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    qint64 value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min<qint64>(value * 10 + (text[i] - '0'), qint64(INT_MAX) + 1);
    }
    value = negative ? -value : value;
    return int(std::clamp<qint64>(value, INT_MIN, INT_MAX));
}

int Table::getCellInt(int col, int row) const
{
    return leadingInt(cellView(col, row));
}

bool Table::setCellInt(int col, int row, int n)
{
    return setCell(col, row, QByteArray::number(n));
}

int Table::findRow(QByteArrayView text) const
{
    SharedHold hold(*this);
    if (!hold) {
        return -1;
    }
    const size_t rows = std::min(m_rows.size(), size_t(m_rowCount));
    for (size_t r = 0; r < rows; ++r) {
        const Row &cells = m_rows[r];
        const size_t cols = std::min(cells.size(), size_t(m_columnCount));
        for (size_t c = 0; c < cols; ++c) {
            if (QByteArrayView(cells[c]) == text) {
                return int(r);
            }
        }
    }
    return -1;
}
