// The two serialised forms of a table: the binary table stream and the text table stream.
#include "Table.h"
#include "TableGuard.h"

#include <QtEndian>

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

namespace {

constexpr qsizetype kColumnCountOffset = 2056;
constexpr qsizetype kRowCountOffset = 2060;

constexpr QByteArrayView kXmlDeclaration("<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n");
constexpr QByteArrayView kTableOpen("<CLASS_TABLE_XML>\r\n");
constexpr QByteArrayView kTableClose("</CLASS_TABLE_XML>\r\n");
constexpr QByteArrayView kRowsOpen("<CLASS_TABLE_ROWS>");
constexpr QByteArrayView kRowsClose("</CLASS_TABLE_ROWS>");
constexpr QByteArrayView kColumnsOpen("<CLASS_TABLE_COLUMNS>");
constexpr QByteArrayView kColumnsClose("</CLASS_TABLE_COLUMNS>");
constexpr QByteArrayView kRowOpen("<CLASS_TABLE_ROW>");
constexpr QByteArrayView kRowOpenLine(" <CLASS_TABLE_ROW>\r\n");
constexpr QByteArrayView kRowCloseLine(" </CLASS_TABLE_ROW>\r\n");
constexpr QByteArrayView kColumnOpen("<CLASS_TABLE_COLUMN>");
constexpr QByteArrayView kColumnClose("</CLASS_TABLE_COLUMN>");
constexpr QByteArrayView kColumnOpenLine("  <CLASS_TABLE_COLUMN>");
constexpr QByteArrayView kColumnCloseLine("</CLASS_TABLE_COLUMN>\r\n");

void appendInt32(char *&out, qint32 value)
{
    qToLittleEndian(value, out);
    out += 4;
}

void appendBytes(char *&out, QByteArrayView bytes)
{
    if (!bytes.isEmpty()) {
        std::memcpy(out, bytes.data(), size_t(bytes.size()));
        out += bytes.size();
    }
}

// The decimal value between an opening and a closing tag, both searched from `from`;
// the position one character after the start of the closing tag goes to next.
bool taggedNumber(QByteArrayView text, qsizetype from, QByteArrayView open, QByteArrayView close,
                  int &value, qsizetype &next)
{
    const qsizetype start = text.indexOf(open, from);
    const qsizetype end = text.indexOf(close, from);
    if (start < 0 || end < 0 || end < start + open.size()) {
        return false;
    }
    value = Table::leadingInt(text.sliced(start + open.size(), end - start - open.size()));
    next = end + 1;
    return true;
}

// A stream buffer with room for the zero padding of a final cipher block, so a stream
// encrypted where it lies is never moved (and copied) to grow.
QByteArray uninitializedStream(qint64 size)
{
    QByteArray stream;
    stream.reserve((size + 7) / 8 * 8);
    stream.resize(size);
    return stream;
}

} // namespace

QByteArray Table::writeBinary() const
{
    const size_t rows = size_t(m_rowCount);
    const size_t cols = size_t(m_columnCount);
    qint64 size = BinaryHeaderSize + 4 * qint64(rows) * qint64(cols);
    for (size_t r = 0; r < std::min(rows, m_rows.size()); ++r) {
        const Row &cells = m_rows[r];
        for (size_t c = 0; c < std::min(cols, cells.size()); ++c) {
            const qsizetype length = cells[c].size();
            if (length >= INT_MAX) {
                return {};
            }
            size += length > 0 ? length + 1 : 0;
        }
    }
    QByteArray stream = uninitializedStream(size);
    char *out = stream.data();
    std::memset(out, 0, size_t(BinaryHeaderSize));
    std::memcpy(out, BinaryMagic, sizeof BinaryMagic);
    out += kColumnCountOffset;
    appendInt32(out, m_columnCount);
    appendInt32(out, m_rowCount);
    for (size_t r = 0; r < rows; ++r) {
        const Row *cells = r < m_rows.size() ? &m_rows[r] : nullptr;
        for (size_t c = 0; c < cols; ++c) {
            if (!cells || c >= cells->size()) {
                appendInt32(out, -1);
                continue;
            }
            const QByteArray &cell = (*cells)[c];
            appendInt32(out, qint32(cell.size()));
            if (!cell.isEmpty()) {
                appendBytes(out, cell);
                *out++ = '\0';
            }
        }
    }
    m_modified = false;
    return stream;
}

