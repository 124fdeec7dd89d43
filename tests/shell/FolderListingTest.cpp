#include "TestRegistry.h"

#include "ShellTestFiles.h"

#include "shell/FileListModel.h"
#include "shell/FileTypeFilter.h"
#include "shell/FolderListing.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Files of the given sizes, each a minute older than the one before it.
bool makeFiles(const QTemporaryDir &dir, const QList<std::pair<const char *, int>> &files)
{
    const QDateTime start = QDateTime::currentDateTime().addDays(-1);
    int minute = 0;
    for (const auto &[name, size] : files) {
        QFile file(dir.filePath(QLatin1String(name)));
        if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray(size, 'x')) != size || !file.flush()
            || !file.setFileTime(start.addSecs(60 * --minute), QFileDevice::FileModificationTime)) {
            return false;
        }
    }
    return true;
}

QStringList namesInOrder(const QList<FileRow> &rows, const QList<int> &positions)
{
    QStringList list;
    for (int position : positions) {
        list.append(rows.at(position).name);
    }
    return list;
}

QStringList namesOf(const QList<FileRow> &rows)
{
    QStringList list;
    for (const FileRow &row : rows) {
        list.append(row.name);
    }
    return list;
}

QStringList sortedNames(const QList<FileRow> &rows)
{
    QStringList list = namesOf(rows);
    list.sort();
    return list;
}

} // namespace

// The folder pane's list: which files the mask lets through, the row texts and the
// "Sort by" orders, on a temporary folder.
class FolderListingTest : public QObject
{
    Q_OBJECT

private slots:
    void fileTypesChooseTheListedFiles_data()
    {
        QTest::addColumn<QByteArray>("fileTypes");
        QTest::addColumn<QStringList>("listed");
        // Case counts; a part of a mask's extension is no match of its own.
        QTest::newRow("databases") << QByteArray("*.kvdb") << QStringList({"a.kvdb", "b.c.kvdb"});
        QTest::newRow("with pictures") << QByteArray("*.kvdb;*.jpg;*.bmp;*.ico;*.png;*.gif")
                                       << QStringList({"a.kvdb", "b.c.kvdb", "photo.jpg"});
        QTest::newRow("every file") << QByteArray("*.*")
                                    << QStringList({"README", "a.kvdb", "b.c.kvdb", "notes.kv", "photo.jpg", "x.KVDB"});
        QTest::newRow("every file among others")
            << QByteArray("*.kvdb; *.*") << QStringList({"README", "a.kvdb", "b.c.kvdb", "notes.kv", "photo.jpg", "x.KVDB"});
        QTest::newRow("wildcards") << QByteArray("*.kv?b;note*") << QStringList({"a.kvdb", "b.c.kvdb", "notes.kv"});
        QTest::newRow("nothing") << QByteArray("") << QStringList();
    }

    void fileTypesChooseTheListedFiles()
    {
        QFETCH(QByteArray, fileTypes);
        QFETCH(QStringList, listed);
        QTemporaryDir dir;
        QVERIFY(makeFiles(dir, {{"a.kvdb", 1}, {"x.KVDB", 1}, {"b.c.kvdb", 1}, {"notes.kv", 1}, {"photo.jpg", 1},
                                {"README", 1}, {".hidden.kvdb", 1}}));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.kvdb")));
        QCOMPARE(sortedNames(FolderListing::list(dir.path(), FileTypeFilter(fileTypes))), listed);
    }

