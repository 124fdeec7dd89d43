#include "TestRegistry.h"

#include "OpsTestTrees.h"
#include "TableTestGrids.h"
#include "editing/TableCsv.h"
#include "editing/TableGrid.h"
#include "editing/TableSort.h"
#include "editing/TableStorage.h"
#include "document/TableElement.h"
#include "platform/Clock.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace vaultbase::test::ops;

namespace {

TableGrid gridOf(const QList<QList<QByteArray>> &rows)
{
    TableGrid grid;
    grid.resize(int(rows.value(0).size()), int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            grid.setCell(c, r, rows[r][c]);
        }
    }
    return grid;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

// Table editing without a window: the grid's commands, storing and loading, sorting, CSV.
class OpsTableTest : public QObject
{
    Q_OBJECT

    FixedClock m_clock{QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9))};

private slots:
    void insertAndRemoveColumns()
    {
        TableGrid grid = gridOf({{"a", "b", "c"}, {"d", "e", "f"}});
        QVERIFY(grid.insertColumn(2));
        QCOMPARE(gridText(grid), QByteArray("a,b,,c/d,e,,f"));
        QCOMPARE(grid.barTexts().columns, QByteArray("4"));
        QVERIFY(grid.removeColumn(0));
        QCOMPARE(gridText(grid), QByteArray("b,,c/e,,f"));
        QVERIFY(grid.removeColumn(2));
        QCOMPARE(gridText(grid), QByteArray("b,/e,"));
        QVERIFY(grid.removeColumn(1));
        QVERIFY(grid.removeColumn(0)); // the only column: cleared, kept
        QCOMPARE(grid.columnCount(), 1);
        QCOMPARE(grid.barTexts().columns, QByteArray("1"));
        QCOMPARE(gridText(grid), QByteArray("/"));
        QVERIFY(!grid.insertColumn(1));
        QVERIFY(!grid.removeColumn(-1));
    }

    void insertAndRemoveRows()
    {
        TableGrid grid = gridOf({{"r0"}, {"r1"}, {"r2"}});
        QVERIFY(grid.removeRow(2));
        QCOMPARE(gridText(grid), QByteArray("r0/r1"));
        QCOMPARE(grid.barTexts().rows, QByteArray("2"));
        QVERIFY(grid.insertRow(0));
        QCOMPARE(gridText(grid), QByteArray("/r0/r1"));
        QVERIFY(grid.removeRow(1));
        QCOMPARE(gridText(grid), QByteArray("/r1"));

        TableGrid one = gridOf({{"only", "row"}});
        one.setRowsText("1");
        QVERIFY(one.removeRow(0));
        QCOMPARE(one.rowCount(), 1);
        QCOMPARE(gridText(one), QByteArray(","));
        QCOMPARE(one.barTexts().rows, QByteArray("1"));
        QVERIFY(!one.removeRow(1));
    }

    void clearCommands()
    {
        TableGrid grid = gridOf({{"a", "b"}, {"c", "d"}});
        QVERIFY(grid.clearRow(1));
        QCOMPARE(gridText(grid), QByteArray("a,b/,"));
        QVERIFY(grid.clearColumn(0));
        QCOMPARE(gridText(grid), QByteArray(",b/,"));
        grid.clearAll();
        QCOMPARE(gridText(grid), QByteArray(",/,"));
        QVERIFY(!grid.clearRow(2));
        QVERIFY(!grid.setCell(2, 0, "outside"));
    }

    void barTextsAndTheirFallbacks()
    {
        TableGrid grid;
        QCOMPARE(grid.columnCount(), 5);
        QCOMPARE(grid.rowCount(), 5);
        QCOMPARE(grid.defaultWidth(), 60);
        QVERIFY(grid.setColumnsText("7"));
        QVERIFY(!grid.setColumnsText(" 7 "));
        QVERIFY(grid.setColumnsText("seven"));
        QCOMPARE(grid.columnCount(), 5);
        QCOMPARE(grid.barTexts().columns, QByteArray("seven")); // kept as typed
        QVERIFY(grid.setRowsText("0"));
        QCOMPARE(grid.rowCount(), 1);
        QVERIFY(!grid.setWidthText("")); // the empty item
        QCOMPARE(grid.defaultWidth(), 60);
        QVERIFY(grid.setWidthText("140"));
        QVERIFY(grid.setRowsText("99999999999"));  // not a 32-bit number
        QCOMPARE(grid.rowCount(), 5);
        grid.setColumnsText("16384");
        grid.setRowsText("1000000");
        QVERIFY(qint64(grid.columnCount()) * grid.rowCount() <= TableGrid::MaxCells);
        QCOMPARE(grid.columnCount(), 16384);
    }

    void rowsTypedDigitByDigitLoseNothing()
    {
        TableGrid grid;
        grid.resize(2, 20);
        for (int r = 0; r < 20; ++r) {
            grid.setCell(1, r, QByteArray::number(r));
        }
        QVERIFY(grid.setRowsText("2"));
        QCOMPARE(grid.cell(1, 5), QByteArray());
        QVERIFY(grid.setRowsText("25"));
        QCOMPARE(grid.cell(1, 19), QByteArray("19"));
        QCOMPARE(grid.cell(1, 20), QByteArray());
    }

    void storeTableWritesTheElementLayout()
    {
        ElementTree tree;
        ElementData old = textData("content", "detail", "comment");
        old.setBlob("old stream");
        ElementNode *table = add(tree, nullptr, "T", KindTable, old);
        TableGrid grid = gridOf({{"a", ""}, {"", "d"}});
        QVERIFY(TableStorage::storeTable(tree, table, grid, m_clock));
        const ElementData &record = table->data();
        QCOMPARE(record.Content, QByteArray());
        QCOMPARE(record.Detail, QByteArray());
        QCOMPARE(record.Comment, QByteArray());
        QCOMPARE(record.Created, old.Created);
        QCOMPARE(record.Modified, QByteArray("2024-05-06 07:08:09"));
        QCOMPARE(record.BlobSize, qint32(record.Blob->size()));

        const QByteArray stream = *record.Blob;
        Table stored;
        QVERIFY(stored.readBinary(stream));
        QCOMPARE(stored.columnCount(), 2);
        QCOMPARE(stored.rowCount(), 5);
        QCOMPARE(stored.getCell(0, 0), QByteArray("2"));
        QCOMPARE(stored.getCell(0, 1), QByteArray("2"));
        QCOMPARE(stored.getCell(0, 2), QByteArray("60"));
        QCOMPARE(stored.getCell(0, 3), QByteArray("a"));
        QCOMPARE(stored.getCell(1, 4), QByteArray("d"));
        // Settings rows store column 0 only: the cell beside "2" is written as not stored.
        QCOMPARE(qFromLittleEndian<qint32>(stream.constData() + 2064), 1);
        QCOMPARE(qFromLittleEndian<qint32>(stream.constData() + 2064 + 6), -1);

        QVERIFY(!TableStorage::storeTable(tree, add(tree, nullptr, "K", KindKey), grid, m_clock));
    }

    void columnsTypedSurviveReselecting()
    {
        ElementTree tree;
        ElementNode *table = add(tree, nullptr, "T", KindTable);
        TableGrid grid;
        grid.setCell(4, 4, "corner");
        QVERIFY(grid.setColumnsText("7"));
        grid.setCell(6, 0, "new column");
        QVERIFY(TableStorage::storeTable(tree, table, grid, m_clock));

        // Another table is shown in between, with other settings and cells.
        TableGrid shown = gridOf({{"x", "y", "z"}, {"u", "v", "w"}, {"p", "q", "r"}});
        shown.setWidthText("100");
        QVERIFY(TableStorage::loadTable(shown, table->data()));
        QCOMPARE(shown.barTexts().columns, QByteArray("7"));
        QCOMPARE(shown.columnCount(), 7);
        QCOMPARE(shown.rowCount(), 5);
        QCOMPARE(shown.defaultWidth(), 60);
        QCOMPARE(shown.cell(4, 4), QByteArray("corner"));
        QCOMPARE(shown.cell(6, 0), QByteArray("new column"));
        QCOMPARE(shown.cell(0, 0), QByteArray()); // nothing of the table shown before
        QVERIFY(shown.setRowsText("8"));
        QCOMPARE(shown.cell(1, 1), QByteArray());
    }

    void newTableKeepsTheGridSizeAndUnreadableShowsEmpty()
    {
        TableGrid grid = gridOf({{"a", "b", "c"}});
        ElementData fresh = textData({});
        QVERIFY(!TableStorage::loadTable(grid, fresh));
        QCOMPARE(grid.columnCount(), 3);
        QCOMPARE(grid.rowCount(), 1);
        QCOMPARE(gridText(grid), QByteArray(",,"));

        grid.setCell(0, 0, "x");
        ElementData broken = textData({});
        broken.setBlob("CLASS_TABLE V1.000VLB but nothing after it");
        QVERIFY(!TableStorage::loadTable(grid, broken));
        QCOMPARE(gridText(grid), QByteArray(",,"));
    }

    void longCellsComeBackWhole()
    {
        ElementTree tree;
        ElementNode *table = add(tree, nullptr, "T", KindTable);
        QByteArray megabyte(1 << 20, 'm');
        megabyte[12345] = ';';
        TableGrid grid;
        grid.setCell(1, 2, megabyte);
        grid.setCell(2, 2, QByteArray(2048, 'x'));
        QVERIFY(TableStorage::storeTable(tree, table, grid, m_clock));
        TableGrid shown;
        QVERIFY(TableStorage::loadTable(shown, table->data()));
        QCOMPARE(shown.cell(1, 2), megabyte);
        QCOMPARE(shown.cell(2, 2), QByteArray(2048, 'x'));
    }

    void proposedEndRow()
    {
        TableGrid grid = gridOf({{"1"}, {"2"}, {"3"}, {"4"}, {""}, {"6"}});
        QCOMPARE(TableSort::proposedEndRow(grid), 4);
        grid.setCell(0, 4, "5");
        QCOMPARE(TableSort::proposedEndRow(grid), 6);
        grid.setCell(0, 0, "");
        QCOMPARE(TableSort::proposedEndRow(grid), 0);
    }

    void sortFieldsWithLettersOrZeroCountAsOne()
    {
        QCOMPARE(TableSort::fieldValue(u"abc"), 1);
        QCOMPARE(TableSort::fieldValue(u"0"), 1);
        QCOMPARE(TableSort::fieldValue(u"-4"), 1);
        QCOMPARE(TableSort::fieldValue(u""), 1);
        QCOMPARE(TableSort::fieldValue(u" 12 "), 12);
        // Rows 1 to 1: nothing to sort. A start past the table never wraps to the settings.
        using Range = std::optional<TableSort::StoredRange>;
        QCOMPARE(TableSort::storedRangeFor({1, 1, 1, true}, 3, 8).has_value(), false);
        QCOMPARE(TableSort::storedRangeFor({1, 40, 2, true}, 3, 8).has_value(), false);
        QCOMPARE(TableSort::storedRangeFor({1, 0, 0, true}, 3, 8).has_value(), false);
        QCOMPARE(TableSort::storedRangeFor({4, 1, 5, true}, 3, 8).has_value(), false); // no column 4
        const Range range = TableSort::storedRangeFor({2, 0, 99, true}, 3, 8);
        QVERIFY(range);
        QCOMPARE(range->column, 1);
        QCOMPARE(range->fromRow, 3);
        QCOMPARE(range->toRow, 7);
    }

    void sortDescendingByColumn2FromRow1To4()
    {
        ElementTree tree;
        ElementNode *table = add(tree, nullptr, "T", KindTable);
        TableGrid grid = gridOf({{"r1", "b"}, {"r2", "D"}, {"r3", "a"}, {"r4", "c"}, {"r5", "z"}, {"r6", "0"}});
        grid.setWidthText("80");
        QVERIFY(TableStorage::storeTable(tree, table, grid, m_clock));
        const QByteArray created = table->data().Created;
        m_clock.advanceSeconds(60);

        QVERIFY(TableSort::sortTableData(tree, table, {2, 1, 4, false}, m_clock));
        TableGrid shown;
        QVERIFY(TableStorage::loadTable(shown, table->data()));
        QCOMPARE(gridText(shown), QByteArray("r2,D/r4,c/r1,b/r3,a/r5,z/r6,0"));
        QCOMPARE(shown.barTexts().columns, QByteArray("2"));
        QCOMPARE(shown.barTexts().rows, QByteArray("6"));
        QCOMPARE(shown.barTexts().width, QByteArray("80"));
        QCOMPARE(table->data().Created, created);
        QCOMPARE(table->data().Modified, QByteArray("2024-05-06 07:09:09"));

        // Fields of letters and zeros: rows 1 to 1, nothing to sort, nothing changes.
        const QByteArray before = *table->data().Blob;
        const TableSort::Request silly{TableSort::fieldValue(u"x"), TableSort::fieldValue(u"0"),
                                       TableSort::fieldValue(u"zero"), true};
        QVERIFY(!TableSort::sortTableData(tree, table, silly, m_clock));
        QCOMPARE(*table->data().Blob, before);
        // An end row past the table stops at its last row.
        QVERIFY(TableSort::sortTableData(tree, table, {2, 5, 200, true}, m_clock));
        QVERIFY(TableStorage::loadTable(shown, table->data()));
        QCOMPARE(gridText(shown), QByteArray("r2,D/r4,c/r1,b/r3,a/r6,0/r5,z"));
        QCOMPARE(shown.barTexts().rows, QByteArray("6"));

        ElementNode *unstored = add(tree, nullptr, "U", KindTable);
        QVERIFY(!TableSort::sortTableData(tree, unstored, {1, 1, 4, true}, m_clock));
        QVERIFY(!unstored->data().Blob);
    }

    void csvExportThenImportGivesAnEmptyLastRow()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("t.csv"));
        TableGrid grid = gridOf({{"a", " b "}, {"c", "d"}});
        QVERIFY(TableCsv::exportFile(grid, path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("a; b   \r\nc;d  \r\n"));
        QCOMPARE(file.permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup), QFileDevice::Permissions());

        TableGrid imported;
        imported.setWidthText("120");
        QCOMPARE(TableCsv::importFile(imported, path), TableCsv::ImportResult::Imported);
        QCOMPARE(gridText(imported), QByteArray("a,b/c,d/,"));
        QCOMPARE(imported.barTexts().columns, QByteArray("2"));
        QCOMPARE(imported.barTexts().rows, QByteArray("3"));
        QCOMPARE(imported.defaultWidth(), 120);
    }

    void csvImportReportsProgressAndCanBeCancelled()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("big.csv"));
        QByteArray csv;
        for (int r = 0; r < 10000; ++r) {
            csv += "row" + QByteArray::number(r) + ";x\r\n";
        }
        QVERIFY(writeFile(path, csv));

        TableGrid grid = gridOf({{"keep"}});
        QList<qint64> seen;
        auto cancelLater = [&](qint64 done, qint64 total) {
            seen.append(done);
            return total == 10001 && seen.size() < 2;
        };
        QCOMPARE(TableCsv::importFile(grid, path, cancelLater), TableCsv::ImportResult::Cancelled);
        QCOMPARE(gridText(grid), QByteArray("keep"));
        QCOMPARE(seen.size(), 2);
        QVERIFY(seen[1] > seen[0]);

        qint64 last = -1;
        QCOMPARE(TableCsv::importFile(grid, path, [&](qint64 done, qint64) { return (last = done) >= 0; }),
                 TableCsv::ImportResult::Imported);
        QCOMPARE(last, qint64(10001));
        QCOMPARE(grid.rowCount(), 10001);
        QCOMPARE(grid.cell(0, 9999), QByteArray("row9999"));

        QCOMPARE(TableCsv::importFile(grid, dir.filePath(QStringLiteral("missing.csv"))),
                 TableCsv::ImportResult::Unreadable);
        QVERIFY(writeFile(path, QByteArray(20000, ';')));
        QCOMPARE(TableCsv::importFile(grid, path), TableCsv::ImportResult::TooLarge);
        // 6 KB of empty lines and one far column: a grid of more than ten million cells.
        QVERIFY(writeFile(path, QByteArray("\r\n").repeated(3200) + QByteArray(3200, ';') + 'x'));
        QCOMPARE(TableCsv::importFile(grid, path), TableCsv::ImportResult::TooLarge);
        QCOMPARE(grid.rowCount(), 10001);
    }
};

VAULTBASE_TEST(OpsTableTest)
#include "OpsTableTest.moc"
