#include "FileMode.h"
#include "TestRegistry.h"
#include "TreeHelpers.h"

#include "document/DatabaseFile.h"
#include "document/ElementTree.h"
#include "document/Encryption.h"
#include "document/TreeTable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using vaultbase::test::fileMode;
using vaultbase::test::saveFailing;
using vaultbase::test::treeDifference;

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void buildAbc(ElementTree &tree)
{
    ElementNode *a = tree.insertElement(nullptr, "A", KindFolder, KindOpenFolder, ElementData());
    ElementNode *b = tree.insertElement(a, "B", KindFolder, KindOpenFolder, ElementData());
    ElementData key;
    key.Content = "user";
    key.Detail = "p\xe4ss";
    key.Comment = "note";
    key.Created = "2019-01-01 00:00:00";
    key.Modified = "2019-01-02 00:00:00";
    tree.insertElement(b, "C", KindKey, KindKey, key);
    ElementData file;
    file.setBlob(QByteArray("\x00\xff", 2));
    tree.insertElement(a, "f", KindFile, KindFile, file);
}

// Counts the resets a view would see.
class ResetCounter : public ElementTreeObserver
{
public:
    void treeReset() override { ++resets; }
    int resets = 0;
};

} // namespace

class DatabaseFileTest : public QObject
{
    Q_OBJECT

private slots:
    void emptyDatabase()
    {
        ElementTree tree;
        const QByteArray plain = databaseStream(tree, true);
        QCOMPARE(plain.size(), 2064);
        QCOMPARE(plain.mid(2056, 8), QByteArray("\x0a\0\0\0\0\0\0\0", 8));
        QTemporaryDir dir;
        const QString path = dir.filePath("empty.kvdb");
        QVERIFY(saveDatabase(tree, path, "pw", true));
        QCOMPARE(QFile(path).size(), qint64(2064));
        QCOMPARE(fileMode(path), 0600);
        ElementTree back;
        buildAbc(back);
        QVERIFY(loadDatabaseFile(back, path, "pw"));
        QCOMPARE(back.count(), 0);
    }

    void bothFormsLoadEitherWay_data()
    {
        QTest::addColumn<bool>("binary");
        QTest::newRow("binary") << true;
        QTest::newRow("text") << false;
    }

    void bothFormsLoadEitherWay()
    {
        QFETCH(bool, binary);
        ElementTree tree;
        buildAbc(tree);
        QTemporaryDir dir;
        const QString path = dir.filePath("abc.kvdb");
        QVERIFY(saveDatabase(tree, path, "secret", binary));
        const std::optional<QByteArray> plain = decryptFile(path, "secret");
        QVERIFY(plain);
        QCOMPARE(plain->startsWith("CLASS_TABLE V1.000VLB"), binary);
        QCOMPARE(plain->size() % 8, 0);
        QCOMPARE(fileBytes(path).size(), plain->size());
        if (!binary) {
            QVERIFY(plain->startsWith("<?xml"));
            QVERIFY(plain->contains(QByteArray("</CLASS_TABLE_XML>\r\n\0", 21)));
        }
        ElementTree back;
        QVERIFY(loadDatabaseFile(back, path, "secret"));
        QCOMPARE(treeDifference(tree, back), QString());
        QCOMPARE(back.findPath({"A", "f"})->data().Blob, std::optional<QByteArray>(QByteArray("\x00\xff", 2)));
        QCOMPARE(back.findPath({"A", "f"})->data().BlobSize, 2);

        const std::optional<QByteArray> cipher = encryptDatabase(tree, "secret", binary);
        QVERIFY(cipher);
        ElementTree fromBuffer;
        QVERIFY(loadDatabaseBuffer(fromBuffer, *cipher, "secret"));
        QCOMPARE(treeDifference(tree, fromBuffer), QString());
    }

    void wrongPasswordLeavesTreeUntouched()
    {
        ElementTree tree;
        buildAbc(tree);
        QTemporaryDir dir;
        const QString path = dir.filePath("db.kvdb");
        QVERIFY(saveDatabase(tree, path, "right", true));

        ElementTree shown;
        shown.insertElement(nullptr, "mine", KindEntry, KindEntry, ElementData());
        ResetCounter counter;
        shown.setObserver(&counter);
        QVERIFY(!loadDatabaseFile(shown, path, "wrong"));
        QVERIFY(!loadDatabaseFile(shown, path, ""));
        QVERIFY(!loadDatabaseFile(shown, dir.filePath("missing.kvdb"), "right"));
        QFile(dir.filePath("empty.kvdb")).open(QIODevice::WriteOnly);
        QVERIFY(!loadDatabaseFile(shown, dir.filePath("empty.kvdb"), "right"));
        QVERIFY(!loadDatabaseBuffer(shown, fileBytes(path), "Right"));
        // A file cut short decrypts to a stream that ends early: refused as well.
        QVERIFY(!loadDatabaseBuffer(shown, fileBytes(path).chopped(8), "right"));
        QCOMPARE(counter.resets, 0);
        QCOMPARE(shown.count(), 1);
        QCOMPARE(shown.firstRoot()->name(), QByteArray("mine"));

        QVERIFY(loadDatabaseFile(shown, path, "right"));
        QCOMPARE(counter.resets, 1);
        QCOMPARE(treeDifference(tree, shown), QString());
    }

