// Stream cells, files and text that go into or come out of a table.
#include "Table.h"
#include "TableGuard.h"

#include "StreamCell.h"
#include "platform/RegularFile.h"
#include "platform/SecretFile.h"
#include "platform/SecureMemory.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

bool Table::setCellBytes(int col, int row, QByteArrayView bytes)
{
    return setCell(col, row, StreamCell::encode(bytes));
}

bool Table::getCellBytes(int col, int row, char *buffer, int &capacity) const
{
    SharedHold hold(*this);
    if (!hold) {
        return false;
    }
    const QByteArray *cell = storedCell(col, row);
    if (!cell || !StreamCell::isStreamCell(*cell)) {
        return false;
    }
    const qsizetype n = StreamCell::encodedCount(*cell);
    if (n < capacity && buffer) {
        StreamCell::decodeInto(*cell, buffer, n);
    } else if (buffer && capacity > 0) {
        buffer[0] = '\0';
    }
    capacity = n > INT_MAX ? INT_MAX : int(n);
    return true;
}

std::optional<QByteArray> Table::getCellBytes(int col, int row) const
{
    SharedHold hold(*this);
    const QByteArray *cell = hold ? storedCell(col, row) : nullptr;
    return cell ? StreamCell::decode(*cell) : std::nullopt;
}

qint64 Table::loadCellFromFile(int col, int row, const QString &path)
{
    // Two hex digits a byte must fit in one cell.
    std::optional<QByteArray> read = RegularFile::read(path, (INT_MAX - 16) / 2);
    if (!read || read->isEmpty()) {
        return -1;
    }
    QByteArray bytes = std::move(*read);
    const bool stored = setCellBytes(col, row, bytes);
    const qint64 length = bytes.size();
    SecureMemory::wipe(bytes);
    return stored ? length : -1;
}

bool Table::saveCellToFile(int col, int row, const QString &path) const
{
    std::optional<QByteArray> bytes = getCellBytes(col, row);
    if (!bytes || path.isEmpty()) {
        return false;
    }
    const bool written = SecretFile::write(path, *bytes);
    SecureMemory::wipe(*bytes);
    return written;
}

bool Table::exportCsv(const QString &path, SecretFile::Failure *failure)
{
    if (path.isEmpty()) {
        if (failure) {
            *failure = SecretFile::Failure::FileNotWritable;
        }
        return false;
    }
    QByteArray csv;
    for (int r = 0; r < m_rowCount; ++r) {
        for (int c = 0; c < m_columnCount; ++c) {
            csv += cellView(c, r);
            if (c + 1 < m_columnCount) {
                csv += m_separator;
            }
        }
        csv += "  \r\n";
    }
    const bool written = SecretFile::write(path, csv, failure);
    SecureMemory::wipe(csv);
    if (written) {
        m_fileName = path;
    }
    return written;
}

namespace {

QByteArrayView trimmedSpaces(QByteArrayView field)
{
    while (!field.isEmpty() && field.front() == ' ') {
        field = field.sliced(1);
    }
    while (!field.isEmpty() && field.back() == ' ') {
        field.chop(1);
    }
    return field;
}

// Only the pair CR LF ends a record; a lone CR or LF is no part of a field either.
QByteArray withoutLineBreaks(QByteArrayView field)
{
    QByteArray text = field.toByteArray();
    text.removeIf([](char c) { return c == '\r' || c == '\n'; });
    return text;
}

} // namespace

// The grid a CSV text makes: records (CR LF ends one; the last one counts even when
// empty) and the most fields of any record.
Table::CsvShape Table::measureCsv(QByteArrayView text)
{
    CsvShape shape{1, 1};
    qint64 fields = 1;
    const char separator = ';';
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == separator) {
            ++fields;
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            shape.columns = std::max(shape.columns, fields);
            fields = 1;
            ++shape.rows;
            ++i;
        }
    }
    shape.columns = std::max(shape.columns, fields);
    return shape;
}

bool Table::importCsv(const QString &path, bool trimSpaces, const CsvLimits &limits, CsvProblem *problem)
{
    if (problem) {
        *problem = CsvProblem::Unreadable;
    }
    std::optional<QByteArray> content = path.isEmpty() ? std::nullopt : RegularFile::read(path, MaxCsvFileSize);
    if (!content || content->isEmpty()) {
        return false;
    }
    const bool imported = importCsvText(*content, trimSpaces, limits, problem);
    SecureMemory::wipe(*content);
    if (imported) {
        m_fileName = path;
    }
    return imported;
}

bool Table::importCsvText(QByteArrayView content, bool trimSpaces, const CsvLimits &limits,
                                CsvProblem *problem)
{
    if (problem) {
        *problem = CsvProblem::Unreadable;
    }
    const qsizetype nul = content.indexOf('\0');
    const QByteArrayView text = nul >= 0 ? content.first(nul) : content;
    // Measured before anything is stored: a few bytes of line ends and separators can
    // stand for a grid of billions of cells.
    const CsvShape shape = measureCsv(text);
    if (shape.columns > limits.columns || shape.rows > limits.rows || shape.columns * shape.rows > limits.cells) {
        if (problem) {
            *problem = CsvProblem::TooLarge;
        }
        return false;
    }
    if (!clear() || !setSize(int(shape.columns), int(shape.rows))) {
        return false;
    }
    ExclusiveHold hold(*this);
    if (!hold) {
        return false;
    }
    const char separator = m_separator.isEmpty() ? ';' : m_separator.front();
    try {
        qsizetype recordStart = 0;
        for (qint64 row = 0; row < shape.rows; ++row) {
            const qsizetype end = text.indexOf("\r\n", recordStart);
            const QByteArrayView record = text.sliced(recordStart, (end < 0 ? text.size() : end) - recordStart);
            recordStart = end + 2;
            // Each record keeps its cells up to its last non-empty field; cells beyond read
            // as empty, so empty lines and far columns cost nothing.
            Row cells;
            qsizetype fieldStart = 0;
            for (size_t column = 0;; ++column) {
                const qsizetype cut = record.indexOf(separator, fieldStart);
                QByteArrayView field = record.sliced(fieldStart, (cut < 0 ? record.size() : cut) - fieldStart);
                if (trimSpaces) {
                    field = trimmedSpaces(field);
                }
                if (!field.isEmpty()) {
                    cells.resize(column + 1);
                    cells[column] = withoutLineBreaks(field);
                }
                if (cut < 0) {
                    break;
                }
                fieldStart = cut + 1;
            }
            // Empty records after the last stored one need no storage at all.
            if (!cells.empty()) {
                m_rows.resize(size_t(row));
                m_rows.push_back(std::move(cells));
            }
        }
    } catch (const std::bad_alloc &) {
        return false;
    }
    m_modified = false;
    if (problem) {
        *problem = CsvProblem::None;
    }
    return true;
}

void Table::loadLines(QByteArrayView text)
{
    if (!clear() || !initSize(1, 0)) {
        return;
    }
    QByteArray line;
    auto endLine = [&](bool keepEmpty) {
        if (!line.isEmpty() || keepEmpty) {
            const int row = m_rowCount;
            if (addRows(1)) {
                setCell(0, row, std::exchange(line, QByteArray()));
            }
        }
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool last = i + 1 == text.size();
        if (c == '\r' || (c == '\n' && (i == 0 || text[i - 1] != '\r'))) {
            endLine(false);
        } else if (c != '\n') {
            line += c == '\t' ? ' ' : c;
        }
        // The last character always ends the current line, even an empty one.
        if (last) {
            endLine(true);
        }
    }
}