bool Table::readBinaryHeader(QByteArrayView stream, qint32 &cols, qint32 &rows)
{
    if (stream.size() < BinaryHeaderSize || std::memcmp(stream.data(), BinaryMagic, size_t(BinaryMagicSize)) != 0) {
        return false;
    }
    cols = qFromLittleEndian<qint32>(stream.data() + kColumnCountOffset);
    rows = qFromLittleEndian<qint32>(stream.data() + kRowCountOffset);
    // Every cell takes at least its 4-byte length: a header that claims more cells than
    // the stream holds is refused before anything is allocated for them.
    const qint64 cellsLeft = (stream.size() - BinaryHeaderSize) / 4;
    if (cols < 0 || rows < 0 || qint64(cols) * qint64(rows) > cellsLeft) {
        return false;
    }
    // Without rows any column count fits, and a caller that writes the table again (with
    // the settings rows of a table element) would allocate for all of them.
    if (rows == 0) {
        cols = std::min(cols, FreeColumns);
    }
    return true;
}

bool Table::readBinary(QByteArrayView buffer)
{
    qint32 cols = 0;
    qint32 rows = 0;
    if (!readBinaryHeader(buffer, cols, rows)) {
        return false;
    }
    ExclusiveHold hold(*this);
    if (!hold) {
        return false;
    }
    setSizeUnguarded(cols, rows);
    if (cols == 0 || rows == 0) {
        return true;
    }
    qsizetype pos = BinaryHeaderSize;
    try {
        if (m_rows.size() < size_t(rows)) {
            m_rows.resize(size_t(rows));
        }
        for (qint32 r = 0; r < rows; ++r) {
            Row &cells = m_rows[size_t(r)];
            if (cells.size() < size_t(cols)) {
                cells.resize(size_t(cols));
            }
            for (qint32 c = 0; c < cols; ++c) {
                QByteArrayView cell;
                pos = nextBinaryCell(buffer, pos, cell);
                if (pos < 0) {
                    return false;
                }
                cells[size_t(c)] = cell.toByteArray();
            }
        }
    } catch (const std::bad_alloc &) {
        return false;
    }
    m_modified = true;
    return true;
}

QByteArray Table::writeText() const
{
    const QByteArray rowsLine = kRowsOpen.toByteArray() + QByteArray::number(m_rowCount) + kRowsClose.toByteArray() + "\r\n";
    const QByteArray columnsLine = kColumnsOpen.toByteArray() + QByteArray::number(m_columnCount)
        + kColumnsClose.toByteArray() + "\r\n";
    const size_t rows = size_t(m_rowCount);
    const size_t cols = size_t(m_columnCount);
    qint64 size = kXmlDeclaration.size() + kTableOpen.size() + rowsLine.size() + columnsLine.size()
        + kTableClose.size() + 1
        + qint64(rows) * (kRowOpenLine.size() + kRowCloseLine.size()
                          + qint64(cols) * (kColumnOpenLine.size() + kColumnCloseLine.size()));
    for (size_t r = 0; r < std::min(rows, m_rows.size()); ++r) {
        const Row &cells = m_rows[r];
        for (size_t c = 0; c < std::min(cols, cells.size()); ++c) {
            size += cells[c].size();
        }
    }
    QByteArray stream = uninitializedStream(size);
    char *out = stream.data();
    appendBytes(out, kXmlDeclaration);
    appendBytes(out, kTableOpen);
    appendBytes(out, rowsLine);
    appendBytes(out, columnsLine);
    for (size_t r = 0; r < rows; ++r) {
        const Row *cells = r < m_rows.size() ? &m_rows[r] : nullptr;
        appendBytes(out, kRowOpenLine);
        for (size_t c = 0; c < cols; ++c) {
            appendBytes(out, kColumnOpenLine);
            if (cells && c < cells->size()) {
                appendBytes(out, (*cells)[c]);
            }
            appendBytes(out, kColumnCloseLine);
        }
        appendBytes(out, kRowCloseLine);
    }
    appendBytes(out, kTableClose);
    *out = '\0';
    m_modified = false;
    return stream;
}

