// Element tables that no save of this program writes: too deep, many siblings of one name,
// paths that contradict each other. Each loads (or is refused) at once and the same way
// every time.
#include "TestRegistry.h"

#include "document/DatabaseFile.h"
#include "document/ElementTree.h"
#include "document/TreeTable.h"

#include <QTest>

namespace {

enum class Form { Binary, Text };

struct Row {
    QByteArray path;
    qint32 kind;
    qint32 selected = -1; // the kind's own
    QByteArray blob = "0";
    QByteArray blobCount = "0";
};

QByteArray stream(const QList<Row> &rows, Form form = Form::Binary)
{
    TreeTable table;
    table.initSize(TreeTable::TreeColumns, int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        table.setCell(TreeTable::ColPath, r, rows[r].path);
        table.setCell(TreeTable::ColContent, r, "row " + QByteArray::number(r));
        table.setCellInt(TreeTable::ColKind, r, rows[r].kind);
        table.setCellInt(TreeTable::ColSelected, r, rows[r].selected >= 0 ? rows[r].selected : selectedCodeFor(rows[r].kind));
        table.setCell(TreeTable::ColBlob, r, rows[r].blob);
        table.setCell(TreeTable::ColBlobSize, r, rows[r].blobCount);
    }
    return form == Form::Binary ? table.writeBinary() : table.writeText();
}

QByteArray nestedPath(int depth)
{
    return depth == 1 ? QByteArray("n") : QByteArray("n<>").repeated(depth);
}

} // namespace

Q_DECLARE_METATYPE(Form)
Q_DECLARE_METATYPE(QList<Row>)

class HostileTreeTest : public QObject
{
    Q_OBJECT

private slots:
    void depthIsBounded_data()
    {
        QTest::addColumn<Form>("form");
        QTest::addColumn<int>("depth");
        QTest::addColumn<bool>("loads");
        for (const Form form : {Form::Binary, Form::Text}) {
            const char *name = form == Form::Binary ? "binary" : "text";
            QTest::addRow("%s, %d levels", name, ElementTree::MaxDepth) << form << ElementTree::MaxDepth << true;
            QTest::addRow("%s, one level more", name) << form << ElementTree::MaxDepth + 1 << false;
            QTest::addRow("%s, 30000 levels", name) << form << 30000 << false;
        }
    }

    void depthIsBounded()
    {
        QFETCH(Form, form);
        QFETCH(int, depth);
        QFETCH(bool, loads);
        ElementTree tree;
        LoadProblem problem = LoadProblem::None;
        QCOMPARE(loadDatabaseStream(tree, stream({{nestedPath(depth), KindKey}}, form), &problem), loads);
        QCOMPARE(problem, loads ? LoadProblem::None : LoadProblem::TooDeep);
        QCOMPARE(tree.count(), loads ? depth : 0);
        QCOMPARE(tree.heightOf(nullptr), loads ? depth : 0);
    }

    // Each sibling of one name and another kind code is found in its own time: 50,000 of
    // them load at once (the index once chained them all), in the order of their rows.
    void manySiblingsOfOneName()
    {
        QList<Row> rows;
        for (int kind = 0; kind < 50000; ++kind) {
            rows.append({"same", kind});
        }
        ElementTree tree;
        QVERIFY(loadDatabaseStream(tree, stream(rows)));
        QCOMPARE(tree.count(), 50000);
        for (int row : {0, 1, 25000, 49999}) {
            QCOMPARE(tree.childAt(nullptr, row)->kind(), row);
        }
        QCOMPARE(tree.findSibling(tree.firstRoot(), "same", 31337)->row(), 31337);
    }

    // A damaged tree loads the same way every time: saving what was loaded, loading it and
    // saving again writes the same bytes.
    void damagedTreeSavesTheSameBytesTwice_data()
    {
        QTest::addColumn<QList<Row>>("rows");
        QTest::newRow("key with children") << QList<Row>{{"K", KindKey}, {"K<>c<>", KindEntry}};
        QTest::newRow("children before their key") << QList<Row>{{"K<>c<>", KindEntry}, {"K", KindKey}};
        QTest::newRow("one name, two kinds") << QList<Row>{{"A", KindEntry}, {"A", KindKey}};
        QTest::newRow("one name, children under both")
            << QList<Row>{{"A", KindFolder}, {"A<>x<>", KindEntry}, {"A", KindKey}, {"A<>y<>", KindEntry}};
        QTest::newRow("one name and kind twice") << QList<Row>{{"A", KindEntry}, {"A", KindEntry}};
        QTest::newRow("no rows for the folders") << QList<Row>{{"X<>Y<>Z<>", KindKey}};
        // Found by fuzzing: the folder's row came last, with a selected code of its own.
        QTest::newRow("folder row after its children")
            << QList<Row>{{"B<>k<>", KindKey}, {"B", KindFolder, KindTable}};
        QTest::newRow("paths of one name with a separator")
            << QList<Row>{{"A<>x", KindTable}, {"A", KindTable, KindFile}, {"A<>", 7}};
        QTest::newRow("nested key with children")
            << QList<Row>{{"F", KindFolder}, {"F<>K<>", KindKey}, {"F<>K<>c<>", KindEntry}};
        // Found by fuzzing: a count for a stream cell of no bytes.
        QTest::newRow("attachment of no bytes with a count")
            << QList<Row>{{"f", KindFile, -1, "<CT_STREAM>", "5"}, {"g", KindFile, -1, "<CT_STREAM>4", "1"}};
    }

    void damagedTreeSavesTheSameBytesTwice()
    {
        QFETCH(QList<Row>, rows);
        ElementTree first;
        QVERIFY(loadDatabaseStream(first, stream(rows)));
        const QByteArray saved = databaseStream(first, true);
        ElementTree second;
        QVERIFY(loadDatabaseStream(second, saved));
        QCOMPARE(databaseStream(second, true), saved);
    }
};

VAULTBASE_TEST(HostileTreeTest)
#include "HostileTreeTest.moc"
