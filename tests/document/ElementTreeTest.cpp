#include "TestRegistry.h"

#include "document/DatePattern.h"
#include "document/ElementTree.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"

#include <QCollator>
#include <QLocale>
#include <QMap>
#include <QRandomGenerator>
#include <QTest>

namespace {

QByteArray childNames(const ElementTree &tree, const ElementNode *parent)
{
    QList<QByteArray> names;
    for (int i = 0; i < tree.childCount(parent); ++i) {
        names.append(tree.childAt(parent, i)->name());
    }
    return names.join('|');
}

ElementNode *add(ElementTree &tree, ElementNode *parent, const QByteArray &name, qint32 kind = KindFolder)
{
    return tree.insertElement(parent, name, kind, selectedCodeFor(kind), ElementData());
}

// Keeps a model of the rows an item model would hold, from the notifications alone, and
// checks it against the tree after every event.
class RecordingObserver : public ElementTreeObserver
{
public:
    explicit RecordingObserver(const ElementTree &tree) : m_tree(tree) {}

    void elementAboutToBeInserted(const ElementNode *parent, int row) override
    {
        m_events << QByteArray("insert ") + nameOf(parent) + ' ' + QByteArray::number(row);
        m_pendingCount = m_tree.childCount(parent) + 1;
    }
    void elementInserted(const ElementNode *node) override
    {
        QCOMPARE(m_tree.childCount(node->parent()), m_pendingCount);
    }
    void elementAboutToBeRemoved(const ElementNode *node) override
    {
        m_events << QByteArray("remove ") + node->name();
    }
    void elementRemoved(const ElementNode *parent, int row) override
    {
        m_events << QByteArray("removed ") + nameOf(parent) + ' ' + QByteArray::number(row);
    }
    void childrenAboutToBeReordered(const ElementNode *parent) override
    {
        m_events << QByteArray("reorder ") + nameOf(parent);
    }
    void elementChanged(const ElementNode *node) override { m_events << QByteArray("changed ") + node->name(); }
    void treeReset() override { m_events << "reset"; }

    QList<QByteArray> m_events;

private:
    static QByteArray nameOf(const ElementNode *node) { return node ? node->name() : QByteArray("<top>"); }

    const ElementTree &m_tree;
    int m_pendingCount = 0;
};

} // namespace

class ElementTreeTest : public QObject
{
    Q_OBJECT

private slots:
    void siblingOrderIsCollatedCaseSensitive()
    {
        ElementTree tree;
        for (const char *name : {"b", "A", "abc", "a", "ABC", "B", "10", "9", "\xc9t\xe9", "Etat", "_x"}) {
            add(tree, nullptr, name);
        }
        // Lowercase before uppercase of the same letter, accents after the plain letter,
        // digits compared as text, punctuation first.
        QCOMPARE(childNames(tree, nullptr), QByteArray("_x|10|9|a|A|abc|ABC|b|B|Etat|\xc9t\xe9"));
        QVERIFY(tree.compareNames("a", "A") < 0);
        QVERIFY(tree.compareNames("A", "b") < 0);
        // Names the collation finds equal still have a fixed order.
        QVERIFY(tree.compareNames("a\x01", "a") != 0);
        QCOMPARE(tree.compareNames("a\x01", "a"), -tree.compareNames("a", "a\x01"));
    }