bool Table::readText(QByteArrayView buffer)
{
    ExclusiveHold hold(*this);
    if (!hold) {
        return false;
    }
    // A stream ends at its first NUL, or at the end of the buffer when it has none.
    const qsizetype nul = buffer.indexOf('\0');
    try {
        return readTextUnguarded(nul >= 0 ? buffer.first(nul) : buffer);
    } catch (const std::bad_alloc &) {
        return false;
    }
}

bool Table::readTextUnguarded(QByteArrayView text)
{
    int rows = 0;
    int cols = 0;
    qsizetype pos = 0;
    if (!taggedNumber(text, 0, kRowsOpen, kRowsClose, rows, pos)
        || !taggedNumber(text, pos, kColumnsOpen, kColumnsClose, cols, pos)) {
        return false;
    }
    // A row takes at least its row tag: a count beyond what the bytes left can hold is cut
    // to that. A column of a row read takes at least its opening tag, but a table left
    // without rows could claim any column count (see readBinaryHeader).
    rows = int(std::min<qint64>(rows, (text.size() - pos) / kRowOpen.size()));
    setSizeUnguarded(cols, rows);
    const auto keptColumns = [cols](int rowsRead) { return rowsRead == 0 ? std::min(cols, FreeColumns) : cols; };
    // Cells may overlap (a cell runs over the tags of the ones after it, and each next
    // search starts inside it); they are read so, but never more cell bytes in all than
    // the stream holds: beyond that the stream is damaged, and reading on would take
    // memory quadratic in its size.
    qsizetype cellBytesLeft = text.size();
    int rowsRead = 0;
    for (; rowsRead < rows; ++rowsRead) {
        const qsizetype rowTag = text.indexOf(kRowOpen, pos);
        if (rowTag < 0) {
            break;
        }
        pos = rowTag + kRowOpen.size();
        for (int c = 0; c < cols; ++c) {
            const qsizetype open = text.indexOf(kColumnOpen, pos);
            const qsizetype start = open < 0 ? -1 : open + kColumnOpen.size();
            const qsizetype close = start < 0 ? -1 : text.indexOf(kColumnClose, start);
            if (close < 0 || close - start > cellBytesLeft) {
                setSizeUnguarded(keptColumns(rowsRead), rowsRead);
                return false;
            }
            cellBytesLeft -= close - start;
            storeCell(c, rowsRead, text.sliced(start, close - start).toByteArray());
            // The next search starts at the beginning of this cell's text.
            pos = start;
        }
    }
    setSizeUnguarded(keptColumns(rowsRead), rowsRead);
    m_modified = false;
    return true;
}

bool Table::textFormCanCarry() const
{
    const size_t rows = std::min(m_rows.size(), size_t(m_rowCount));
    for (size_t r = 0; r < rows; ++r) {
        const Row &cells = m_rows[r];
        const size_t cols = std::min(cells.size(), size_t(m_columnCount));
        for (size_t c = 0; c < cols; ++c) {
            const QByteArrayView cell(cells[c]);
            // Every tag begins with '<': most cells are passed over with one scan.
            if (cell.contains('\0')
                || (cell.contains('<') && (cell.contains(kColumnOpen) || cell.contains(kColumnClose)))) {
                return false;
            }
        }
    }
    return true;
}