    void rowTextsAndToolTip()
    {
        QTemporaryDir dir;
        QVERIFY(makeFiles(dir, {{"Bank.kvdb", 1536}}));
        FileListModel model;
        model.fill(dir.path(), "*.kvdb");
        QCOMPARE(model.rowCount(), 1);
        const FileRow &row = model.rows().first();
        const QString time = row.modified.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        const QString folder = dir.path() + QLatin1Char('/');
        const QStringList expected = {QStringLiteral("Bank.kvdb"), QStringLiteral("00000001.50"),
                                      QStringLiteral(".kvdb"), time, folder, folder + QStringLiteral("Bank.kvdb")};
        for (int column = 0; column < FileListModel::ColumnCount; ++column) {
            QCOMPARE(model.data(model.index(0, column)).toString(), expected.at(column));
        }
        QCOMPARE(model.data(model.index(0, 0), Qt::ToolTipRole).toString(),
                 QStringLiteral("Bank.kvdb\n00000001.50 KB\n.kvdb\n") + time);
        FileRow big;
        big.size = qint64(123456789) * 1024;
        QCOMPARE(big.sizeText(), QStringLiteral("123456789.00"));
    }

    void missingAndUnreadableFoldersListNothing()
    {
        QTemporaryDir dir;
        QVERIFY(makeFiles(dir, {{"a.kvdb", 1}}));
        QFile::setPermissions(dir.path(), QFileDevice::WriteOwner);
        const bool unreadable = !QDir(dir.path()).isReadable();
        QVERIFY(FolderListing::list(dir.path() + QStringLiteral("/gone"), FileTypeFilter("*.*")).isEmpty());
        QVERIFY(FolderListing::list(dir.filePath(QStringLiteral("a.kvdb")), FileTypeFilter("*.*")).isEmpty());
        if (unreadable) { // not when the tests run with every right
            QVERIFY(FolderListing::list(dir.path(), FileTypeFilter("*.*")).isEmpty());
        }
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    void sortOrders_data()
    {
        QTest::addColumn<int>("order");
        QTest::addColumn<QStringList>("sorted");
        QTest::newRow("name up") << int(FileSort::NameAscending) << QStringList({"B.png", "a.txt", "c.jpg", "d.kvdb"});
        QTest::newRow("name down") << int(FileSort::NameDescending) << QStringList({"d.kvdb", "c.jpg", "a.txt", "B.png"});
        QTest::newRow("type up") << int(FileSort::TypeAscending) << QStringList({"c.jpg", "d.kvdb", "B.png", "a.txt"});
        QTest::newRow("type down") << int(FileSort::TypeDescending) << QStringList({"a.txt", "B.png", "d.kvdb", "c.jpg"});
        QTest::newRow("size up") << int(FileSort::SizeAscending) << QStringList({"c.jpg", "a.txt", "d.kvdb", "B.png"});
        QTest::newRow("size down") << int(FileSort::SizeDescending) << QStringList({"B.png", "d.kvdb", "a.txt", "c.jpg"});
        QTest::newRow("date up") << int(FileSort::DateAscending) << QStringList({"c.jpg", "a.txt", "B.png", "d.kvdb"});
        QTest::newRow("date down") << int(FileSort::DateDescending) << QStringList({"d.kvdb", "B.png", "a.txt", "c.jpg"});
    }

    void sortOrders()
    {
        QFETCH(int, order);
        QFETCH(QStringList, sorted);
        QTemporaryDir dir;
        // Made newest first, each a minute older than the one before.
        QVERIFY(makeFiles(dir, {{"d.kvdb", 10 * 1024}, {"B.png", 100 * 1024}, {"a.txt", 2048}, {"c.jpg", 0}}));
        FileListModel model;
        model.fill(dir.path(), "*.*");
        QCOMPARE(namesInOrder(model.rows(), FolderListing::sortedPositions(model.rows(), FileSort(order))), sorted);

        // The model's rows follow, and so does a selected row.
        const QPersistentModelIndex selected = model.index(0, 0);
        const QString selectedName = model.rows().at(0).name;
        model.sortBy(FileSort(order));
        QCOMPARE(model.order(), FileSort(order));
        QCOMPARE(namesOf(model.rows()), sorted);
        QCOMPARE(model.rows().at(selected.row()).name, selectedName);
        model.fill(dir.path(), "*.*"); // a refill is unsorted again
        QCOMPARE(model.order(), FileSort::None);
    }
};

VAULTBASE_TEST(FolderListingTest)
#include "FolderListingTest.moc"