    // Plain names (letters, digits, spaces) are ordered without the collator; the order
    // must be the collator's all the same.
    void plainNamesFollowTheCollation()
    {
        QCollator collator(QLocale(QLocale::English, QLocale::UnitedStates));
        collator.setCaseSensitivity(Qt::CaseSensitive);
        // Mostly plain characters, with a few that the collator has to judge: a
        // punctuation mark, an ignorable control, an accented letter, a symbol.
        const QByteArray alphabet("aAbBzZ09 5yYaA-\x01\xe9_");
        QRandomGenerator random(5);
        ElementTree tree;
        auto randomName = [&] {
            QByteArray name;
            for (int i = random.bounded(0, 5); i > 0; --i) {
                name.append(alphabet[random.bounded(alphabet.size())]);
            }
            return name;
        };
        for (int i = 0; i < 20000; ++i) {
            const QByteArray a = randomName();
            const QByteArray b = randomName();
            const int expected = collator.compare(CodePage::toUnicode(a), CodePage::toUnicode(b));
            const int actual = tree.compareNames(a, b);
            if (expected != 0) {
                QVERIFY2((expected < 0) == (actual < 0), (a + " / " + b).constData());
            } else {
                // Ignorable characters aside, the bytes decide, in both directions alike.
                QCOMPARE(actual == 0, a == b);
                QCOMPARE(tree.compareNames(b, a) < 0, actual > 0);
            }
        }
    }

    void namesDifferingInCaseAreDistinct()
    {
        ElementTree tree;
        ElementNode *lower = add(tree, nullptr, "abc");
        ElementNode *upper = add(tree, nullptr, "ABC");
        QVERIFY(!tree.hasNameClash(lower));
        QVERIFY(!tree.hasNameClash(upper));
        QCOMPARE(tree.findChild(nullptr, "ABC"), upper);
        QVERIFY(!tree.rename(upper, "abc"));
        QCOMPARE(upper->name(), QByteArray("ABC"));
    }

    void threeKeysGetCountedNames()
    {
        ElementTree tree;
        FixedClock clock(QDateTime(QDate(2018, 10, 27), QTime(9, 5, 7)));
        ElementNode *folder = tree.addElement(NewElement::Folder, nullptr, "New folder", ElementData::fresh(clock));
        for (int i = 0; i < 3; ++i) {
            tree.addElement(NewElement::Key, folder, "New key", ElementData::fresh(clock));
        }
        QCOMPARE(childNames(tree, folder), QByteArray("New key|New key0|New key1"));
        const ElementNode *key = folder->firstChild();
        QCOMPARE(key->kind(), qint32(KindKey));
        QCOMPARE(key->selectedCode(), qint32(KindKey));
        QCOMPARE(folder->selectedCode(), qint32(KindOpenFolder));
        QCOMPARE(key->data().Created, QByteArray("2018-10-27 09:05:07"));
        QCOMPARE(key->data().Modified, key->data().Created);
        QVERIFY(!key->data().hasBlob());

        // A file attached twice: the counter goes after the extension.
        tree.addElement(NewElement::File, folder, "report.pdf", ElementData());
        tree.addElement(NewElement::File, folder, "report.pdf", ElementData());
        QVERIFY(tree.findChild(folder, "report.pdf0"));
    }

    void placementKeepsNonFoldersChildless()
    {
        ElementTree tree;
        ElementNode *folder = tree.addElement(NewElement::Folder, nullptr, "F", ElementData());
        ElementNode *key = tree.addElement(NewElement::Key, folder, "K", ElementData());
        QCOMPARE(key->parent(), folder);
        // Beside a selected key, never under it.
        ElementNode *entry = tree.addElement(NewElement::Entry, key, "E", ElementData());
        QCOMPARE(entry->parent(), folder);
        QCOMPARE(key->childCount(), 0);
        ElementNode *sub = tree.addElement(NewElement::Subfolder, key, "S", ElementData());
        QCOMPARE(sub->parent(), folder);
        QCOMPARE(sub->kind(), qint32(KindFolder));
        // A folder goes beside the selection, whatever it is.
        ElementNode *beside = tree.addElement(NewElement::Folder, key, "G", ElementData());
        QCOMPARE(beside->parent(), folder);
        ElementNode *top = tree.addElement(NewElement::Folder, folder, "T", ElementData());
        QCOMPARE(top->parent(), nullptr);
        // A subfolder goes inside a selected folder; nothing selected means the top level.
        QCOMPARE(tree.addElement(NewElement::Subfolder, top, "S", ElementData())->parent(), top);
        QCOMPARE(tree.addElement(NewElement::Table, nullptr, "T", ElementData())->name(), QByteArray("T0"));
        QCOMPARE(tree.count(), 8);
    }

