// Stream cells, files and text that go into or come out of a table.
#include "class_table.h"
#include "class_table_guard.h"

#include "StreamCell.h"
#include "platform/SecretFile.h"
#include "platform/SecureMemory.h"

#include <QFile>

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

bool class_table::SetCellBytes(int col, int row, QByteArrayView bytes)
{
    return SetCell(col, row, StreamCell::encode(bytes));
}

bool class_table::GetCellBytes(int col, int row, char *buffer, int &capacity) const
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

std::optional<QByteArray> class_table::GetCellBytes(int col, int row) const
{
    SharedHold hold(*this);
    const QByteArray *cell = hold ? storedCell(col, row) : nullptr;
    return cell ? StreamCell::decode(*cell) : std::nullopt;
}

qint64 class_table::LoadCellFromFile(int col, int row, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return -1;
    }
    QByteArray bytes = file.readAll();
    if (bytes.isEmpty() || file.error() != QFileDevice::NoError) {
        return -1;
    }
    const bool stored = SetCellBytes(col, row, bytes);
    const qint64 length = bytes.size();
    SecureMemory::wipe(bytes);
    return stored ? length : -1;
}

bool class_table::SaveCellToFile(int col, int row, const QString &path) const
{
    std::optional<QByteArray> bytes = GetCellBytes(col, row);
    if (!bytes || path.isEmpty()) {
        return false;
    }
    const bool written = SecretFile::write(path, *bytes);
    SecureMemory::wipe(*bytes);
    return written;
}

bool class_table::ExportCsv(const QString &path)
{
    if (path.isEmpty()) {
        return false;
    }
    QByteArray csv;
    for (int r = 0; r < m_rowCount; ++r) {
        for (int c = 0; c < m_columnCount; ++c) {
            csv += CellView(c, r);
            if (c + 1 < m_columnCount) {
                csv += m_separator;
            }
        }
        csv += "  \r\n";
    }
    const bool written = SecretFile::write(path, csv);
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

bool class_table::ImportCsv(const QString &path, bool trimSpaces)
{
    if (path.isEmpty()) {
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    QByteArray content = file.readAll();
    if (content.isEmpty() || !Clear() || !SetSize(1, 1)) {
        return false;
    }
    const qsizetype nul = content.indexOf('\0');
    const QByteArrayView text = nul >= 0 ? QByteArrayView(content).first(nul) : QByteArrayView(content);
    const QByteArrayView separator(m_separator);
    int row = 0;
    int columns = 1;
    qsizetype recordStart = 0;
    while (true) {
        const qsizetype end = text.indexOf("\r\n", recordStart);
        const QByteArrayView record = text.sliced(recordStart, (end < 0 ? text.size() : end) - recordStart);
        int column = 0;
        qsizetype fieldStart = 0;
        while (true) {
            const qsizetype cut = record.indexOf(separator, fieldStart);
            QByteArrayView field = record.sliced(fieldStart, (cut < 0 ? record.size() : cut) - fieldStart);
            if (trimSpaces) {
                field = trimmedSpaces(field);
            }
            if (!field.isEmpty() && !SetCell(column, row, withoutLineBreaks(field))) {
                return false;
            }
            ++column;
            if (cut < 0) {
                break;
            }
            fieldStart = cut + separator.size();
        }
        columns = std::max(columns, column);
        if (end < 0) {
            break;
        }
        ++row;
        recordStart = end + 2;
    }
    SecureMemory::wipe(content);
    if (!SetSize(columns, row + 1)) {
        return false;
    }
    m_modified = false;
    m_fileName = path;
    return true;
}

void class_table::LoadLines(QByteArrayView text)
{
    if (!Clear() || !InitSize(1, 0)) {
        return;
    }
    QByteArray line;
    auto endLine = [&](bool keepEmpty) {
        if (!line.isEmpty() || keepEmpty) {
            const int row = m_rowCount;
            if (AddRows(1)) {
                SetCell(0, row, std::exchange(line, QByteArray()));
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
