#include "TestRegistry.h"

#include "document/ElementTree.h"
#include "document/TableElement.h"
#include "document/Table.h"
#include "tools/PreviewZoom.h"
#include "tools/PrintBlocks.h"
#include "tools/PrintDocument.h"
#include "tools/PrintLayout.h"
#include "tools/PrintRange.h"

#include <QTest>

Q_DECLARE_METATYPE(QList<PrintBlockSize>)
Q_DECLARE_METATYPE(QList<PageStart>)

namespace {

ElementData texts(QByteArray content, QByteArray detail = {}, QByteArray comment = {})
{
    ElementData data;
    data.Content = std::move(content);
    data.Detail = std::move(detail);
    data.Comment = std::move(comment);
    return data;
}

// n entries of one content row each.
QList<PrintBlockSize> entries(int n, int rows = 1)
{
    return QList<PrintBlockSize>(n, PrintBlockSize{rows, 0});
}

} // namespace

// The print layout: lines per page, page geometry, page breaks, the blocks' rows, the
// preview's range and zoom.
class PrintLayoutTest : public QObject
{
    Q_OBJECT

private slots:
    void linesPerPageFollowTheFont_data()
    {
        QTest::addColumn<int>("fontHeight");
        QTest::addColumn<int>("lines");
        QTest::newRow("13") << 13 << 50;
        QTest::newRow("negative height") << -13 << 50;
        QTest::newRow("20") << 20 << 25;
        QTest::newRow("30") << 30 << 16;
        QTest::newRow("small, taken as 10") << 5 << 50;
        QTest::newRow("huge, still a key's head") << 1000 << 3;
    }
    void linesPerPageFollowTheFont()
    {
        QFETCH(int, fontHeight);
        QFETCH(int, lines);
        QCOMPARE(printLinesPerPage(fontHeight), lines);
    }

    void geometryIsProportionalToThePage()
    {
        const PrintGeometry g = PrintGeometry::forPage(QSize(2100, 2970), 50);
        QCOMPARE(g.margin, 52);
        QCOMPARE(g.bodyTop, 185 + 52);
        QCOMPARE(g.lineHeight, (2970 - 104 - 185) / 50);
        QCOMPARE(g.contentFontHeight, 2970 / 70);
        QCOMPARE(g.lineTop(2), 2 * 53 + 237);
        QCOMPARE(g.headerMargin, 52);
        QCOMPARE(g.titleFontHeight, 66);
        QCOMPARE(g.titleTop, 174 - 66);
        QCOMPARE(g.headerRuleY, 174 + 52);
        QCOMPARE(g.pageNumberFontHeight, 49);
        QCOMPARE(g.pageNumberTop, 174 - 132);
        // Nothing of the header reaches the first block, and the last line ends on the page.
        QVERIFY(g.headerRuleY < g.bodyTop);
        QVERIFY(g.lineTop(50) <= g.height - g.margin);
    }

    void pageBreaks_data()
    {
        QTest::addColumn<QList<PrintBlockSize>>("blocks");
        QTest::addColumn<QList<PageStart>>("pages");
        QTest::newRow("nothing: one empty page") << QList<PrintBlockSize>() << QList<PageStart>{{0, 0}};
        QTest::newRow("25 entries fill one page") << entries(25) << QList<PageStart>{{0, 0}};
        QTest::newRow("the 26th starts the next") << entries(26) << QList<PageStart>{{0, 0}, {25, 0}};
        QTest::newRow("a long text continues under its title")
            << entries(1, 120) << QList<PageStart>{{0, 0}, {0, 49}, {0, 98}};
        QTest::newRow("a page filled exactly by one element")
            << (entries(1, 49) + entries(1)) << QList<PageStart>{{0, 0}, {1, 0}};
        QTest::newRow("a key's head does not fit in two lines")
            << (entries(1, 47) + QList<PrintBlockSize>{{2, 2}}) << QList<PageStart>{{0, 0}, {1, 0}};
        QTest::newRow("a title alone fits in the last line")
            << (entries(1, 48) + entries(1, 3)) << QList<PageStart>{{0, 0}, {1, 0}};
        QTest::newRow("empty elements take their title row")
            << entries(51, 0) << QList<PageStart>{{0, 0}, {50, 0}};
        QTest::newRow("a key's comment breaks like text")
            << (entries(1, 45) + QList<PrintBlockSize>{{6, 2}}) << QList<PageStart>{{0, 0}, {1, 3}};
    }
    void pageBreaks()
    {
        QFETCH(QList<PrintBlockSize>, blocks);
        QFETCH(QList<PageStart>, pages);
        QCOMPARE(paginateBlocks(blocks, 50), pages);
    }

