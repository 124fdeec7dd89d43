#include "TestRegistry.h"

#include "document/class_table.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <climits>

namespace {

// A one-column-key table: column 0 the key, column 1 a tag that tells the rows apart.
class_table keyedTable(const QList<QByteArray> &keys)
{
    class_table table;
    table.InitSize(2, int(keys.size()));
    for (int r = 0; r < keys.size(); ++r) {
        table.SetCell(0, r, keys[r]);
        table.SetCell(1, r, QByteArray::number(r + 1));
    }
    return table;
}

QByteArray column(const class_table &table, int col)
{
    QByteArray joined;
    for (int r = 0; r < table.RowCount(); ++r) {
        joined += table.GetCell(col, r);
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
        const class_table table;
        QCOMPARE(table.RowCount(), 0);
        QCOMPARE(table.ColumnCount(), 0);
        QVERIFY(!table.IsSized());
        QVERIFY(!table.IsModified());
        QCOMPARE(table.Guard(), class_table::GuardFree);
        QCOMPARE(table.Separator(), QByteArray(";"));
        QVERIFY(table.ErrorText().isEmpty());
    }

    void sizingRules()
    {
        class_table table;
        QVERIFY(!table.InitSize(0, 3));
        QVERIFY(!table.InitSize(2, -1));
        QVERIFY(table.InitSize(2, 0));
        QCOMPARE(table.ColumnCount(), 2);
        QCOMPARE(table.RowCount(), 0);
        // Once sized, only SetSize changes the counts.
        QVERIFY(!table.InitSize(5, 5));
        QCOMPARE(table.ColumnCount(), 2);
        QVERIFY(table.AddRows(3));
        QCOMPARE(table.RowCount(), 3);
        QVERIFY(!table.AddRows(0));
        QVERIFY(table.SetSize(4, 1));
        QCOMPARE(table.ColumnCount(), 4);
        QCOMPARE(table.RowCount(), 1);
        QVERIFY(!table.SetSize(0, 1));
        QVERIFY(!table.SetSize(1, -1));

        class_table unsized;
        QVERIFY(!unsized.AddRows(2));
        QVERIFY(unsized.IsModified()); // AddRows marks the table in any case
        QCOMPARE(unsized.RowCount(), 0);
        QVERIFY(unsized.SetSize(3, 0)); // behaves as InitSize: a 0 leaves the row count
        QVERIFY(unsized.IsSized());
    }

    // Setting a cell never changes the logical size; reading outside it gives nothing.
    void logicalSizeIsApartFromStoredCells()
    {
        class_table table;
        QVERIFY(table.SetCell(3, 2, "x"));
        QCOMPARE(table.RowCount(), 0);
        QCOMPARE(table.GetCell(3, 2), QByteArray());
        QCOMPARE(table.CellLength(3, 2), -1);
        table.SetSize(4, 3);
        QCOMPARE(table.GetCell(3, 2), QByteArray("x"));
        QCOMPARE(table.CellLength(3, 2), 1);
        // Rows appended to reach row 2 got 4 cells each, empty ones stored.
        QCOMPARE(table.CellLength(3, 0), 0);
        QCOMPARE(table.CellLength(2, 1), 0);
        table.SetSize(2, 3);
        QCOMPARE(table.GetCell(3, 2), QByteArray());
        QVERIFY(table.SetCell(1, 0, "short row grows"));
        QVERIFY(!table.SetCell(-1, 0, "x"));
    }

    void clearResetsEverything()
    {
        class_table table;
        table.InitSize(2, 2);
        table.SetCell(0, 0, "a");
        QVERIFY(table.Clear(true));
        QCOMPARE(table.RowCount(), 0);
        QVERIFY(!table.IsSized());
        QVERIFY(!table.IsModified());
        QVERIFY(table.FileName().isEmpty());
        QVERIFY(table.InitSize(1, 1));
        QCOMPARE(table.GetCell(0, 0), QByteArray());
        QVERIFY(table.Clear(false));
        QVERIFY(table.IsModified());
    }

    void guardRefusals()
    {
        class_table table;
        table.InitSize(1, 1);
        table.SetCell(0, 0, "kept");

        QVERIFY(table.AcquireShared());
        QVERIFY(table.AcquireShared());
        QCOMPARE(table.SharedCount(), 2);
        // Readers may share; writers are refused without effect.
        QCOMPARE(table.GetCell(0, 0), QByteArray("kept"));
        QVERIFY(!table.SetCell(0, 0, "changed"));
        QVERIFY(!table.Clear());
        QVERIFY(!table.SetSize(2, 2));
        QVERIFY(!table.Sort(0, true, 0, 0, false));
        QVERIFY(!table.ReadText("<CLASS_TABLE_ROWS>1</CLASS_TABLE_ROWS><CLASS_TABLE_COLUMNS>1</CLASS_TABLE_COLUMNS>"));
        table.Release();
        QCOMPARE(table.Guard(), class_table::GuardShared);
        table.Release();
        QCOMPARE(table.Guard(), class_table::GuardFree);

        QVERIFY(table.AcquireExclusive());
        QVERIFY(!table.AcquireShared());
        QVERIFY(!table.AcquireExclusive());
        QCOMPARE(table.GetCell(0, 0), QByteArray());
        QCOMPARE(table.FindRow("kept"), -1);
        char buffer[8] = "x";
        QVERIFY(!table.CopyCell(0, 0, buffer, sizeof buffer));
        int capacity = 8;
        QVERIFY(!table.GetCellBytes(0, 0, buffer, capacity));
        table.Release();
        QCOMPARE(table.Guard(), class_table::GuardFree);
        QCOMPARE(table.SharedCount(), 0);
        QCOMPARE(table.GetCell(0, 0), QByteArray("kept"));
    }

    void copyCellAndIntegers()
    {
        class_table table;
        table.InitSize(2, 1);
        table.SetCell(0, 0, "12abc");
        char buffer[6];
        QVERIFY(table.CopyCell(0, 0, buffer, 6));
        QCOMPARE(QByteArray(buffer), QByteArray("12abc"));
        QVERIFY(table.CopyCell(0, 0, buffer, 5)); // no room for the NUL: the empty text
        QCOMPARE(QByteArray(buffer), QByteArray());

        QCOMPARE(table.GetCellInt(0, 0), 12);
        QCOMPARE(table.GetCellInt(1, 0), 0);
        QCOMPARE(table.GetCellInt(5, 5), 0);
        QVERIFY(table.SetCellInt(1, 0, -42));
        QCOMPARE(table.GetCell(1, 0), QByteArray("-42"));
        QCOMPARE(table.GetCellInt(1, 0), -42);
        table.SetCell(1, 0, "99999999999");
        QCOMPARE(table.GetCellInt(1, 0), INT_MAX);
    }

    void streamCells()
    {
        class_table table;
        table.InitSize(1, 1);
        const QByteArray bytes = QByteArray::fromHex("00ff100a7b");
        QVERIFY(table.SetCellBytes(0, 0, bytes));
        QCOMPARE(table.GetCell(0, 0), QByteArray("<CT_STREAM>00ff100a7b"));

        char buffer[16];
        int capacity = 5 + 10; // callers size the buffer as the expected count + 10
        QVERIFY(table.GetCellBytes(0, 0, buffer, capacity));
        QCOMPARE(capacity, 5);
        QCOMPARE(QByteArray(buffer, 5), bytes);

        // Not below the capacity: the buffer gets the empty text, capacity the real count.
        capacity = 5;
        QVERIFY(table.GetCellBytes(0, 0, buffer, capacity));
        QCOMPARE(capacity, 5);
        QCOMPARE(buffer[0], '\0');

        QCOMPARE(table.GetCellBytes(0, 0), std::optional<QByteArray>(bytes));
        table.SetCell(0, 0, "plain");
        capacity = 16;
        QVERIFY(!table.GetCellBytes(0, 0, buffer, capacity));
        QVERIFY(!table.GetCellBytes(0, 0));
        QVERIFY(!table.GetCellBytes(3, 3));
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
        class_table table;
        table.InitSize(1, 1);
        QCOMPARE(table.LoadCellFromFile(0, 0, source), qint64(300));
        QCOMPARE(table.LoadCellFromFile(0, 0, dir.filePath("missing")), qint64(-1));
        QFile(dir.filePath("empty")).open(QIODevice::WriteOnly);
        QCOMPARE(table.LoadCellFromFile(0, 0, dir.filePath("empty")), qint64(-1));

        const QString target = dir.filePath("target.bin");
        QVERIFY(table.SaveCellToFile(0, 0, target));
        QCOMPARE(fileBytes(target), bytes);
        QCOMPARE(QFile::permissions(target) & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
        table.SetCell(0, 0, "no stream");
        QVERIFY(!table.SaveCellToFile(0, 0, dir.filePath("other.bin")));
        QVERIFY(!QFile::exists(dir.filePath("other.bin")));
    }

    void findRow()
    {
        class_table table = keyedTable({"a", "b", "c"});
        QCOMPARE(table.FindRow("b"), 1);
        QCOMPARE(table.FindRow("3"), 2); // any column
        QCOMPARE(table.FindRow("B"), -1);
        table.SetSize(2, 1);
        QCOMPARE(table.FindRow("c"), -1); // outside the logical size
    }

    void sortExamples()
    {
        class_table ignoring = keyedTable({"b", "A", "a"});
        QVERIFY(ignoring.Sort(0, true, 0, 2, true));
        QCOMPARE(column(ignoring, 0), QByteArray("aAb"));
        QVERIFY(ignoring.IsModified());

        class_table exact = keyedTable({"b", "A", "a"});
        exact.Sort(0, true, 0, 2, false);
        QCOMPARE(column(exact, 0), QByteArray("Aab"));

        // Bytes compare unsigned, and a prefix sorts first.
        class_table bytes = keyedTable({"\xe9", "ab", "a", "z"});
        bytes.Sort(0, true, -5, 99, false);
        QCOMPARE(column(bytes, 1), QByteArray("3241"));
    }

    // The three-way partition decides where equal keys go; this order was worked out by
    // hand from the procedure; users see it.
    void equalKeysOrder()
    {
        class_table up = keyedTable({"b", "a", "b", "a", "b"});
        up.Sort(0, true, 0, 4, false);
        QCOMPARE(column(up, 0), QByteArray("aabbb"));
        QCOMPARE(column(up, 1), QByteArray("42531"));

        class_table down = keyedTable({"b", "a", "b", "a", "b"});
        down.Sort(0, false, 0, 4, false);
        QCOMPARE(column(down, 0), QByteArray("bbbaa"));
        QCOMPARE(column(down, 1), QByteArray("51324"));

        class_table same = keyedTable({"x", "x", "x"});
        same.Sort(0, true, 0, 2, false);
        QCOMPARE(column(same, 1), QByteArray("312"));
    }

    void sortRangeAndShortRows()
    {
        class_table table = keyedTable({"d", "c", "b", "a"});
        table.Sort(0, true, 1, 2, false);
        QCOMPARE(column(table, 0), QByteArray("dbca"));
        // Keys of rows not long enough for the column are empty and sort first; whole
        // rows move, cells that only the longer row stores included.
        class_table mixed;
        mixed.InitSize(3, 2);
        mixed.SetCell(0, 0, "r0");
        mixed.SetCell(2, 1, "z");
        mixed.SetCell(0, 1, "r1");
        mixed.Sort(2, false, 0, 1, false);
        QCOMPARE(mixed.GetCell(0, 0), QByteArray("r1"));
        QCOMPARE(mixed.GetCell(2, 0), QByteArray("z"));
        QCOMPARE(mixed.CellLength(2, 1), -1);
    }

    // Recursion goes into the smaller part only: big sorted, reversed and constant
    // tables must not exhaust the stack.
    void bigSortsStayShallow()
    {
        const int rows = 100000;
        for (int shape = 0; shape < 3; ++shape) {
            class_table table;
            table.InitSize(1, rows);
            for (int r = 0; r < rows; ++r) {
                const int value = shape == 0 ? r : (shape == 1 ? rows - r : 7);
                table.SetCell(0, r, QByteArray::number(value).rightJustified(6, '0'));
            }
            QVERIFY(table.Sort(0, true, 0, rows - 1, false));
            for (int r = 1; r < rows; ++r) {
                QVERIFY2(table.CellView(0, r - 1) <= table.CellView(0, r), qPrintable(QString::number(r)));
            }
        }
    }

    void csvRoundTrip()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("t.csv");
        class_table table;
        table.InitSize(2, 2);
        table.SetCell(0, 0, "a");
        table.SetCell(1, 0, "b");
        table.SetCell(0, 1, "c");
        table.SetCell(1, 1, "d");
        QVERIFY(table.ExportCsv(path));
        QCOMPARE(fileBytes(path), QByteArray("a;b  \r\nc;d  \r\n"));
        QCOMPARE(table.FileName(), path);

        class_table back;
        QVERIFY(back.ImportCsv(path, true));
        QCOMPARE(back.ColumnCount(), 2);
        QCOMPARE(back.RowCount(), 3);
        QCOMPARE(back.GetCell(1, 0), QByteArray("b"));
        QCOMPARE(back.GetCell(1, 1), QByteArray("d"));
        QCOMPARE(back.GetCell(0, 2), QByteArray());
        QVERIFY(!back.IsModified());
        QCOMPARE(back.FileName(), path);

        class_table untrimmed;
        QVERIFY(untrimmed.ImportCsv(path, false));
        QCOMPARE(untrimmed.GetCell(1, 0), QByteArray("b  "));
        QVERIFY(!untrimmed.ExportCsv(QString()));
    }

    void csvImportEdges()
    {
        QTemporaryDir dir;
        auto import = [&](const QByteArray &content, class_table &table) {
            const QString path = dir.filePath("in.csv");
            QFile file(path);
            file.open(QIODevice::WriteOnly | QIODevice::Truncate);
            file.write(content);
            file.close();
            return table.ImportCsv(path, true);
        };
        class_table table;
        // No line end at all, a lone LF that is no record end, a NUL that ends the text.
        QVERIFY(import("x;;y;z", table));
        QCOMPARE(table.ColumnCount(), 4);
        QCOMPARE(table.RowCount(), 1);
        QCOMPARE(table.GetCell(1, 0), QByteArray());
        QCOMPARE(table.GetCell(3, 0), QByteArray("z"));
        QVERIFY(import("a\nb;c\r\nd\0ignored;e;f;g", table));
        QCOMPARE(table.RowCount(), 2);
        QCOMPARE(table.ColumnCount(), 2);
        QCOMPARE(table.GetCell(0, 0), QByteArray("ab"));
        QCOMPARE(table.GetCell(0, 1), QByteArray("d"));
        QVERIFY(!import("", table));
        QVERIFY(!table.ImportCsv(dir.filePath("missing.csv"), true));

        // A few bytes of line ends and separators stand for a grid: one of more than ten
        // million cells is refused before anything is stored, and one within takes memory
        // for the cells that hold text only.
        QVERIFY(import(QByteArray("\r\n").repeated(2999) + QByteArray(2999, ';') + 'x', table));
        QCOMPARE(table.RowCount(), 3000);
        QCOMPARE(table.ColumnCount(), 3000);
        QCOMPARE(table.GetCell(2999, 2999), QByteArray("x"));
        QCOMPARE(table.CellLength(2999, 2998), -1);
        const QString tooLarge = dir.filePath("large.csv");
        QFile file(tooLarge);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("\r\n").repeated(3161) + QByteArray(3162, ';') + 'x');
        file.close();
        class_table::CsvProblem problem = class_table::CsvProblem::None;
        QVERIFY(!table.ImportCsv(tooLarge, true, {}, &problem));
        QCOMPARE(problem, class_table::CsvProblem::TooLarge);
    }

    void loadLines()
    {
        class_table table;
        table.LoadLines("one\ttab\r\n\r\ntwo\nthree\rfour\n");
        QCOMPARE(table.ColumnCount(), 1);
        QCOMPARE(table.RowCount(), 5);
        QCOMPARE(table.GetCell(0, 0), QByteArray("one tab"));
        QCOMPARE(table.GetCell(0, 1), QByteArray("two"));
        QCOMPARE(table.GetCell(0, 3), QByteArray("four"));
        QCOMPARE(table.GetCell(0, 4), QByteArray()); // a final line break leaves an empty row

        table.LoadLines("just one line");
        QCOMPARE(table.RowCount(), 1);
        QCOMPARE(table.GetCell(0, 0), QByteArray("just one line"));
        table.LoadLines("");
        QCOMPARE(table.RowCount(), 0);
    }
};

VAULTBASE_TEST(TableTest)
#include "TableTest.moc"
