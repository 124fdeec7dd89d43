#include "TestRegistry.h"

#include "ShellTestFiles.h"

#include "platform/Clock.h"
#include "shell/InitFileStore.h"
#include "shell/InstallationRecord.h"
#include "shell/StoragePaths.h"
#include "shell/TempFiles.h"
#include "shell/Version.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const char kBinarySavePath[] = "\x01\xFF\0ApplicationStorage=\"Data\"";

using shelltest::readAll;
using shelltest::writeFile;

// A program folder, a per-user and an all-users folder inside one temporary folder.
struct Folders
{
    QTemporaryDir root;
    QString program = root.filePath(QStringLiteral("program"));
    QString user = root.filePath(QStringLiteral("user"));
    QString common = root.filePath(QStringLiteral("common"));

    Folders()
    {
        QDir().mkpath(program);
        QDir().mkpath(user);
        QDir().mkpath(common);
    }

    StoragePaths paths() const { return StoragePaths(program, user, common); }

    bool savePath(const QByteArray &value) const
    {
        return writeFile(program + QStringLiteral("/SavePath.ini"), "ApplicationStorage=\"" + value + "\"\r\n");
    }
};

} // namespace

class StorageTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void perUserFolderIsMadeWhenNothingRedirects()
    {
        Folders f;
        const StoragePaths paths = f.paths();
        QCOMPARE(paths.programFolder(), f.program + QLatin1Char('/'));
        QCOMPARE(paths.savePathFile(), f.program + QStringLiteral("/SavePath.ini"));
        QCOMPARE(paths.languagesFile(), f.program + QStringLiteral("/Languages.ini"));
        QCOMPARE(paths.installationFile(), f.common + QStringLiteral("/Brightway/Vaultbase/Installation.ini"));
        const StoragePaths::Storage storage = paths.storageFolder();
        QCOMPARE(storage.folder, f.user + QStringLiteral("/Brightway/Vaultbase/"));
        QVERIFY(!storage.fromSavePath);
        QVERIFY(QFileInfo(storage.folder).isDir());
        QCOMPARE(StoragePaths::settingsFile(storage.folder), storage.folder + QStringLiteral("Vaulto.ini"));
        QCOMPARE(StoragePaths::instanceFile(f.user), f.user + QStringLiteral("/Mutex.ini"));
    }

    void savePathRedirectsToAnExistingFolder()
    {
        Folders f;
        const QString absolute = f.root.filePath(QStringLiteral("elsewhere"));
        QVERIFY(QDir().mkpath(absolute));
        QVERIFY(f.savePath(absolute.toLatin1()));
        StoragePaths::Storage storage = f.paths().storageFolder();
        QCOMPARE(storage.folder, absolute + QLatin1Char('/'));
        QVERIFY(storage.fromSavePath);
        QVERIFY(!QFileInfo::exists(f.user + QStringLiteral("/Brightway"))); // nothing made there

        // Relative to the program folder, wherever the current folder is; backslashes
        // of a file written on Windows count as separators.
        QVERIFY(QDir().mkpath(f.program + QStringLiteral("/Data/Vault")));
        QVERIFY(f.savePath("Data\\Vault\\"));
        storage = f.paths().storageFolder();
        QCOMPARE(storage.folder, f.program + QStringLiteral("/Data/Vault/"));
        QVERIFY(f.savePath("../elsewhere"));
        QCOMPARE(f.paths().storageFolder().folder, absolute + QLatin1Char('/'));
    }

    void unusableSavePathFallsBackToThePerUserFolder_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("missing folder") << QByteArray("ApplicationStorage=\"nowhere\"\r\n");
        QTest::newRow("names a file") << QByteArray("ApplicationStorage=\"SavePath.ini\"\r\n");
        QTest::newRow("empty value") << QByteArray("ApplicationStorage=\"\"\r\n");
        QTest::newRow("no closing quote") << QByteArray("ApplicationStorage=\"Data\r\nX=\"1\"\r\n");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("binary") << QByteArray::fromRawData(kBinarySavePath, sizeof kBinarySavePath - 1);
    }

    void unusableSavePathFallsBackToThePerUserFolder()
    {
        QFETCH(QByteArray, content);
        Folders f;
        QVERIFY(QDir().mkpath(f.program + QStringLiteral("/Data")));
        const QString savePath = f.program + QStringLiteral("/SavePath.ini");
        QVERIFY(writeFile(savePath, content));
        const StoragePaths::Storage storage = f.paths().storageFolder();
        QCOMPARE(storage.folder, f.user + QStringLiteral("/Brightway/Vaultbase/"));
        QVERIFY(!storage.fromSavePath);
        QCOMPARE(readAll(savePath), content);
    }

    // An installed program keeps its data in ../share/vaultbase/; a copy in the program
    // folder wins, so a portable or build-tree program finds its own.
    void dataIsFoundBesideTheProgramThenInTheShareFolder_data()
    {
        QTest::addColumn<bool>("beside");
        QTest::addColumn<bool>("shared");
        QTest::addColumn<QString>("expected");
        QTest::newRow("beside") << true << false << QStringLiteral("program/");
        QTest::newRow("both: beside wins") << true << true << QStringLiteral("program/");
        QTest::newRow("installed") << false << true << QStringLiteral("share/vaultbase/");
        QTest::newRow("nowhere: beside") << false << false << QStringLiteral("program/");
    }

    void dataIsFoundBesideTheProgramThenInTheShareFolder()
    {
        QFETCH(bool, beside);
        QFETCH(bool, shared);
        QFETCH(QString, expected);
        Folders f;
        const QString share = f.root.filePath(QStringLiteral("share/vaultbase/"));
        QVERIFY(QDir().mkpath(share));
        QCOMPARE(f.paths().shareFolder(), share);
        const QStringList names{QStringLiteral("Languages.ini"), QStringLiteral("License.txt"),
                                QStringLiteral("ReadMe.txt"), QStringLiteral("Deutsch.lng")};
        for (const QString &name : names) {
            QVERIFY(!beside || writeFile(f.program + u'/' + name, "x"));
            QVERIFY(!shared || writeFile(share + name, "x"));
        }
        const StoragePaths paths = f.paths();
        const QString folder = f.root.filePath(expected);
        QCOMPARE(paths.languagesFile(), folder + names[0]);
        QCOMPARE(paths.licenseFile(), folder + names[1]);
        QCOMPARE(paths.readMeFile(), folder + names[2]);
        QCOMPARE(paths.dataFile(QStringLiteral("Lang\\..\\Deutsch.lng")), folder + names[3]);
        QCOMPARE(paths.dataFile(folder + names[3]), folder + names[3]);
    }

    void installationRecordIsWrittenOnlyWhenItsVersionDiffers()
    {
        Folders f;
        const StoragePaths paths = f.paths();
        FixedClock clock(QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)));
        QVERIFY(InstallationRecord::update(paths, clock));
        const QByteArray expected = "InstallationDirectory=\"" + paths.programFolder().toLatin1() + "\"\r\n"
                                    "LanguageFile=\"Languages.ini\"\r\n"
                                    "IniFile=\"Vaulto.ini\"\r\n"
                                    "Version=\"" + QByteArray(Version::Text) + "\"\r\n"
                                    "InstallDate=\"2026-03-04 05:06:07\"\r\n";
        QCOMPARE(readAll(paths.installationFile()), expected);

        clock.advanceSeconds(3600);
        QVERIFY(InstallationRecord::update(paths, clock));
        QCOMPARE(readAll(paths.installationFile()), expected); // current: left alone

        QVERIFY(writeFile(paths.installationFile(), "Version=\"Version 0.9 (2020-01-01)\"\r\n"));
        QVERIFY(InstallationRecord::update(paths, clock));
        QVERIFY(readAll(paths.installationFile()).contains("InstallDate=\"2026-03-04 06:06:07\""));
        QVERIFY(InstallationRecord::isCurrent(paths.installationFile(), Version::Text));
        QVERIFY(QByteArray(Version::Text).startsWith(QByteArray("Version ") + Version::Number + " ("));
    }

    void temporaryFilesAreNamedListedAndSwept()
    {
        QTemporaryDir dir;
        const QDateTime at(QDate(2018, 10, 27), QTime(15, 30, 12));
        QCOMPARE(TempFiles::pathFor(dir.path(), at, QStringLiteral("report.pdf")),
                 dir.path() + QStringLiteral("/$$$kvdb_tmp_file$$$20181027-153012.pdf"));
        QCOMPARE(TempFiles::extensionOf(QStringLiteral("archive.tar.gz")), QStringLiteral(".gz"));
        QCOMPARE(TempFiles::extensionOf(QStringLiteral("noext")), QString());
        // A stored name cannot lead the copy out of the storage folder.
        QCOMPARE(TempFiles::extensionOf(QStringLiteral("x./../../evil")), QString());
        QCOMPARE(TempFiles::extensionOf(QStringLiteral("a.b\\c")), QString());

        const QString viewed = TempFiles::write(dir.path(), at, QStringLiteral("report.pdf"), "secret");
        QVERIFY(!viewed.isEmpty());
        QCOMPARE(readAll(viewed), QByteArray("secret"));
        QCOMPARE(QFile::permissions(viewed) & (QFileDevice::ReadGroup | QFileDevice::ReadOther), QFileDevice::Permissions());

        TempFiles list;
        list.add(viewed);
        list.add(viewed);
        QCOMPARE(list.files(), QStringList({viewed}));
        QCOMPARE(list.deleteListed(), 1);
        QVERIFY(!QFileInfo::exists(viewed));
        QVERIFY(list.files().isEmpty());

        // Leftovers of a forced shutdown go; other files and sub-folders stay.
        QVERIFY(writeFile(dir.filePath(QStringLiteral("$$$kvdb_tmp_file$$$20170101-000000.txt")), "a"));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("$$$kvdb_tmp_file$$$")), "b"));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("Vaulto.ini")), "c"));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("x$$$kvdb_tmp_file$$$.txt")), "d"));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("sub")));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("sub/$$$kvdb_tmp_file$$$1.txt")), "e"));
        QCOMPARE(TempFiles::sweep(dir.path()), 2);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 QStringList({QStringLiteral("Vaulto.ini"), QStringLiteral("x$$$kvdb_tmp_file$$$.txt")}));
        QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("sub/$$$kvdb_tmp_file$$$1.txt"))));
    }
};

VAULTBASE_TEST(StorageTest)
#include "StorageTest.moc"
