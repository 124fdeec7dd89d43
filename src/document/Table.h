#pragma once

#include "platform/SecretFile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtEndian>

#include <optional>
#include <vector>

// The grid a CSV import may make (see Table::importCsv).
struct CsvImportLimits {
    static constexpr qint64 MaxCells = 10'000'000;
    qint64 cells = MaxCells;
    qint64 columns = MaxCells;
    qint64 rows = MaxCells;
};

// Rows x columns of 8-bit text cells, addressed column first: the content of table
// elements, the intermediate form of a database or a copied subtree, and a scratch
// container for single binary payloads (stream cells).
//
// The logical size (rowCount x ColumnCount) is kept apart from the stored cells: rows may
// be stored with different lengths, setting a cell never changes the logical size, and a
// cell outside either reads as the empty text.
//
// Every operation that changes cells takes the guard exclusively, every reader takes it
// shared; an operation whose guard is refused returns false (or the empty text, or -1)
// without effect. The guard is a re-entrancy flag, not a lock: everything runs on one
// thread.
class Table
{
public:
    enum GuardState { GuardFree = 0, GuardShared = 1, GuardExclusive = 2 };

    static constexpr char BinaryMagic[] = "CLASS_TABLE V1.000VLB";
    static constexpr qsizetype BinaryMagicSize = 22; // with its NUL
    static constexpr qsizetype BinaryHeaderSize = 2064;
    // A table read from a stream without rows keeps at most this many columns (an empty
    // table keeps its shape): a larger count costs the stream nothing, but a caller that
    // writes the table again with rows would allocate for every column.
    static constexpr qint32 FreeColumns = 16;

    Table() = default;

    // The re-entrancy guard, for callers that hold the table across several calls.
    bool acquireShared() const;
    bool acquireExclusive() const;
    void release() const;
    GuardState guard() const { return m_guard; }
    int sharedCount() const { return m_sharedCount; }

    // Removes every row, resets the size and the sized flag, empties the file name. The
    // modified flag is cleared when asUnchanged is set, set otherwise.
    bool clear(bool asUnchanged = false);
    // Gives the first size; refused once the table is sized (then only setSize changes it).
    bool initSize(int cols, int rows);
    bool setSize(int cols, int rows);
    bool addRows(int n);
    int rowCount() const { return m_rowCount; }
    int columnCount() const { return m_columnCount; }
    bool isSized() const { return m_sized; }

    bool setCell(int col, int row, QByteArray text);
    QByteArray getCell(int col, int row) const;
    // The stored text without a copy; valid until the table next changes. Unguarded.
    QByteArrayView cellView(int col, int row) const;
    // Moves a cell's text out, leaving the cell empty: spares copying big stream cells.
    QByteArray takeCell(int col, int row);
    // Length in bytes, -1 outside the logical size or the stored cells.
    int cellLength(int col, int row) const;
    // Copies the text and its NUL when it fits below capacity, else the empty text.
    bool copyCell(int col, int row, char *buffer, int capacity) const;
    // Leading decimal number of the cell (as strtol reads it, saturated to 32 bits).
    int getCellInt(int col, int row) const;
    // The number strtol reads at the start of text (spaces, a sign, digits), saturated.
    static int leadingInt(QByteArrayView text);
    bool setCellInt(int col, int row, int n);

    // Stream cells: bytes kept as "<CT_STREAM>" and two lowercase hex digits per byte.
    bool setCellBytes(int col, int row, QByteArrayView bytes);
    // Decodes into buffer when the encoded count n is below capacity (else stores a single
    // NUL), then sets capacity to n. False when the cell is missing or no stream cell.
    bool getCellBytes(int col, int row, char *buffer, int &capacity) const;
    // The decoded bytes of a stream cell, whatever their count.
    std::optional<QByteArray> getCellBytes(int col, int row) const;
    // Stores the file's bytes as a stream cell; its length, or -1 when the file cannot be
    // read, is empty, is no regular file, is too long for a cell or the store failed.
    qint64 loadCellFromFile(int col, int row, const QString &path);
    // Writes the decoded bytes of a stream cell to an owner-only file, replacing it whole.
    bool saveCellToFile(int col, int row, const QString &path) const;

    // First row (top to bottom, cells left to right) holding a cell equal to text; -1.
    int findRow(QByteArrayView text) const;
    // Sorts whole rows fromRow..toRow (clamped) by one column's bytes with the three-way
    // quicksort whose handling of equal keys decides their order.
    bool sort(int column, bool ascending, int fromRow, int toRow, bool ignoreCase);

