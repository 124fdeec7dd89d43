#include "TestRegistry.h"
#include "TreeHelpers.h"

#include "document/ElementTree.h"
#include "document/TreeTable.h"

#include <QTest>

using vaultbase::test::treeDifference;

namespace {

ElementData dataNamed(const QByteArray &content)
{
    ElementData data;
    data.Content = content;
    data.Created = "2020-01-02 03:04:05";
    data.Modified = "2021-06-07 08:09:10";
    return data;
}

ElementNode *add(ElementTree &tree, ElementNode *parent, const QByteArray &name, qint32 kind,
                 const QByteArray &content = QByteArray())
{
    return tree.insertElement(parent, name, kind, selectedCodeFor(kind), dataNamed(content.isEmpty() ? name : content));
}

// Root folder A holding folder B holding key C.
void buildAbc(ElementTree &tree)
{
    ElementNode *a = add(tree, nullptr, "A", KindFolder);
    ElementNode *b = add(tree, a, "B", KindFolder);
    ElementNode *c = add(tree, b, "C", KindKey);
    c->data().Detail = "secret";
    c->data().Comment = "note";
}

QList<QByteArray> paths(const Table &table)
{
    QList<QByteArray> list;
    for (int r = 0; r < table.rowCount(); ++r) {
        list.append(table.getCell(TreeTable::ColPath, r));
    }
    return list;
}

// Imports rows into tree as a paste would: remember the mode, import, restore.
bool importInto(ElementTree &tree, TreeTable &table, ElementNode *anchor, bool singleRow)
{
    const bool sorted = tree.isSorted();
    const bool imported = table.importTree(tree, anchor, singleRow);
    tree.setSorted(sorted);
    return imported;
}

QByteArray names(const ElementTree &tree, const ElementNode *parent)
{
    QList<QByteArray> list;
    for (int i = 0; i < tree.childCount(parent); ++i) {
        list.append(tree.childAt(parent, i)->name());
    }
    return list.join('|');
}

} // namespace

class TreeTableTest : public QObject
{
    Q_OBJECT

private slots:
    void exportColumns()
    {
        ElementTree tree;
        buildAbc(tree);
        ElementNode *file = add(tree, nullptr, "f.bin", KindFile);
        file->data().setBlob(QByteArray("\x00\xff", 2));
        TreeTable table;
        QVERIFY(table.exportTree(tree));
        QCOMPARE(table.columnCount(), 10);
        QCOMPARE(paths(table), QList<QByteArray>({"A", "A<>B<>", "A<>B<>C<>", "f.bin"}));
        QCOMPARE(table.getCell(TreeTable::ColDetail, 2), QByteArray("secret"));
        QCOMPARE(table.getCell(TreeTable::ColComment, 2), QByteArray("note"));
        QCOMPARE(table.getCell(TreeTable::ColKind, 0), QByteArray("0"));
        QCOMPARE(table.getCell(TreeTable::ColSelected, 0), QByteArray("1"));
        QCOMPARE(table.getCell(TreeTable::ColKind, 2), QByteArray("3"));
        QCOMPARE(table.getCell(TreeTable::ColBlob, 2), QByteArray("0"));
        QCOMPARE(table.getCell(TreeTable::ColBlobSize, 2), QByteArray("0"));
        QCOMPARE(table.getCell(TreeTable::ColBlob, 3), QByteArray("<CT_STREAM>00ff"));
        QCOMPARE(table.getCell(TreeTable::ColBlobSize, 3), QByteArray("2"));
        QCOMPARE(table.getCell(TreeTable::ColCreated, 3), QByteArray("2020-01-02 03:04:05"));
        QCOMPARE(table.getCell(TreeTable::ColModified, 3), QByteArray("2021-06-07 08:09:10"));
    }

    void threeRowsRebuildTheTree()
    {
        ElementTree tree;
        buildAbc(tree);
        TreeTable table;
        table.exportTree(tree);
        ElementTree back;
        QVERIFY(importInto(back, table, nullptr, false));
        QCOMPARE(treeDifference(tree, back), QString());
        QCOMPARE(table.lastTopNode(), nullptr);
    }

    void subtreeExportStartsAtItsRoot()
    {
        ElementTree tree;
        ElementNode *outer = add(tree, nullptr, "Outer", KindFolder);
        ElementNode *bank = add(tree, outer, "Bank", KindFolder);
        add(tree, bank, "PIN", KindKey);
        add(tree, outer, "Other", KindEntry);
        TreeTable table;
        QVERIFY(table.exportTree(tree, bank));
        QCOMPARE(paths(table), QList<QByteArray>({"Bank", "Bank<>PIN<>"}));
        // A leaf alone is one row with its bare name.
        QVERIFY(table.exportTree(tree, tree.findPath({"Outer", "Bank", "PIN"})));
        QCOMPARE(paths(table), QList<QByteArray>({"PIN"}));
    }