    // "<>" separates the names of a path in a database file: a name holding it would come
    // back as a folder with an element in it.
    void pathSeparatorNeverEntersAName()
    {
        ElementTree tree;
        ElementNode *key = tree.addElement(NewElement::Key, nullptr, "a<>b", ElementData());
        QCOMPARE(key->name(), QByteArray("a<_>b"));
        QVERIFY(!tree.rename(key, "x<>"));
        QCOMPARE(key->name(), QByteArray("a<_>b"));
        QVERIFY(tree.rename(key, "x<y>"));
        QVERIFY(!ElementTree::nameCanBeStored("<>"));
    }

    void makeUniqueName()
    {
        ElementTree tree;
        ElementNode *bank = add(tree, nullptr, "Bank");
        QCOMPARE(tree.makeUniqueName(bank, true), QByteArray("Bank"));
        QCOMPARE(tree.makeUniqueName(bank, false), QByteArray("Bank0"));
        add(tree, nullptr, "Bank0");
        QCOMPARE(tree.makeUniqueName(bank, false), QByteArray("Bank1"));
        // Only siblings count.
        ElementNode *inner = add(tree, bank, "Bank1");
        QCOMPARE(tree.makeUniqueName(inner, true), QByteArray("Bank1"));
    }

    void renameResortsAndRefusesClashes()
    {
        ElementTree tree;
        RecordingObserver observer(tree);
        tree.setObserver(&observer);
        ElementNode *a = add(tree, nullptr, "a");
        add(tree, nullptr, "b");
        ElementNode *c = add(tree, nullptr, "c");
        QVERIFY(tree.rename(c, "A"));
        QCOMPARE(childNames(tree, nullptr), QByteArray("a|A|b"));
        QCOMPARE(c->row(), 1);
        QCOMPARE(a->nextSibling(), c);
        QCOMPARE(c->previousSibling(), a);
        QVERIFY(!tree.rename(c, "b"));
        QCOMPARE(c->name(), QByteArray("A"));
        QCOMPARE(tree.findChild(nullptr, "c"), nullptr);
        QCOMPARE(tree.findChild(nullptr, "A"), c);
        QCOMPARE(observer.m_events,
                 QList<QByteArray>({"insert <top> 0", "insert <top> 1", "insert <top> 2", "changed A", "reorder <top>"}));
    }

    void deleteAndClear()
    {
        ElementTree tree;
        RecordingObserver observer(tree);
        tree.setObserver(&observer);
        ElementNode *f = add(tree, nullptr, "f");
        ElementNode *sub = add(tree, f, "sub");
        add(tree, sub, "leaf", KindKey);
        ElementNode *z = add(tree, nullptr, "z");
        add(tree, nullptr, "y");
        QCOMPARE(tree.count(), 5);
        QVERIFY(tree.deleteSubtree(f));
        QCOMPARE(tree.count(), 2);
        QCOMPARE(z->row(), 1);
        QCOMPARE(tree.firstRoot()->name(), QByteArray("y"));
        QCOMPARE(tree.findChild(nullptr, "f"), nullptr);
        QVERIFY(observer.m_events.contains("remove f"));
        QVERIFY(observer.m_events.contains("removed <top> 0"));
        QVERIFY(tree.clearTree());
        QCOMPARE(tree.count(), 0);
        QCOMPARE(tree.firstRoot(), nullptr);
        QCOMPARE(observer.m_events.last(), QByteArray("reset"));
    }

