#include "TestRegistry.h"

#include "editing/ElementTreeModel.h"
#include "document/ElementTree.h"

#include <QAbstractItemModelTester>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

namespace {

ElementNode *add(ElementTree &tree, ElementNode *parent, const QByteArray &name, qint32 kind = KindFolder)
{
    return tree.insertElement(parent, name, kind, selectedCodeFor(kind), ElementData());
}

// Every node's index leads back to it, and every index's parent and row agree with the tree.
void checkMirrors(const ElementTree &tree, const ElementTreeModel &model)
{
    int seen = 0;
    for (const ElementNode *node = tree.firstRoot(); node; node = tree.nextInOrder(node), ++seen) {
        const QModelIndex index = model.indexOf(node);
        QCOMPARE(model.nodeOf(index), node);
        QCOMPARE(index.row(), node->row());
        QCOMPARE(model.nodeOf(index.parent()), node->parent());
        QCOMPARE(model.rowCount(index), node->childCount());
        QCOMPARE(model.data(index).toString().toLatin1(), node->name());
    }
    QCOMPARE(seen, tree.count());
    QCOMPARE(model.rowCount(), tree.childCount(nullptr));
}

} // namespace

// The adapter between the element tree and its view.
class ElementTreeModelTest : public QObject
{
    Q_OBJECT

private slots:
    void staysConsistentThroughEveryKindOfChange()
    {
        ElementTree tree;
        ElementTreeModel model(tree);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QRandomGenerator random(4711);
        QList<ElementNode *> nodes;
        for (int step = 0; step < 600; ++step) {
            const int what = nodes.isEmpty() ? 0 : random.bounded(10);
            if (what < 5) {
                ElementNode *selected = nodes.isEmpty() || random.bounded(4) == 0
                    ? nullptr : nodes[random.bounded(nodes.size())];
                const NewElement kinds[] = {NewElement::Key, NewElement::Folder, NewElement::Subfolder, NewElement::Entry};
                nodes.append(tree.addElement(kinds[random.bounded(4)], selected,
                                             "n" + QByteArray::number(random.bounded(50)), ElementData()));
            } else if (what < 8) {
                ElementNode *node = nodes[random.bounded(nodes.size())];
                tree.rename(node, "r" + QByteArray::number(random.bounded(80)));
            } else {
                ElementNode *node = nodes[random.bounded(nodes.size())];
                // The subtree goes with it: forget every node under it.
                nodes.removeIf([&](ElementNode *n) {
                    for (const ElementNode *p = n; p; p = p->parent()) {
                        if (p == node) {
                            return true;
                        }
                    }
                    return false;
                });
                tree.deleteSubtree(node);
            }
            if (step % 50 == 0) {
                checkMirrors(tree, model);
            }
        }
        checkMirrors(tree, model);
        tree.clearTree();
        QCOMPARE(model.rowCount(), 0);
    }

    void persistentIndexesFollowRenamedAndReorderedNodes()
    {
        ElementTree tree;
        ElementTreeModel model(tree);
        ElementNode *folder = add(tree, nullptr, "folder");
        ElementNode *a = add(tree, folder, "a", KindKey);
        ElementNode *b = add(tree, folder, "b", KindKey);
        ElementNode *c = add(tree, folder, "c", KindKey);
        const QPersistentModelIndex pa(model.indexOf(a));
        const QPersistentModelIndex pc(model.indexOf(c));
        QSignalSpy layout(&model, &QAbstractItemModel::layoutChanged);
        QVERIFY(tree.rename(a, "d"));
        QCOMPARE(layout.count(), 1);
        QCOMPARE(pa.row(), 2);
        QCOMPARE(model.nodeOf(pa), a);
        QCOMPARE(pc.row(), 1);
        QCOMPARE(model.nodeOf(model.index(0, 0, model.indexOf(folder))), b);

        // A change of data is a dataChanged of that row only.
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        tree.notifyChanged(b);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.first().at(0).toModelIndex(), model.indexOf(b));
    }

    void editingANameAsksTheHandler()
    {
        ElementTree tree;
        ElementTreeModel model(tree);
        ElementNode *key = add(tree, nullptr, "key", KindKey);
        add(tree, nullptr, "other", KindKey);
        QList<QByteArray> asked;
        model.setRenameHandler([&](ElementNode *node, const QByteArray &name) {
            asked.append(name);
            return tree.rename(node, name);
        });
        QVERIFY(!model.setData(model.indexOf(key), QStringLiteral("other")));
        QCOMPARE(key->name(), "key");
        QVERIFY(model.setData(model.indexOf(key), QString::fromLatin1("k\xe9y")));
        QCOMPARE(key->name(), "k\xe9y");
        // Text the code page cannot carry never reaches the handler.
        QVERIFY(!model.setData(model.indexOf(key), QString::fromUtf8("\xd0\xb4")));
        QCOMPARE(asked, (QList<QByteArray>{"other", "k\xe9y"}));
    }

    void aLoadedTreeIsAReset()
    {
        ElementTree tree;
        ElementTreeModel model(tree);
        add(tree, nullptr, "old");
        ElementTree loaded;
        for (int i = 0; i < 100; ++i) {
            add(loaded, nullptr, QByteArray::number(i));
        }
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        tree.swapContent(loaded);
        QCOMPARE(reset.count(), 1);
        QCOMPARE(model.rowCount(), 100);
        checkMirrors(tree, model);
    }
};

VAULTBASE_TEST(ElementTreeModelTest)
#include "ElementTreeModelTest.moc"
