#include "TestRegistry.h"

#include "document/ElementTree.h"
#include "document/Table.h"
#include "document/TreeTable.h"

#include <QRandomGenerator>
#include <QTest>
#include <QtEndian>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>

namespace {

enum class Form { Binary, Text };

QByteArray write(const Table &table, Form form)
{
    return form == Form::Binary ? table.writeBinary() : table.writeText();
}

bool read(Table &table, Form form, QByteArrayView stream)
{
    return form == Form::Binary ? table.readBinary(stream) : table.readText(stream);
}

QByteArray int32(qint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray binaryHeader(qint32 cols, qint32 rows)
{
    QByteArray header(2056, '\0');
    header.replace(0, 21, "CLASS_TABLE V1.000VLB");
    return header + int32(cols) + int32(rows);
}

QByteArray textHeader(int rows, int cols)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n<CLASS_TABLE_XML>\r\n<CLASS_TABLE_ROWS>"
        + QByteArray::number(rows) + "</CLASS_TABLE_ROWS>\r\n<CLASS_TABLE_COLUMNS>" + QByteArray::number(cols)
        + "</CLASS_TABLE_COLUMNS>\r\n";
}

} // namespace

Q_DECLARE_METATYPE(Form)

class TableStreamTest : public QObject
{
    Q_OBJECT

private slots:
    void emptyBinaryStream()
    {
        Table table;
        const QByteArray stream = table.writeBinary();
        QCOMPARE(stream.size(), 2064);
        QVERIFY(stream.startsWith(QByteArray("CLASS_TABLE V1.000VLB", 22)));
        QCOMPARE(stream.count('\0'), 2064 - 21);
        Table back;
        QVERIFY(back.readBinary(stream));
        QCOMPARE(back.rowCount(), 0);
    }

    void binaryLayoutOfTwoCells()
    {
        Table table;
        table.initSize(2, 1);
        table.setCell(0, 0, "ab");
        table.setCell(1, 0, "");
        QVERIFY(table.isModified());
        const QByteArray stream = table.writeBinary();
        QVERIFY(!table.isModified());
        QCOMPARE(stream.size(), 2075);
        QCOMPARE(stream.mid(2056, 8), int32(2) + int32(1));
        QCOMPARE(stream.mid(2064), QByteArray("\x02\0\0\0ab\0\0\0\0\0", 11));
        // A cell inside the logical size that is not stored is written with length -1.
        table.setSize(3, 1);
        QCOMPARE(table.writeBinary().mid(2075), int32(-1));
    }

    void textLayout()
    {
        Table table;
        table.initSize(2, 1);
        table.setCell(0, 0, "x y");
        const QByteArray stream = table.writeText();
        QCOMPARE(stream, textHeader(1, 2)
                 + " <CLASS_TABLE_ROW>\r\n  <CLASS_TABLE_COLUMN>x y</CLASS_TABLE_COLUMN>\r\n"
                   "  <CLASS_TABLE_COLUMN></CLASS_TABLE_COLUMN>\r\n </CLASS_TABLE_ROW>\r\n</CLASS_TABLE_XML>\r\n"
                 + QByteArray(1, '\0'));
    }

    void roundTrip_data()
    {
        QTest::addColumn<Form>("form");
        QTest::newRow("binary") << Form::Binary;
        QTest::newRow("text") << Form::Text;
    }

    // Random tables of every byte but NUL survive both forms cell for cell.
    void roundTrip()
    {
        QFETCH(Form, form);
        QRandomGenerator random(1234);
        for (int round = 0; round < 20; ++round) {
            Table table;
            const int cols = random.bounded(1, 6);
            const int rows = random.bounded(0, 8);
            table.initSize(cols, rows);
            for (int r = 0; r < rows; ++r) {
                for (int c = 0; c < cols; ++c) {
                    QByteArray cell;
                    const int length = random.bounded(0, 30);
                    for (int i = 0; i < length; ++i) {
                        cell.append(char(random.bounded(1, 256)));
                    }
                    table.setCell(c, r, cell);
                }
            }
            Table back;
            QVERIFY(read(back, form, write(table, form)));
            QCOMPARE(back.columnCount(), cols);
            QCOMPARE(back.rowCount(), rows);
            QVERIFY(!back.isModified() || form == Form::Binary);
            for (int r = 0; r < rows; ++r) {
                for (int c = 0; c < cols; ++c) {
                    QCOMPARE(back.getCell(c, r), table.getCell(c, r));
                }
            }
        }
    }

    // Plaintext of a database is zero-padded to whole cipher blocks: both readers ignore it.
    void trailingZerosAreIgnored_data() { roundTrip_data(); }
    void trailingZerosAreIgnored()
    {
        QFETCH(Form, form);
        Table table;
        table.initSize(1, 1);
        table.setCell(0, 0, "cell");
        Table back;
        QVERIFY(read(back, form, write(table, form) + QByteArray(7, '\0')));
        QCOMPARE(back.getCell(0, 0), QByteArray("cell"));
    }

