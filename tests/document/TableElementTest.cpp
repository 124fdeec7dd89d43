#include "TestRegistry.h"

#include "document/TableElement.h"

#include <QTest>
#include <QtEndian>

namespace {

Table grid2x2()
{
    Table grid;
    grid.initSize(2, 2);
    grid.setCell(0, 0, "a");
    grid.setCell(1, 0, "b");
    grid.setCell(0, 1, "c");
    return grid;
}

} // namespace

class TableElementTest : public QObject
{
    Q_OBJECT

private slots:
    void streamLayout()
    {
        TableElement::GridSettings settings;
        settings.columns = "2";
        settings.rows = "2";
        settings.width = "80";
        const QByteArray stream = TableElement::buildStream(settings, grid2x2());
        Table stored;
        QVERIFY(stored.readBinary(stream));
        QCOMPARE(stored.columnCount(), 2);
        QCOMPARE(stored.rowCount(), 5);
        QCOMPARE(stored.getCell(0, 0), QByteArray("2"));
        QCOMPARE(stored.getCell(0, 2), QByteArray("80"));
        QCOMPARE(stored.getCell(1, 3), QByteArray("b"));
        // Settings rows store column 0 only: the others are written as not stored (-1),
        // grid cells always as stored, empty ones with length 0.
        QByteArray minusOne(4, '\0');
        qToLittleEndian(qint32(-1), minusOne.data());
        const qsizetype secondCell = 2064 + 4 + 1 + 1; // length, "2", NUL
        QCOMPARE(stream.mid(secondCell, 4), minusOne);
        QCOMPARE(stream.right(4), QByteArray(4, '\0')); // grid cell (1, 1), empty
    }

    void readBackFillsSettingsAndGrid_data()
    {
        QTest::addColumn<bool>("binary");
        QTest::newRow("binary") << true;
        QTest::newRow("text") << false;
    }

    void readBackFillsSettingsAndGrid()
    {
        QFETCH(bool, binary);
        TableElement::GridSettings written;
        written.columns = "7";
        written.rows = ""; // an empty settings cell leaves the shown setting as it is
        written.width = "120";
        Table stored;
        QVERIFY(stored.readBinary(TableElement::buildStream(written, grid2x2())));
        const QByteArray stream = binary ? stored.writeBinary() : stored.writeText();

        TableElement::GridSettings shown;
        shown.rows = "15";
        Table grid;
        QVERIFY(TableElement::read(stream, shown, grid));
        QCOMPARE(shown.columns, QByteArray("7"));
        QCOMPARE(shown.rows, QByteArray("15"));
        QCOMPARE(shown.width, QByteArray("120"));
        QCOMPARE(grid.columnCount(), 2);
        QCOMPARE(grid.rowCount(), 2);
        QCOMPARE(grid.getCell(1, 0), QByteArray("b"));
        QCOMPARE(grid.getCell(0, 1), QByteArray("c"));
        QCOMPARE(grid.getCell(1, 1), QByteArray());
    }

    void unreadableStreamChangesNothing()
    {
        TableElement::GridSettings shown;
        Table grid = grid2x2();
        QVERIFY(!TableElement::read("not a table", shown, grid));
        QVERIFY(!TableElement::read(QByteArray(), shown, grid));
        QCOMPARE(shown.columns, QByteArray("5"));
        QCOMPARE(shown.width, QByteArray("60"));
        QCOMPARE(grid.getCell(0, 0), QByteArray("a"));
    }

    void settingValues()
    {
        QCOMPARE(TableElement::settingValue("7", 5), 7);
        QCOMPARE(TableElement::settingValue(" 12 ", 5), 12);
        QCOMPARE(TableElement::settingValue("7x", 5), 5);
        QCOMPARE(TableElement::settingValue("", 60), 60);
    }
};

VAULTBASE_TEST(TableElementTest)
#include "TableElementTest.moc"
