#include "TestRegistry.h"

#include "ShellTestFiles.h"

#include "shell/DesktopCommandLine.h"
#include "shell/DroppedFiles.h"
#include "shell/ExitCleanup.h"
#include "shell/InstanceFile.h"
#include "shell/RecentList.h"
#include "shell/TempFiles.h"
#include "shell/UpdatePage.h"
#include "shell/Version.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrlQuery>

namespace {

QStringList numbered(const QString &folder, int count)
{
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        paths.append(folder + QStringLiteral("/db%1.kvdb").arg(i));
    }
    return paths;
}

} // namespace

// The rules the main window follows without a window: recent lists, dropped files,
// the update page, the command line and the clean-up at exit.
class MainWindowLogicTest : public QObject
{
    Q_OBJECT

private slots:
    void seventeenFilesLeaveSixteenNewestFirst()
    {
        RecentList list(RecentList::Kind::Files);
        const QStringList paths = numbered(QStringLiteral("/data"), 17);
        for (const QString &path : paths) {
            QVERIFY(list.add(path));
        }
        QCOMPARE(list.paths().size(), RecentList::MaxEntries);
        QCOMPARE(list.paths().first(), paths.last());
        QVERIFY(!list.paths().contains(paths.first())); // the first one opened dropped out
        QCOMPARE(list.paths().last(), paths.at(1));
    }

    void reopeningMovesToTheTopWithoutDuplicate()
    {
        RecentList list(RecentList::Kind::Files);
        list.load(numbered(QStringLiteral("/data"), 16));
        const QString middle = QStringLiteral("/data/db7.kvdb");
        QVERIFY(list.add(middle));
        QCOMPARE(list.paths().size(), 16);
        QCOMPARE(list.paths().count(middle), 1);
        QCOMPARE(list.paths().first(), middle);
        // A full list that re-adds one of its own keeps all the others.
        QVERIFY(list.paths().contains(QStringLiteral("/data/db15.kvdb")));
        // Paths differing in case are different files here.
        QVERIFY(list.add(QStringLiteral("/data/DB7.kvdb")));
        QCOMPARE(list.paths().count(middle), 1);
        QCOMPARE(list.paths().size(), 16);
    }

    void appendingAFullListReplacesItsSixteenth()
    {
        RecentList list(RecentList::Kind::Files);
        list.load(numbered(QStringLiteral("/data"), 20)); // a hand-edited settings file
        QCOMPARE(list.paths().size(), 16);
        QCOMPARE(list.paths().first(), QStringLiteral("/data/db0.kvdb"));
        QCOMPARE(list.paths().last(), QStringLiteral("/data/db19.kvdb"));
    }