    void textFormLimits()
    {
        Table table;
        table.initSize(3, 1);
        table.setCell(0, 0, "a");
        table.setCell(1, 0, "b");
        table.setCell(2, 0, "c");
        QVERIFY(table.textFormCanCarry());
        table.setCell(1, 0, "x<CLASS_TABLE_COLUMN>y");
        QVERIFY(!table.textFormCanCarry());
        // What the text form does to such a cell: it corrupts the cell after it.
        Table back;
        QVERIFY(back.readText(table.writeText()));
        QCOMPARE(back.getCell(2, 0), QByteArray("y"));
        table.setCell(1, 0, "x</CLASS_TABLE_COLUMN>y");
        QVERIFY(!table.textFormCanCarry());
        table.setCell(1, 0, QByteArray("x\0y", 3));
        QVERIFY(!table.textFormCanCarry());
        // The binary form carries all three.
        QVERIFY(back.readBinary(table.writeBinary()));
        QCOMPARE(back.getCell(1, 0), QByteArray("x\0y", 3));
        QCOMPARE(back.getCell(2, 0), QByteArray("c"));
        // A cell outside the logical size is never written, so it does not count.
        table.setSize(1, 1);
        QVERIFY(table.textFormCanCarry());
    }

    void textMissingColumnTagKeepsRowsBefore()
    {
        const QByteArray stream = textHeader(3, 2)
            + " <CLASS_TABLE_ROW>\r\n  <CLASS_TABLE_COLUMN>a</CLASS_TABLE_COLUMN>\r\n"
              "  <CLASS_TABLE_COLUMN>b</CLASS_TABLE_COLUMN>\r\n </CLASS_TABLE_ROW>\r\n"
              " <CLASS_TABLE_ROW>\r\n  <CLASS_TABLE_COLUMN>c</CLASS_TABLE_COLUMN>\r\n </CLASS_TABLE_ROW>\r\n"
              "</CLASS_TABLE_XML>\r\n";
        Table table;
        QVERIFY(!table.readText(stream));
        QCOMPARE(table.rowCount(), 1);
        QCOMPARE(table.getCell(1, 0), QByteArray("b"));
    }

    void textMissingRowTagEndsRows()
    {
        const QByteArray stream = textHeader(5, 1)
            + " <CLASS_TABLE_ROW>\r\n  <CLASS_TABLE_COLUMN>only</CLASS_TABLE_COLUMN>\r\n </CLASS_TABLE_ROW>\r\n";
        Table table;
        QVERIFY(table.readText(stream));
        QCOMPARE(table.rowCount(), 1);
        QCOMPARE(table.getCell(0, 0), QByteArray("only"));
        QVERIFY(!table.isModified());
    }

