#include "TestRegistry.h"

#include "document/Table.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <climits>

namespace {

// A one-column-key table: column 0 the key, column 1 a tag that tells the rows apart.
Table keyedTable(const QList<QByteArray> &keys)
{
    Table table;
    table.initSize(2, int(keys.size()));
    for (int r = 0; r < keys.size(); ++r) {
        table.setCell(0, r, keys[r]);
        table.setCell(1, r, QByteArray::number(r + 1));
    }
    return table;
}

QByteArray column(const Table &table, int col)
{
    QByteArray joined;
    for (int r = 0; r < table.rowCount(); ++r) {
        joined += table.getCell(col, r);
    }
    return joined;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TableTest : public QObject
{
    Q_OBJECT

private slots:
    void newTableIsEmptyAndUnsized()
    {
        const Table table;
        QCOMPARE(table.rowCount(), 0);
        QCOMPARE(table.columnCount(), 0);
        QVERIFY(!table.isSized());
        QVERIFY(!table.isModified());
        QCOMPARE(table.guard(), Table::GuardFree);
        QCOMPARE(table.separator(), QByteArray(";"));
        QVERIFY(table.errorText().isEmpty());
    }

    void sizingRules()
    {
        Table table;
        QVERIFY(!table.initSize(0, 3));
        QVERIFY(!table.initSize(2, -1));
        QVERIFY(table.initSize(2, 0));
        QCOMPARE(table.columnCount(), 2);
        QCOMPARE(table.rowCount(), 0);
        // Once sized, only setSize changes the counts.
        QVERIFY(!table.initSize(5, 5));
        QCOMPARE(table.columnCount(), 2);
        QVERIFY(table.addRows(3));
        QCOMPARE(table.rowCount(), 3);
        QVERIFY(!table.addRows(0));
        QVERIFY(table.setSize(4, 1));
        QCOMPARE(table.columnCount(), 4);
        QCOMPARE(table.rowCount(), 1);
        QVERIFY(!table.setSize(0, 1));
        QVERIFY(!table.setSize(1, -1));

        Table unsized;
        QVERIFY(!unsized.addRows(2));
        QVERIFY(unsized.isModified()); // addRows marks the table in any case
        QCOMPARE(unsized.rowCount(), 0);
        QVERIFY(unsized.setSize(3, 0)); // behaves as initSize: a 0 leaves the row count
        QVERIFY(unsized.isSized());
    }

    // Setting a cell never changes the logical size; reading outside it gives nothing.
    void logicalSizeIsApartFromStoredCells()
    {
        Table table;
        QVERIFY(table.setCell(3, 2, "x"));
        QCOMPARE(table.rowCount(), 0);
        QCOMPARE(table.getCell(3, 2), QByteArray());
        QCOMPARE(table.cellLength(3, 2), -1);
        table.setSize(4, 3);
        QCOMPARE(table.getCell(3, 2), QByteArray("x"));
        QCOMPARE(table.cellLength(3, 2), 1);
        // Rows appended to reach row 2 got 4 cells each, empty ones stored.
        QCOMPARE(table.cellLength(3, 0), 0);
        QCOMPARE(table.cellLength(2, 1), 0);
        table.setSize(2, 3);
        QCOMPARE(table.getCell(3, 2), QByteArray());
        QVERIFY(table.setCell(1, 0, "short row grows"));
        QVERIFY(!table.setCell(-1, 0, "x"));
    }

    void clearResetsEverything()
    {
        Table table;
        table.initSize(2, 2);
        table.setCell(0, 0, "a");
        QVERIFY(table.clear(true));
        QCOMPARE(table.rowCount(), 0);
        QVERIFY(!table.isSized());
        QVERIFY(!table.isModified());
        QVERIFY(table.fileName().isEmpty());
        QVERIFY(table.initSize(1, 1));
        QCOMPARE(table.getCell(0, 0), QByteArray());
        QVERIFY(table.clear(false));
        QVERIFY(table.isModified());
    }

    void guardRefusals()
    {
        Table table;
        table.initSize(1, 1);
        table.setCell(0, 0, "kept");

        QVERIFY(table.acquireShared());
        QVERIFY(table.acquireShared());
        QCOMPARE(table.sharedCount(), 2);
        // Readers may share; writers are refused without effect.
        QCOMPARE(table.getCell(0, 0), QByteArray("kept"));
        QVERIFY(!table.setCell(0, 0, "changed"));
        QVERIFY(!table.clear());
        QVERIFY(!table.setSize(2, 2));
        QVERIFY(!table.sort(0, true, 0, 0, false));
        QVERIFY(!table.readText("<CLASS_TABLE_ROWS>1</CLASS_TABLE_ROWS><CLASS_TABLE_COLUMNS>1</CLASS_TABLE_COLUMNS>"));
        table.release();
        QCOMPARE(table.guard(), Table::GuardShared);
        table.release();
        QCOMPARE(table.guard(), Table::GuardFree);

        QVERIFY(table.acquireExclusive());
        QVERIFY(!table.acquireShared());
        QVERIFY(!table.acquireExclusive());
        QCOMPARE(table.getCell(0, 0), QByteArray());
        QCOMPARE(table.findRow("kept"), -1);
        char buffer[8] = "x";
        QVERIFY(!table.copyCell(0, 0, buffer, sizeof buffer));
        int capacity = 8;
        QVERIFY(!table.getCellBytes(0, 0, buffer, capacity));
        table.release();
        QCOMPARE(table.guard(), Table::GuardFree);
        QCOMPARE(table.sharedCount(), 0);
        QCOMPARE(table.getCell(0, 0), QByteArray("kept"));
    }

    void copyCellAndIntegers()
    {
        Table table;
        table.initSize(2, 1);
        table.setCell(0, 0, "12abc");
        char buffer[6];
        QVERIFY(table.copyCell(0, 0, buffer, 6));
        QCOMPARE(QByteArray(buffer), QByteArray("12abc"));
        QVERIFY(table.copyCell(0, 0, buffer, 5)); // no room for the NUL: the empty text
        QCOMPARE(QByteArray(buffer), QByteArray());

        QCOMPARE(table.getCellInt(0, 0), 12);
        QCOMPARE(table.getCellInt(1, 0), 0);
        QCOMPARE(table.getCellInt(5, 5), 0);
        QVERIFY(table.setCellInt(1, 0, -42));
        QCOMPARE(table.getCell(1, 0), QByteArray("-42"));
        QCOMPARE(table.getCellInt(1, 0), -42);
        table.setCell(1, 0, "99999999999");
        QCOMPARE(table.getCellInt(1, 0), INT_MAX);
    }

    void streamCells()
    {
        Table table;
        table.initSize(1, 1);
        const QByteArray bytes = QByteArray::fromHex("00ff100a7b");
        QVERIFY(table.setCellBytes(0, 0, bytes));
        QCOMPARE(table.getCell(0, 0), QByteArray("<CT_STREAM>00ff100a7b"));

        char buffer[16];
        int capacity = 5 + 10; // callers size the buffer as the expected count + 10
        QVERIFY(table.getCellBytes(0, 0, buffer, capacity));
        QCOMPARE(capacity, 5);
        QCOMPARE(QByteArray(buffer, 5), bytes);

        // Not below the capacity: the buffer gets the empty text, capacity the real count.
        capacity = 5;
        QVERIFY(table.getCellBytes(0, 0, buffer, capacity));
        QCOMPARE(capacity, 5);
        QCOMPARE(buffer[0], '\0');

        QCOMPARE(table.getCellBytes(0, 0), std::optional<QByteArray>(bytes));
        table.setCell(0, 0, "plain");
        capacity = 16;
        QVERIFY(!table.getCellBytes(0, 0, buffer, capacity));
        QVERIFY(!table.getCellBytes(0, 0));
        QVERIFY(!table.getCellBytes(3, 3));
    }

    void cellFiles()
    {
        QTemporaryDir dir;
        const QString source = dir.filePath("source.bin");
        QByteArray bytes;
        for (int i = 0; i < 300; ++i) {
            bytes.append(char(i * 7));
        }
        {
            QFile file(source);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        Table table;
        table.initSize(1, 1);
        QCOMPARE(table.loadCellFromFile(0, 0, source), qint64(300));
        QCOMPARE(table.loadCellFromFile(0, 0, dir.filePath("missing")), qint64(-1));
        QFile(dir.filePath("empty")).open(QIODevice::WriteOnly);
        QCOMPARE(table.loadCellFromFile(0, 0, dir.filePath("empty")), qint64(-1));

        const QString target = dir.filePath("target.bin");
        QVERIFY(table.saveCellToFile(0, 0, target));
        QCOMPARE(fileBytes(target), bytes);
        QCOMPARE(QFile::permissions(target) & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
        table.setCell(0, 0, "no stream");
        QVERIFY(!table.saveCellToFile(0, 0, dir.filePath("other.bin")));
        QVERIFY(!QFile::exists(dir.filePath("other.bin")));
    }

    void findRow()
    {
        Table table = keyedTable({"a", "b", "c"});
        QCOMPARE(table.findRow("b"), 1);
        QCOMPARE(table.findRow("3"), 2); // any column
        QCOMPARE(table.findRow("B"), -1);
        table.setSize(2, 1);
        QCOMPARE(table.findRow("c"), -1); // outside the logical size
    }

    void sortExamples()
    {
        Table ignoring = keyedTable({"b", "A", "a"});
        QVERIFY(ignoring.sort(0, true, 0, 2, true));
        QCOMPARE(column(ignoring, 0), QByteArray("aAb"));
        QVERIFY(ignoring.isModified());

        Table exact = keyedTable({"b", "A", "a"});
        exact.sort(0, true, 0, 2, false);
        QCOMPARE(column(exact, 0), QByteArray("Aab"));

        // Bytes compare unsigned, and a prefix sorts first.
        Table bytes = keyedTable({"\xe9", "ab", "a", "z"});
        bytes.sort(0, true, -5, 99, false);
        QCOMPARE(column(bytes, 1), QByteArray("3241"));
    }

    // The three-way partition decides where equal keys go; this order was worked out by
    // hand from the procedure; users see it.
    void equalKeysOrder()
    {
        Table up = keyedTable({"b", "a", "b", "a", "b"});
        up.sort(0, true, 0, 4, false);
        QCOMPARE(column(up, 0), QByteArray("aabbb"));
        QCOMPARE(column(up, 1), QByteArray("42531"));

        Table down = keyedTable({"b", "a", "b", "a", "b"});
        down.sort(0, false, 0, 4, false);
        QCOMPARE(column(down, 0), QByteArray("bbbaa"));
        QCOMPARE(column(down, 1), QByteArray("51324"));

        Table same = keyedTable({"x", "x", "x"});
        same.sort(0, true, 0, 2, false);
        QCOMPARE(column(same, 1), QByteArray("312"));
    }

    void sortRangeAndShortRows()
    {
        Table table = keyedTable({"d", "c", "b", "a"});
        table.sort(0, true, 1, 2, false);
        QCOMPARE(column(table, 0), QByteArray("dbca"));
        // Keys of rows not long enough for the column are empty and sort first; whole
        // rows move, cells that only the longer row stores included.
        Table mixed;
        mixed.initSize(3, 2);
        mixed.setCell(0, 0, "r0");
        mixed.setCell(2, 1, "z");
        mixed.setCell(0, 1, "r1");
        mixed.sort(2, false, 0, 1, false);
        QCOMPARE(mixed.getCell(0, 0), QByteArray("r1"));
        QCOMPARE(mixed.getCell(2, 0), QByteArray("z"));
        QCOMPARE(mixed.cellLength(2, 1), -1);
    }

    // Recursion goes into the smaller part only: big sorted, reversed and constant
    // tables must not exhaust the stack.
    void bigSortsStayShallow()
    {
        const int rows = 100000;
        for (int shape = 0; shape < 3; ++shape) {
            Table table;
            table.initSize(1, rows);
            for (int r = 0; r < rows; ++r) {
                const int value = shape == 0 ? r : (shape == 1 ? rows - r : 7);
                table.setCell(0, r, QByteArray::number(value).rightJustified(6, '0'));
            }
            QVERIFY(table.sort(0, true, 0, rows - 1, false));
            for (int r = 1; r < rows; ++r) {
                QVERIFY2(table.cellView(0, r - 1) <= table.cellView(0, r), qPrintable(QString::number(r)));
            }
        }
    }

    void csvRoundTrip()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("t.csv");
        Table table;
        table.initSize(2, 2);
        table.setCell(0, 0, "a");
        table.setCell(1, 0, "b");
        table.setCell(0, 1, "c");
        table.setCell(1, 1, "d");
        QVERIFY(table.exportCsv(path));
        QCOMPARE(fileBytes(path), QByteArray("a;b  \r\nc;d  \r\n"));
        QCOMPARE(table.fileName(), path);

        Table back;
        QVERIFY(back.importCsv(path, true));
        QCOMPARE(back.columnCount(), 2);
        QCOMPARE(back.rowCount(), 3);
        QCOMPARE(back.getCell(1, 0), QByteArray("b"));
        QCOMPARE(back.getCell(1, 1), QByteArray("d"));
        QCOMPARE(back.getCell(0, 2), QByteArray());
        QVERIFY(!back.isModified());
        QCOMPARE(back.fileName(), path);

        Table untrimmed;
        QVERIFY(untrimmed.importCsv(path, false));
        QCOMPARE(untrimmed.getCell(1, 0), QByteArray("b  "));
        QVERIFY(!untrimmed.exportCsv(QString()));
    }

    void csvImportEdges()
    {
        QTemporaryDir dir;
        auto import = [&](const QByteArray &content, Table &table) {
            const QString path = dir.filePath("in.csv");
            QFile file(path);
            file.open(QIODevice::WriteOnly | QIODevice::Truncate);
            file.write(content);
            file.close();
            return table.importCsv(path, true);
        };
        Table table;
        // No line end at all, a lone LF that is no record end, a NUL that ends the text.
        QVERIFY(import("x;;y;z", table));
        QCOMPARE(table.columnCount(), 4);
        QCOMPARE(table.rowCount(), 1);
        QCOMPARE(table.getCell(1, 0), QByteArray());
        QCOMPARE(table.getCell(3, 0), QByteArray("z"));
        QVERIFY(import("a\nb;c\r\nd\0ignored;e;f;g", table));
        QCOMPARE(table.rowCount(), 2);
        QCOMPARE(table.columnCount(), 2);
        QCOMPARE(table.getCell(0, 0), QByteArray("ab"));
        QCOMPARE(table.getCell(0, 1), QByteArray("d"));
        QVERIFY(!import("", table));
        QVERIFY(!table.importCsv(dir.filePath("missing.csv"), true));

        // A few bytes of line ends and separators stand for a grid: one of more than ten
        // million cells is refused before anything is stored, and one within takes memory
        // for the cells that hold text only.
        QVERIFY(import(QByteArray("\r\n").repeated(2999) + QByteArray(2999, ';') + 'x', table));
        QCOMPARE(table.rowCount(), 3000);
        QCOMPARE(table.columnCount(), 3000);
        QCOMPARE(table.getCell(2999, 2999), QByteArray("x"));
        QCOMPARE(table.cellLength(2999, 2998), -1);
        const QString tooLarge = dir.filePath("large.csv");
        QFile file(tooLarge);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("\r\n").repeated(3161) + QByteArray(3162, ';') + 'x');
        file.close();
        Table::CsvProblem problem = Table::CsvProblem::None;
        QVERIFY(!table.importCsv(tooLarge, true, {}, &problem));
        QCOMPARE(problem, Table::CsvProblem::TooLarge);
    }

    void loadLines()
    {
        Table table;
        table.loadLines("one\ttab\r\n\r\ntwo\nthree\rfour\n");
        QCOMPARE(table.columnCount(), 1);
        QCOMPARE(table.rowCount(), 5);
        QCOMPARE(table.getCell(0, 0), QByteArray("one tab"));
        QCOMPARE(table.getCell(0, 1), QByteArray("two"));
        QCOMPARE(table.getCell(0, 3), QByteArray("four"));
        QCOMPARE(table.getCell(0, 4), QByteArray()); // a final line break leaves an empty row

        table.loadLines("just one line");
        QCOMPARE(table.rowCount(), 1);
        QCOMPARE(table.getCell(0, 0), QByteArray("just one line"));
        table.loadLines("");
        QCOMPARE(table.rowCount(), 0);
    }
};

VAULTBASE_TEST(TableTest)
#include "TableTest.moc"