    // Binary table stream; empty only when a cell is too long for its 32-bit length.
    QByteArray writeBinary() const;
    // False for a wrong magic, a header claiming more cells than the buffer can hold, a
    // negative count, a cell length below -1 or a stream that ends early (the cells read
    // before the damage stay in the table). A header without rows keeps at most
    // FreeColumns columns.
    bool readBinary(QByteArrayView buffer);
    // The two steps of reading a binary stream, for readers that walk one in place: the
    // header check (magic, non-negative counts that the stream can hold) and one cell, whose
    // view goes to cell; the offset after it, or -1 when the stream ends early or the
    // length is invalid.
    static bool readBinaryHeader(QByteArrayView stream, qint32 &cols, qint32 &rows);
    static qsizetype nextBinaryCell(QByteArrayView stream, qsizetype pos, QByteArrayView &cell)
    {
        if (pos < 0 || stream.size() - pos < 4) {
            return -1;
        }
        const qint32 length = qFromLittleEndian<qint32>(stream.data() + pos);
        pos += 4;
        if (length == 0 || length == -1) {
            cell = QByteArrayView();
            return pos;
        }
        // The text and the NUL the writer puts after it must both be there.
        if (length < 0 || qint64(length) >= qint64(stream.size() - pos)) {
            return -1;
        }
        cell = stream.sliced(pos, length);
        return pos + length + 1;
    }
    // Text table stream with its terminating NUL, which the size counts.
    QByteArray writeText() const;
    // Reads up to the first NUL or the end of the buffer. A row count beyond what the rest
    // of the stream can hold is cut to that, and a table left without rows keeps at most
    // FreeColumns columns; overlapping cells are read as they stand up to as many cell
    // bytes as the stream holds, beyond that the stream is refused.
    bool readText(QByteArrayView buffer);
    // True when every cell survives the text form: none holds a NUL byte or a column tag.
    bool textFormCanCarry() const;

    bool exportCsv(const QString &path, SecretFile::Failure *failure = nullptr);

    // CSV import refuses grids beyond these (whatever the file's size, a few bytes of line
    // ends and separators can stand for billions of cells) and files beyond MaxCsvFileSize.
    static constexpr qint64 MaxCsvCells = CsvImportLimits::MaxCells;
    static constexpr qint64 MaxCsvFileSize = qint64(256) << 20;
    using CsvLimits = CsvImportLimits;
    enum class CsvProblem { None, Unreadable, TooLarge };
    struct CsvShape {
        qint64 columns;
        qint64 rows;
    };
    // The columns and rows of the grid a CSV text (up to its first NUL) makes.
    static CsvShape measureCsv(QByteArrayView text);
    // Reads a regular file of at most MaxCsvFileSize bytes; false for a missing, empty,
    // unreadable or oversized file or a grid beyond the limits (the reason goes to problem).
    bool importCsv(const QString &path, bool trimSpaces, const CsvLimits &limits = {},
                   CsvProblem *problem = nullptr);
    // The same for the file's bytes (taken up to their first NUL).
    bool importCsvText(QByteArrayView content, bool trimSpaces, const CsvLimits &limits = {},
                       CsvProblem *problem = nullptr);
    // Column 0 := the lines of text (tabs as spaces, blank lines dropped).
    void loadLines(QByteArrayView text);

    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }
    const QByteArray &errorText() const { return m_errorText; }
    const QString &fileName() const { return m_fileName; }
    QByteArray separator() const { return m_separator; }

protected:
    using Row = std::vector<QByteArray>;

    // Appends a stored row at index rowCount() and grows the row count by one; for
    // converters that fill a sized table row by row. Needs the table sized.
    bool appendRow(Row cells);

private:
    class ExclusiveHold;
    class SharedHold;

    const QByteArray *storedCell(int col, int row) const;
    QByteArray *storedCell(int col, int row);
    bool storeCell(int col, int row, QByteArray text);
    bool setSizeUnguarded(int cols, int rows);
    bool readTextUnguarded(QByteArrayView text);
    void sortRange(std::vector<QByteArray> &keys, int base, int lo, int hi, bool ascending);

    std::vector<Row> m_rows;
    int m_rowCount = 0;
    int m_columnCount = 0;
    bool m_sized = false;
    // A serialisation counts as saving the table, also from a const table.
    mutable bool m_modified = false;
    mutable GuardState m_guard = GuardFree;
    mutable int m_sharedCount = 0;
    QString m_fileName;
    QByteArray m_errorText;
    QByteArray m_separator = ";";
};