    // Damaged and hostile streams fail cleanly and never read beyond their buffer (the
    // sanitizer build checks the latter): each stream is handed over in a buffer of exactly
    // its own size.
    void hostileStreams_data()
    {
        QTest::addColumn<Form>("form");
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("rows");

        Table two;
        two.initSize(2, 2);
        two.setCell(0, 0, "first");
        two.setCell(1, 1, "last cell");
        const QByteArray binary = two.writeBinary();
        const QByteArray text = two.writeText();

        QTest::newRow("binary empty") << Form::Binary << QByteArray() << false << 0;
        QTest::newRow("binary magic only") << Form::Binary << QByteArray("CLASS_TABLE V1.000VLB", 22) << false << 0;
        QTest::newRow("binary wrong magic") << Form::Binary << QByteArray(binary).replace(0, 5, "class") << false << 0;
        QTest::newRow("binary magic without NUL")
            << Form::Binary << QByteArray(binary).replace(21, 1, "X") << false << 0;
        QTest::newRow("binary header cut") << Form::Binary << binary.first(2062) << false << 0;
        QTest::newRow("binary negative rows") << Form::Binary << binaryHeader(2, -1) << false << 0;
        QTest::newRow("binary negative columns") << Form::Binary << binaryHeader(-3, 1) << false << 0;
        QTest::newRow("binary counts beyond buffer")
            << Form::Binary << binaryHeader(0x7fffffff, 0x7fffffff) + int32(0) << false << 0;
        QTest::newRow("binary count one too many") << Form::Binary << binaryHeader(1, 3) + int32(0) + int32(0)
                                                   << false << 0;
        QTest::newRow("binary zero columns many rows") << Form::Binary << binaryHeader(0, 0x7fffffff) << true << 0;
        QTest::newRow("binary zero rows many columns") << Form::Binary << binaryHeader(0x7fffffff, 0) << true << 0;
        QTest::newRow("binary zero rows, bytes after")
            << Form::Binary << binaryHeader(24832, 0) + QByteArray(2056, '\0') << true << 0;
        QTest::newRow("binary length beyond buffer")
            << Form::Binary << binaryHeader(1, 1) + int32(1000) + "abc" << false << 0;
        QTest::newRow("binary length without NUL") << Form::Binary << binaryHeader(1, 1) + int32(3) + "abc" << false
                                                   << 0;
        QTest::newRow("binary length -2") << Form::Binary << binaryHeader(1, 1) + int32(-2) + "abcd" << false << 0;
        QTest::newRow("binary length min") << Form::Binary << binaryHeader(1, 1) + int32(INT_MIN) + "abcd" << false
                                           << 0;
        for (int cut : {1, 5, 10, 20, 30}) {
            QTest::addRow("binary truncated by %d", cut) << Form::Binary << binary.first(binary.size() - cut) << false
                                                         << 0;
        }

        QTest::newRow("text empty") << Form::Text << QByteArray() << false << 0;
        QTest::newRow("text no rows tag") << Form::Text << QByteArray(text).replace("<CLASS_TABLE_ROWS>", "<X>")
                                          << false << 0;
        QTest::newRow("text no columns closing")
            << Form::Text << QByteArray(text).replace("</CLASS_TABLE_COLUMNS>", "<X>") << false << 0;
        QTest::newRow("text closing before opening")
            << Form::Text << QByteArray("</CLASS_TABLE_ROWS>1<CLASS_TABLE_ROWS></CLASS_TABLE_ROWS>") << false << 0;
        QTest::newRow("text NUL in header") << Form::Text << QByteArray(text).replace(50, 1, QByteArray(1, '\0'))
                                            << false << 0;
        QTest::newRow("text huge counts")
            << Form::Text << textHeader(2000000000, 2000000000) + " <CLASS_TABLE_ROW>\r\n  <CLASS_TABLE_COLUMN>"
            << false << 0;
        QTest::newRow("text cut inside cell") << Form::Text << text.first(text.indexOf("last cell") + 4) << false << 1;
        QTest::newRow("text without NUL") << Form::Text << text.first(text.size() - 1) << true << 2;
        QTest::newRow("text negative rows") << Form::Text << textHeader(-4, 2) << true << 0;
        QTest::newRow("text zero rows many columns") << Form::Text << textHeader(0, 2000000000) << true << 0;
        QTest::newRow("text rows without their tags") << Form::Text << textHeader(2000000000, 1) << true << 0;
        // Each cell runs over the tags of the ones after it, up to one closing tag: read as
        // they stand while they hold no more bytes in all than the stream, refused beyond.
        QByteArray overlapping = textHeader(1, 3) + " <CLASS_TABLE_ROW>";
        for (int c = 0; c < 3; ++c) {
            overlapping += "<CLASS_TABLE_COLUMN>c";
        }
        QTest::newRow("text overlapping cells") << Form::Text << overlapping + "</CLASS_TABLE_COLUMN>" << true << 1;
        QByteArray quadratic = textHeader(1, 3000) + " <CLASS_TABLE_ROW>";
        for (int c = 0; c < 3000; ++c) {
            quadratic += "<CLASS_TABLE_COLUMN>c";
        }
        QTest::newRow("text overlapping cells beyond the stream")
            << Form::Text << quadratic + "</CLASS_TABLE_COLUMN>" << false << 0;
        QTest::newRow("random bytes") << Form::Text << QByteArray(4096, '\x5a') << false << 0;
    }

    void hostileStreams()
    {
        QFETCH(Form, form);
        QFETCH(QByteArray, stream);
        QFETCH(bool, accepted);
        QFETCH(int, rows);
        // An exactly sized heap copy, so a read past the end is caught by the sanitizer.
        std::unique_ptr<char[]> exact(new char[size_t(stream.size())]);
        std::memcpy(exact.get(), stream.constData(), size_t(stream.size()));
        Table table;
        QCOMPARE(read(table, form, QByteArrayView(exact.get(), stream.size())), accepted);
        if (accepted || form == Form::Text) {
            QCOMPARE(table.rowCount(), rows);
        }
        // Nothing claims more columns than the stream could hold: writing the table again
        // (as a table element, with its three settings rows) stays as small as the stream.
        QVERIFY(table.columnCount() <= std::max<qsizetype>(Table::FreeColumns, stream.size() / 4));
        // What was accepted is written again, and that reads back as the same table.
        if (accepted) {
            const QByteArray written = table.writeBinary();
            Table again;
            QVERIFY(again.readBinary(written));
            QCOMPARE(again.writeBinary(), written);
        }
        // The database loader reads binary streams in place: it must judge them alike.
        if (form == Form::Binary) {
            TreeTable converter;
            ElementTree tree;
            QCOMPARE(converter.importBinaryStream(tree, QByteArrayView(exact.get(), stream.size()), nullptr, false),
                     accepted);
        }
    }

    // The reader the database loader relies on to spot a wrong password: neither reader
    // accepts the other form.
    void formsDoNotPassForEachOther()
    {
        Table table;
        table.initSize(1, 1);
        table.setCell(0, 0, "<CLASS_TABLE_ROWS>1</CLASS_TABLE_ROWS>");
        Table other;
        QVERIFY(!other.readBinary(table.writeText()));
        table.setCell(0, 0, "plain");
        QVERIFY(!other.readText(table.writeBinary()));
    }
};

VAULTBASE_TEST(TableStreamTest)
#include "TableStreamTest.moc"