    void refusedEntries()
    {
        RecentList list(RecentList::Kind::Files);
        QVERIFY(!list.add(QStringLiteral("/tmp/x/Portable.TMP")));
        QVERIFY(!list.add(QStringLiteral("/tmp/portable.tmp.kvdb")));
        QVERIFY(!list.add(QString()));
        QVERIFY(list.isEmpty());

        list.add(QStringLiteral("/a.kvdb"));
        list.setDeactivated(true);
        QVERIFY(!list.add(QStringLiteral("/b.kvdb")));
        QCOMPARE(list.paths(), QStringList{QStringLiteral("/a.kvdb")}); // keeps what it had
        // Stored entries still load into a deactivated list.
        list.load({QStringLiteral("/c.kvdb"), QStringLiteral("/d.kvdb")});
        QCOMPARE(list.paths(), QStringList({QStringLiteral("/c.kvdb"), QStringLiteral("/d.kvdb")}));
        QVERIFY(list.isDeactivated());

        QTemporaryDir dir;
        RecentList folders(RecentList::Kind::Folders);
        QVERIFY(!folders.add(dir.filePath(QStringLiteral("missing"))));
        QVERIFY(folders.add(dir.path()));
        // "portable.tmp" concerns files only.
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("portable.tmp")));
        QVERIFY(folders.add(dir.filePath(QStringLiteral("portable.tmp"))));
        QCOMPARE(folders.paths().size(), 2);
    }

    void droppedFilesStopAtTheFirstDatabase()
    {
        using DroppedFiles::Step;
        const QString picture = QStringLiteral("/p/photo.png");
        const QString database = QStringLiteral("/p/Safe.KVDB");
        const QString other = QStringLiteral("/p/second.kvdb");
        QCOMPARE(DroppedFiles::plan({database, picture, other}), QList<Step>({{Step::OpenDatabase, database}}));
        QCOMPARE(DroppedFiles::plan({picture, database, other}),
                 QList<Step>({{Step::AttachFile, picture}, {Step::OpenDatabase, database}}));
        QCOMPARE(DroppedFiles::plan({picture, QStringLiteral("/p/notes.kvdb.txt")}),
                 QList<Step>({{Step::AttachFile, picture}, {Step::AttachFile, QStringLiteral("/p/notes.kvdb.txt")}}));
        QVERIFY(DroppedFiles::plan({}).isEmpty());
    }

    void commandLineGivesFilesAndSwitches_data()
    {
        using Action = DesktopCommandLine::Action;
        QTest::addColumn<QStringList>("given");
        QTest::addColumn<Action>("action");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("nothing") << QStringList() << Action::Run << QStringList();
        QTest::newRow("files made absolute") << QStringList{"a.kvdb", "/x/../b.kvdb", ""} << Action::Run
                                             << QStringList{"/home/u/a.kvdb", "/b.kvdb"};
        QTest::newRow("new database comes first") << QStringList{"a.kvdb", "--new"} << Action::Run
                                                  << QStringList{"--new", "/home/u/a.kvdb"};
        QTest::newRow("after -- a file") << QStringList{"--", "--new", "--version"} << Action::Run
                                         << QStringList{"/home/u/--new", "/home/u/--version"};
        QTest::newRow("version") << QStringList{"a.kvdb", "--version"} << Action::PrintVersion << QStringList();
        QTest::newRow("help") << QStringList{"-h"} << Action::PrintHelp << QStringList();
    }

    void commandLineGivesFilesAndSwitches()
    {
        QFETCH(QStringList, given);
        QFETCH(DesktopCommandLine::Action, action);
        QFETCH(QStringList, arguments);
        const DesktopCommandLine line = DesktopCommandLine::parse(given, QStringLiteral("/home/u"));
        QCOMPARE(line.action, action);
        QCOMPARE(line.arguments, arguments);
        QVERIFY(DesktopCommandLine::versionText().endsWith(QLatin1String(Version::Number) + u'\n'));
    }

    void updatePageNamesLanguageAndVersion()
    {
        const QUrl url = UpdatePage::url();
        QCOMPARE(url.scheme(), QStringLiteral("https"));
        QCOMPARE(url.path(), QStringLiteral("/pages/c_vaulto.php"));
        const QUrlQuery query(url);
        QCOMPARE(query.queryItemValue(QStringLiteral("lang")), QStringLiteral("ENG"));
        QCOMPARE(query.queryItemValue(QStringLiteral("progvers")), QLatin1String(Version::Number));
    }

    void exitCleanupSweepsAndClearsTheRecord_data()
    {
        QTest::addColumn<bool>("deleteTempFiles");
        QTest::newRow("sweep") << true;
        QTest::newRow("no sweep") << false;
    }

    void exitCleanupSweepsAndClearsTheRecord()
    {
        QFETCH(bool, deleteTempFiles);
        QTemporaryDir dir;
        const QString storage = dir.path() + QLatin1Char('/');
        const QString leftover = storage + QLatin1String(TempFiles::Prefix) + QStringLiteral("20200101-101010.pdf");
        const QString made = TempFiles::write(storage, QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)),
                                              QStringLiteral("a.txt"), "secret");
        const QString unrelated = storage + QStringLiteral("keep.txt");
        QVERIFY(shelltest::writeFile(leftover, "x"));
        QVERIFY(shelltest::writeFile(unrelated, "y"));
        QVERIFY(!made.isEmpty());
        TempFiles files;
        files.add(made);
        InstanceFile record(storage + QStringLiteral("Mutex.ini"));

        ExitCleanup::run(storage, deleteTempFiles, files, record, 4242, true);

        QVERIFY(!QFile::exists(made));
        QCOMPARE(QFile::exists(leftover), !deleteTempFiles);
        QVERIFY(QFile::exists(unrelated));
        QCOMPARE(shelltest::readAll(record.path()), QByteArray("\xFF\xFF\xFF\xFF\x01\0\0\0", 8));
    }
};

VAULTBASE_TEST(MainWindowLogicTest)
#include "MainWindowLogicTest.moc"