    void absoluteOrderAndPaths()
    {
        ElementTree tree;
        ElementNode *b = add(tree, nullptr, "B");
        ElementNode *a = add(tree, nullptr, "A");
        ElementNode *a2 = add(tree, a, "2");
        ElementNode *a1 = add(tree, a, "1");
        ElementNode *leaf = add(tree, a1, "leaf", KindEntry);
        const QList<const ElementNode *> expected{a, a1, leaf, a2, b};
        QList<const ElementNode *> walked;
        for (const ElementNode *n = tree.firstRoot(); n; n = tree.nextInOrder(n)) {
            walked.append(n);
        }
        QCOMPARE(walked, expected);
        for (int i = 0; i < expected.size(); ++i) {
            QCOMPARE(tree.absoluteIndex(expected[i]), i);
            QCOMPARE(tree.nodeAt(i), expected[i]);
        }
        QCOMPARE(tree.nodeAt(5), nullptr);
        QCOMPARE(tree.pathOf(leaf), QList<QByteArray>({"A", "1", "leaf"}));
        QCOMPARE(tree.findPath({"A", "1", "leaf"}), leaf);
        QCOMPARE(tree.findPath({"A", "leaf"}), nullptr);
        QCOMPARE(leaf->parent(), a1);
        QCOMPARE(a->parent(), nullptr);
        QCOMPARE(a2->nextSibling(), nullptr);
    }

    // Appends with sorting off stay where they are; turning it on sorts every level once,
    // and the name index finds children among many siblings.
    void bulkAppendThenSort()
    {
        ElementTree tree;
        tree.setSorted(false);
        ElementNode *folder = add(tree, nullptr, "big");
        QRandomGenerator random(99);
        QList<QByteArray> names;
        const int count = 20000;
        for (int i = 0; i < count; ++i) {
            names.append("item " + QByteArray::number(random.bounded(1000000)) + "-" + QByteArray::number(i));
            add(tree, folder, names.last());
        }
        add(tree, nullptr, "a top");
        // A level deleted while sorting is off is not sorted later (nor touched).
        ElementNode *doomed = add(tree, nullptr, "doomed");
        add(tree, doomed, "z");
        add(tree, doomed, "y");
        QVERIFY(tree.deleteSubtree(doomed));
        QCOMPARE(tree.childAt(folder, 0)->name(), names.first());
        tree.setSorted(true);
        QCOMPARE(tree.firstRoot()->name(), QByteArray("a top"));
        for (int i = 1; i < count; ++i) {
            QVERIFY(tree.compareNames(folder->child(i - 1)->name(), folder->child(i)->name()) < 0);
            QCOMPARE(folder->child(i)->row(), i);
        }
        for (const QByteArray &name : names) {
            QVERIFY(tree.findChild(folder, name));
        }
    }

    // Renames and deletions keep the name index exact (a shadow map says what it must find).
    void nameIndexFollowsRenamesAndDeletions()
    {
        ElementTree tree;
        ElementNode *folder = add(tree, nullptr, "f");
        QMap<QByteArray, ElementNode *> shadow;
        QRandomGenerator random(17);
        for (int step = 0; step < 6000; ++step) {
            const QByteArray name = QByteArray::number(random.bounded(800));
            const int action = random.bounded(3);
            ElementNode *existing = shadow.value(name);
            if (action == 0 && !existing) {
                shadow.insert(name, add(tree, folder, name));
            } else if (action == 1 && existing) {
                QVERIFY(tree.deleteSubtree(existing));
                shadow.remove(name);
            } else if (action == 2 && existing) {
                const QByteArray renamed = QByteArray::number(random.bounded(800));
                QCOMPARE(tree.rename(existing, renamed), !shadow.contains(renamed) || renamed == name);
                if (!shadow.contains(renamed)) {
                    shadow.remove(name);
                    shadow.insert(renamed, existing);
                }
            }
        }
        QCOMPARE(folder->childCount(), int(shadow.size()));
        for (int i = 0; i < 800; ++i) {
            const QByteArray name = QByteArray::number(i);
            QCOMPARE(tree.findChild(folder, name), shadow.value(name));
        }
    }