    // Importing a subtree whose root name is taken at the level where it lands puts it
    // under a new name and renames every path that follows.
    void pendingRenameWithoutAnchor()
    {
        ElementTree tree;
        ElementNode *bank = add(tree, nullptr, "Bank", KindFolder, "original");
        add(tree, bank, "PIN", KindKey, "1234");
        TreeTable table;
        table.exportTree(tree, bank);
        table.setCell(TreeTable::ColContent, 0, "copy");
        QVERIFY(importInto(tree, table, nullptr, false));
        QCOMPARE(names(tree, nullptr), QByteArray("Bank|Bank0"));
        ElementNode *copy = tree.findChild(nullptr, "Bank0");
        QCOMPARE(copy->data().Content, QByteArray("copy"));
        QCOMPARE(bank->data().Content, QByteArray("original"));
        QCOMPARE(names(tree, copy), QByteArray("PIN"));
        QCOMPARE(copy->firstChild()->data().Content, QByteArray("1234"));
        QCOMPARE(bank->childCount(), 1);
        QCOMPARE(table.lastTopNode(), nullptr);

        // A second copy takes the next free counter.
        TreeTable again;
        again.exportTree(tree, bank);
        QVERIFY(importInto(tree, again, nullptr, false));
        QCOMPARE(names(tree, nullptr), QByteArray("Bank|Bank0|Bank1"));
    }

    // The anchor only says where the search starts: the subtree's first folder is looked
    // for among the anchor and its siblings and created beside the anchor.
    void anchorStartsTheSearch()
    {
        ElementTree tree;
        ElementNode *target = add(tree, nullptr, "Target", KindFolder);
        ElementNode *source = add(tree, nullptr, "Source", KindFolder);
        ElementNode *bank = add(tree, source, "Bank", KindFolder);
        add(tree, bank, "PIN", KindKey);
        TreeTable table;
        table.exportTree(tree, bank);
        QVERIFY(importInto(tree, table, target, false));
        QCOMPARE(names(tree, nullptr), QByteArray("Bank|Source|Target"));
        QCOMPARE(names(tree, tree.findChild(nullptr, "Bank")), QByteArray("PIN"));
        QCOMPARE(target->childCount(), 0);
        QCOMPARE(table.lastTopNode(), nullptr);

        // The same again: Bank now exists beside the anchor, so the copy is renamed.
        TreeTable second;
        second.exportTree(tree, bank);
        QVERIFY(importInto(tree, second, target, false));
        QCOMPARE(names(tree, nullptr), QByteArray("Bank|Bank0|Source|Target"));
    }

    void singleRowBecomesChildOfAnchor()
    {
        ElementTree tree;
        ElementNode *folder = add(tree, nullptr, "Folder", KindFolder);
        ElementNode *pin = add(tree, folder, "PIN", KindKey, "old");
        TreeTable table;
        table.exportTree(tree, pin);
        table.setCell(TreeTable::ColContent, 0, "new");
        QVERIFY(importInto(tree, table, folder, true));
        ElementNode *added = table.lastTopNode();
        QVERIFY(added);
        QCOMPARE(added->parent(), folder);
        QCOMPARE(added->data().Content, QByteArray("new"));
        QCOMPARE(pin->data().Content, QByteArray("old"));
        // The paste gives it a free name afterwards.
        tree.setName(added, tree.makeUniqueName(added, true));
        QCOMPARE(names(tree, folder), QByteArray("PIN|PIN0"));
    }

    void topRowWithSameNameAndKindTakesOverData()
    {
        ElementTree tree;
        ElementNode *key = add(tree, nullptr, "Mail", KindKey, "before");
        TreeTable table;
        table.exportTree(tree, key);
        table.setCell(TreeTable::ColContent, 0, "after");
        QVERIFY(importInto(tree, table, nullptr, false));
        QCOMPARE(tree.count(), 1);
        QCOMPARE(key->data().Content, QByteArray("after"));

        // Same name, other kind: a new element beside it.
        table.exportTree(tree, key);
        table.setCell(TreeTable::ColKind, 0, "2");
        QVERIFY(importInto(tree, table, nullptr, false));
        QCOMPARE(tree.count(), 2);
    }