    void emptyPasswordWritesNothing()
    {
        ElementTree tree;
        QTemporaryDir dir;
        const QString path = dir.filePath("none.kvdb");
        QVERIFY(!saveDatabase(tree, path, "", true));
        QVERIFY(!QFile::exists(path));
        QVERIFY(!encryptDatabase(tree, "", true));
    }

    // A cell the text form cannot carry makes the save use the binary form.
    void uncarriableCellsForceBinary()
    {
        ElementTree tree;
        ElementData tricky;
        tricky.Content = "a</CLASS_TABLE_COLUMN>b";
        tricky.Detail = "<CLASS_TABLE_COLUMN>";
        tricky.Comment = QByteArray("nul\0inside", 10);
        tree.insertElement(nullptr, "tricky", KindKey, KindKey, tricky);
        tree.insertElement(nullptr, "z after", KindEntry, KindEntry, ElementData());
        const QByteArray plain = databaseStream(tree, false);
        QVERIFY(plain.startsWith("CLASS_TABLE V1.000VLB"));
        QTemporaryDir dir;
        const QString path = dir.filePath("tricky.kvdb");
        QVERIFY(saveDatabase(tree, path, "pw", false));
        ElementTree back;
        QVERIFY(loadDatabaseFile(back, path, "pw"));
        QCOMPARE(treeDifference(tree, back), QString());

        // Ordinary cells keep the text form when it is asked for.
        tree.deleteSubtree(tree.firstRoot());
        QVERIFY(databaseStream(tree, false).startsWith("<?xml"));
    }

    // The old file survives a save whose writes fail part-way, whatever the point.
    void failedSaveKeepsOldFile()
    {
        ElementTree oldTree;
        buildAbc(oldTree);
        QTemporaryDir dir;
        const QString path = dir.filePath("keep.kvdb");
        QVERIFY(saveDatabase(oldTree, path, "pw", true));
        const QByteArray before = fileBytes(path);

        ElementTree newTree;
        vaultbase::test::fillRandomTree(newTree, 7, 60);
        for (qint64 after : {qint64(0), qint64(1), qint64(2064), qint64(before.size() + 5)}) {
            QVERIFY(!saveFailing(newTree, path, "pw", after));
            QCOMPARE(fileBytes(path), before);
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"keep.kvdb"}));
        }
        QVERIFY(saveDatabase(newTree, path, "pw", true));
        ElementTree back;
        QVERIFY(loadDatabaseFile(back, path, "pw"));
        QCOMPARE(treeDifference(newTree, back), QString());
        QCOMPARE(fileMode(path), 0600);
    }

    void randomTreesThroughEveryForm_data()
    {
        QTest::addColumn<bool>("binary");
        QTest::addColumn<quint32>("seed");
        for (quint32 seed = 11; seed <= 13; ++seed) {
            QTest::addRow("binary %u", seed) << true << seed;
            QTest::addRow("text %u", seed) << false << seed;
        }
    }

    void randomTreesThroughEveryForm()
    {
        QFETCH(bool, binary);
        QFETCH(quint32, seed);
        ElementTree tree;
        vaultbase::test::fillRandomTree(tree, seed, 300);
        ElementTree fromStream;
        QVERIFY(loadDatabaseStream(fromStream, databaseStream(tree, binary)));
        QCOMPARE(treeDifference(tree, fromStream), QString());

        QTemporaryDir dir;
        const QString path = dir.filePath("random.kvdb");
        const QByteArray password("\xa7p\xe4ss w\xf6rd with more than eight bytes");
        QVERIFY(saveDatabase(tree, path, password, binary));
        ElementTree fromFile;
        QVERIFY(loadDatabaseFile(fromFile, path, password));
        QCOMPARE(treeDifference(tree, fromFile), QString());
    }

    // Loading keeps the tree's sort mode; the loaded levels are sorted when it is on.
    void loadSortsLevels()
    {
        ElementTree tree;
        for (const char *name : {"b", "B", "a", "A"}) {
            tree.insertElement(nullptr, name, KindEntry, KindEntry, ElementData());
        }
        ElementTree back;
        QVERIFY(loadDatabaseStream(back, databaseStream(tree, true)));
        QVERIFY(back.isSorted());
        QByteArray order;
        for (const ElementNode *n = back.firstRoot(); n; n = n->nextSibling()) {
            order += n->name();
        }
        QCOMPARE(order, QByteArray("aAbB"));
    }
};

VAULTBASE_TEST(DatabaseFileTest)
#include "DatabaseFileTest.moc"