    void piecesOfAPage()
    {
        const QList<PrintBlockSize> blocks = entries(1, 10) + entries(1, 60) + entries(1, 2);
        QList<BlockPiece> first;
        const PageStart next = layOutPage(blocks, {0, 0}, 50, &first);
        QCOMPARE(first, (QList<BlockPiece>{{0, 0, 10, 0}, {1, 0, 38, 11}}));
        QCOMPARE(next, (PageStart{1, 38}));
        QList<BlockPiece> second;
        QCOMPARE(layOutPage(blocks, next, 50, &second), (PageStart{3, 0}));
        QCOMPARE(second, (QList<BlockPiece>{{1, 38, 22, 0}, {2, 0, 2, 23}}));
    }

    void textLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("one line with spaces") << "a line with spaces" << QStringList{"a line with spaces"};
        QTest::newRow("empty lines dropped") << "one\r\n\r\n\r\ntwo\n" << QStringList{"one", "two"};
        QTest::newRow("CR, LF and CR LF") << "a\rb\nc\r\nd" << QStringList{"a", "b", "c", "d"};
        QTest::newRow("tabs become spaces") << "\tx\ty" << QStringList{" x y"};
        QTest::newRow("nothing") << "" << QStringList();
    }
    void textLines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(printLines(text), lines);
        QCOMPARE(printLineCount(text.toLatin1()), lines.size());
    }

    void blocksByKind()
    {
        ElementTree tree;
        ElementNode *bank = tree.insertElement(nullptr, "Bank", KindFolder, KindOpenFolder,
                                               texts("{\\rtf1\\ansi one\\par\\par two\\par}"));
        ElementNode *pin = tree.insertElement(bank, "PIN", KindKey, KindKey, texts("me", "s3cr", "c1\r\nc2"));
        Table grid;
        grid.initSize(2, 2);
        grid.setCell(0, 0, "a");
        grid.setCell(1, 0, "b\tc");
        grid.setCell(0, 1, "d\r\ne");
        ElementData table;
        table.setBlob(TableElement::buildStream(TableElement::GridSettings(), grid));
        ElementNode *grid2 = tree.insertElement(bank, "Grid", KindTable, KindTable, table);
        ElementData broken;
        broken.setBlob("no table");
        ElementNode *bad = tree.insertElement(nullptr, "Bad", KindTable, KindTable, broken);

        const PrintOptions hidden;
        const PrintBlock folder = printBlockOf(tree, *bank, hidden);
        QCOMPARE(folder.lines, (QStringList{"one", "two"}));
        const PrintBlock key = printBlockOf(tree, *pin, hidden);
        QCOMPARE(key.path, QString("Bank > PIN"));
        QCOMPARE(key.lines, (QStringList{"me", QString(4, QChar(0x25CF)), "c1", "c2"}));
        QVERIFY(key.maskedPassword);
        QCOMPARE(printBlockOf(tree, *pin, PrintOptions{true, false}).lines.at(1), QString("s3cr"));
        const PrintBlock cells = printBlockOf(tree, *grid2, hidden);
        QCOMPARE(cells.columns, 2);
        QCOMPARE(cells.cells, (QList<QStringList>{{"a", "b c"}, {"d  e", ""}}));
        QCOMPARE(printBlockOf(tree, *bad, hidden).rowCount(), 0);

        // The quick sizes agree with the blocks, with and without "RichText".
        for (const PrintOptions &options : {hidden, PrintOptions{false, true}}) {
            for (const ElementNode *node : {bank, pin, grid2, bad}) {
                const PrintBlockSize size = printBlockSizeOf(*node, options);
                QCOMPARE(size.rows, printBlockOf(tree, *node, options).rowCount());
                QCOMPARE(size.headRows, node == pin ? 2 : 0);
            }
        }
    }

    void documentRangeAndPages()
    {
        ElementTree tree;
        for (int i = 0; i < 30; ++i) {
            tree.insertElement(nullptr, QByteArray::number(100 + i), KindEntry, KindEntry, texts("x"));
        }
        PrintDocument document(tree, PrintOptions(), 50);
        QCOMPARE(document.pageCount(), 2);
        QCOMPARE(document.piecesOf(2), (QList<BlockPiece>{{25, 0, 1, 0}, {26, 0, 1, 2}, {27, 0, 1, 4}, {28, 0, 1, 6},
                                                          {29, 0, 1, 8}}));
        document.setRange(5, 10);
        QCOMPARE(document.pageCount(), 1);
        QCOMPARE(document.element(0)->name(), QByteArray("105"));
        document.setRange(-3, 99);
        QCOMPARE(document.first(), 0);
        QCOMPARE(document.end(), 30);
        QCOMPARE(printJobName("/home/me/Bank.kvdb"), QString("Brightway Vaultbase - Bank.kvdb"));
        QCOMPARE(headerTitle("C:\\data\\Bank.kvdb"), QString("Bank.kvdb"));
    }

    void rangeChoices()
    {
        QCOMPARE(printRangeChoices(0), QList<int>());
        QCOMPARE(printRangeChoices(4), (QList<int>{1, 2, 3, 4}));
        QCOMPARE(printRangeChoices(10), (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
        QCOMPARE(printRangeChoices(40), (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 13, 16, 19, 22, 25, 28, 31, 34, 37, 40}));
        const QList<int> many = printRangeChoices(100000);
        QCOMPARE(many.at(10), 10 + 100000 / 15 + 1);
        QCOMPARE(many.last(), 100000);
    }

    void rangeFromTexts_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("end");
        QTest::newRow("plain") << "3" << "7" << 2 << 7;
        QTest::newRow("From holds letters") << "abc" << "7" << 0 << 7;
        QTest::newRow("To holds letters") << "3" << "x" << 2 << 20;
        QTest::newRow("From beyond the count") << "21" << "7" << 0 << 7;
        QTest::newRow("To beyond the count") << "2" << "99" << 1 << 20;
        QTest::newRow("To below From") << "9" << "4" << 8 << 20;
        QTest::newRow("negative") << "-5" << "-1" << 0 << 20;
    }
    void rangeFromTexts()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(int, first);
        QFETCH(int, end);
        QCOMPARE(printRangeFromTexts(from, to, 20), (ElementRange{first, end}));
    }

    void zoomSteps()
    {
        double zoom = 1.0;
        for (double expected : {1.2, 1.44, 1.728, 1.728}) {
            zoom = PreviewZoom::in(zoom);
            QVERIFY(qFuzzyCompare(zoom, expected));
        }
        zoom = 1.0;
        for (double expected : {0.8333, 0.6944, 0.5787, 0.5787}) {
            zoom = PreviewZoom::out(zoom);
            QVERIFY(qAbs(zoom - expected) < 1e-4);
        }
        // Landscape pages follow the area's width, portrait ones its height, at every zoom.
        QCOMPARE(PreviewZoom::imageSize(QSize(1000, 600), 1.2, true, 0.5), QSize(1200, 600));
        QCOMPARE(PreviewZoom::imageSize(QSize(1000, 600), 1.0, false, 0.5), QSize(300, 600));
    }
};

VAULTBASE_TEST(PrintLayoutTest)
#include "PrintLayoutTest.moc"