    // Sorting resumes by reversing a level only when every step of it went down, the
    // children that were there before counting as steps up.
    void resumedSortingSeesEveryStep()
    {
        ElementTree tree;
        add(tree, nullptr, "d");
        add(tree, nullptr, "b");
        tree.setSorted(false);
        add(tree, nullptr, "c");
        add(tree, nullptr, "a");
        tree.setSorted(true);
        QCOMPARE(childNames(tree, nullptr), QByteArray("a|b|c|d"));

        tree.setSorted(false);
        ElementNode *folder = add(tree, nullptr, "f");
        for (const char *name : {"z", "y", "x"}) {
            add(tree, folder, name);
        }
        tree.setSorted(true);
        QCOMPARE(childNames(tree, folder), QByteArray("x|y|z"));

        tree.setSorted(false);
        tree.setName(folder->child(0), "zz");
        tree.setSorted(true);
        QCOMPARE(childNames(tree, folder), QByteArray("y|z|zz"));
    }

    // Thousands of levels are freed without deep recursion.
    void deepTreeIsFreedIteratively()
    {
        ElementTree tree;
        ElementNode *node = nullptr;
        for (int depth = 0; depth < 200000; ++depth) {
            node = add(tree, node, "d");
        }
        QCOMPARE(tree.count(), 200000);
        QCOMPARE(tree.absoluteIndex(node), 199999);
        QVERIFY(tree.deleteSubtree(tree.firstRoot()->firstChild()));
        QCOMPARE(tree.count(), 1);
    }

    void swapContentKeepsObservers()
    {
        ElementTree shown;
        RecordingObserver observer(shown);
        shown.setObserver(&observer);
        add(shown, nullptr, "old");
        ElementTree loaded;
        add(loaded, nullptr, "new");
        shown.swapContent(loaded);
        QCOMPARE(shown.firstRoot()->name(), QByteArray("new"));
        QCOMPARE(loaded.firstRoot()->name(), QByteArray("old"));
        QCOMPARE(shown.observer(), &observer);
        QCOMPARE(loaded.observer(), nullptr);
        QCOMPARE(observer.m_events.last(), QByteArray("reset"));
        QCOMPARE(shown.findChild(nullptr, "new"), shown.firstRoot());
        QCOMPARE(shown.findChild(nullptr, "old"), nullptr);
    }

    void datePattern()
    {
        FixedClock clock(QDateTime(QDate(2018, 10, 27), QTime(8, 4, 3)));
        QCOMPARE(expandDatePattern("Entry%%YYYY%MM", clock), QByteArray("Entry%201810"));
        QCOMPARE(expandDatePattern("%YYYY-%MM-%DD %HH:%NN:%SS %YY %yy", clock),
                 QByteArray("2018-10-27 08:04:03 18 %yy"));
        QCOMPARE(newElementName("New key", true, "%YYYY-%MM-%DD", clock), QByteArray("2018-10-27"));
        QCOMPARE(newElementName("New key", true, "", clock), QByteArray("New key"));
        QCOMPARE(newElementName("New key", false, "%YYYY", clock), QByteArray("New key"));

        // Two entries named by the date on the same day.
        ElementTree tree;
        for (int i = 0; i < 2; ++i) {
            tree.addElement(NewElement::Entry, nullptr, newElementName("New entry", true, "%YYYY-%MM-%DD", clock),
                            ElementData::fresh(clock));
        }
        QCOMPARE(childNames(tree, nullptr), QByteArray("2018-10-27|2018-10-270"));

        ElementData data = ElementData::fresh(clock);
        clock.advanceSeconds(61);
        data.touch(clock);
        QCOMPARE(data.Created, QByteArray("2018-10-27 08:04:03"));
        QCOMPARE(data.Modified, QByteArray("2018-10-27 08:05:04"));
    }
};

VAULTBASE_TEST(ElementTreeTest)
#include "ElementTreeTest.moc"