    // Rows out of order, missing parents, odd paths: the importer still builds a tree.
    void placeholdersAndOddPaths()
    {
        TreeTable table;
        table.initSize(10, 0);
        auto addRow = [&](const QByteArray &path, const QByteArray &kind) {
            const int r = table.rowCount();
            table.setCell(TreeTable::ColPath, r, path);
            table.setCell(TreeTable::ColKind, r, kind);
            table.setCell(TreeTable::ColSelected, r, kind);
            table.addRows(1);
        };
        addRow("X<>Y<>Z<>", "3"); // no rows for X and Y: they stay placeholders
        addRow("lone<>", "2");    // one component: an element at the top level
        addRow("<>empty<>", "2"); // a folder with an empty name
        addRow("A<>B", "2");      // no final separator: B is taken, nothing after it
        ElementTree tree;
        QVERIFY(importInto(tree, table, nullptr, false));
        const ElementNode *z = tree.findPath({"X", "Y", "Z"});
        QVERIFY(z);
        QCOMPARE(z->kind(), qint32(KindKey));
        QCOMPARE(z->parent()->selectedCode(), qint32(KindOpenFolder));
        QVERIFY(z->parent()->data().Created.isEmpty());
        QVERIFY(tree.findPath({"lone"}));
        QVERIFY(tree.findPath({"", "empty"}));
        QCOMPARE(tree.findPath({"A"})->kind(), qint32(KindEntry));
        QCOMPARE(tree.count(), 7);
    }

    void blobColumnsAreCheckedAgainstEachOther()
    {
        TreeTable table;
        table.initSize(10, 3);
        const QList<QByteArray> blobs{"<CT_STREAM>00ff10", "0", "<CT_STREAM>aabb"};
        const QList<QByteArray> sizes{"1", "5", "0"};
        for (int r = 0; r < 3; ++r) {
            table.setCell(TreeTable::ColPath, r, "e" + QByteArray::number(r));
            table.setCell(TreeTable::ColKind, r, "4");
            table.setCell(TreeTable::ColBlob, r, blobs[r]);
            table.setCell(TreeTable::ColBlobSize, r, sizes[r]);
        }
        ElementTree tree;
        QVERIFY(importInto(tree, table, nullptr, false));
        // A count below the stream's length neither cuts the bytes nor leaves them out.
        const ElementData &first = tree.findPath({"e0"})->data();
        QCOMPARE(first.Blob, std::optional<QByteArray>(QByteArray("\x00\xff\x10", 3)));
        QCOMPARE(first.BlobSize, 3);
        // A count without a stream cell gives no Blob; a stream without a count neither.
        QVERIFY(!tree.findPath({"e1"})->data().hasBlob());
        QCOMPARE(tree.findPath({"e1"})->data().BlobSize, 0);
        QVERIFY(!tree.findPath({"e2"})->data().hasBlob());
    }

    void randomTreesRoundTrip()
    {
        for (quint32 seed = 1; seed <= 5; ++seed) {
            ElementTree tree;
            vaultbase::test::fillRandomTree(tree, seed, 150);
            TreeTable table;
            QVERIFY(table.exportTree(tree));
            // The direct writer gives the bytes of the table's binary stream.
            const QByteArray stream = table.writeBinary();
            QCOMPARE(TreeTable::writeTreeBinary(tree), stream);
            ElementTree back;
            QVERIFY(importInto(back, table, nullptr, false));
            QCOMPARE(treeDifference(tree, back), QString());
            TreeTable direct;
            ElementTree inPlace;
            QVERIFY(direct.importBinaryStream(inPlace, stream, nullptr, false));
            inPlace.setSorted(true);
            QCOMPARE(treeDifference(tree, inPlace), QString());
        }
    }

    // Both readers of the binary form import subtrees the same way, also onto an anchor.
    void directImportMatchesTableImport()
    {
        ElementTree tree;
        vaultbase::test::fillRandomTree(tree, 21, 120);
        const ElementNode *folder = tree.firstRoot();
        while (folder && (!folder->isFolder() || folder->childCount() == 0)) {
            folder = tree.nextInOrder(folder);
        }
        QVERIFY(folder);
        TreeTable table;
        table.exportTree(tree, folder);
        const QByteArray stream = TreeTable::writeTreeBinary(tree, folder);
        QCOMPARE(stream, table.writeBinary());

        ElementTree viaTable;
        ElementTree inPlace;
        vaultbase::test::fillRandomTree(viaTable, 21, 120);
        vaultbase::test::fillRandomTree(inPlace, 21, 120);
        ElementNode *anchorA = viaTable.nodeAt(3);
        ElementNode *anchorB = inPlace.nodeAt(3);
        TreeTable fromTable;
        QVERIFY(fromTable.readBinary(stream));
        QVERIFY(importInto(viaTable, fromTable, anchorA, false));
        TreeTable direct;
        QVERIFY(direct.importBinaryStream(inPlace, stream, anchorB, false));
        inPlace.setSorted(true);
        QCOMPARE(inPlace.count(), tree.count() + table.rowCount());
        QCOMPARE(treeDifference(viaTable, inPlace), QString());
    }
};

VAULTBASE_TEST(TreeTableTest)
#include "TreeTableTest.moc"
