#include "TestRegistry.h"

#include "ShellTestFiles.h"

#include "shell/FontNumbers.h"
#include "shell/InitFileStore.h"
#include "shell/ScaleForDpi.h"
#include "shell/Settings.h"
#include "shell/WindowPos.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

using shelltest::readAll;
using shelltest::writeFile;

SettingsEnvironment environment()
{
    SettingsEnvironment env;
    env.pixelsPerInch = 96;
    env.screenWidth = 1280;
    env.screenHeight = 1024;
    env.baseFont = {"Tahoma", 0, 1, -11, 0, 8};
    return env;
}

// Every key away from its default: the values of the committed sample file.
Settings everyKeyChanged()
{
    Settings s = Settings::defaults(environment());
    s.defaultDb = QStringLiteral("/vaultbase-sample/Caf\u00E9.kvdb");
    s.hidePass = false;
    s.editHiddenPass = true;
    s.alwaysAskForPassword = true;
    s.showDialogPassword = true;
    s.checkForPasswordFile = true;
    s.lock = true;
    s.lockInterval = "30";
    s.deleteTempFiles = false;
    s.showStatusBar = false;
    s.showButtons = false;
    s.hideCreateDate = false;
    s.richText = false;
    s.smallIcons = true;
    s.showTrayIcon = true;
    s.lockOnTray = true;
    s.sendToTrayOnClose = true;
    s.sendToTrayOnStartup = true;
    s.setNewEntry = true;
    s.newEntryValue = "%YYYY%MM%DD";
    s.backgroundColor = 0x00C0FFEE;
    s.checksum = 5;
    s.noIniSave = true;
    s.allowMultipleWindows = false;
    s.showFolder = true;
    s.folderWidth = 310;
    s.folderHeight = 150;
    s.fileTypes = "*.*";
    s.startupFolder = QStringLiteral("/vaultbase-sample/");
    s.languageName = "Deutsch";
    s.useBuildInFont = true;
    s.useFontSettings = true;
    s.useFontHeight = true;
    s.font = {"Courier New", ColorRef::WindowText, 0, -13, 2, 10};
    s.windowPos = "10;20;800;600";
    s.windowTreeWidth = 300;
    s.recentDb = {QStringLiteral("/vaultbase-sample/a.kvdb"), QStringLiteral("/vaultbase-sample/Caf\u00E9.kvdb"), QStringLiteral("/vaultbase-sample/c.kvdb")};
    s.deactivateRecentDb = true;
    s.recentFolder = {QStringLiteral("/vaultbase-sample/"), QStringLiteral("/vaultbase-sample/old/")};
    s.deactivateRecentFolder = true;
    s.saveBinary = false;
    s.clipboardClearSeconds = 45;
    s.lockOnScreenLock = false;
    return s;
}

QByteArray settingsFile(const QByteArray &body)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<InitFile>\r\n" + body + "</InitFile>\r\n";
}

bool touch(const QString &path)
{
    return writeFile(path, "x");
}

} // namespace

class SettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void savesEveryKeyInOrderByteForByte()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Vaulto.ini"));
        QVERIFY(everyKeyChanged().save(path));
        QCOMPARE(readAll(path), readAll(vaultbase::test::dataPath(QStringLiteral("shell/settings-every-key.ini"))));
    }

    void loadsEveryKeyOfTheSample()
    {
        Settings loaded;
        QVERIFY(loaded.load(vaultbase::test::dataPath(QStringLiteral("shell/settings-every-key.ini")), environment()));
        Settings expected = everyKeyChanged();
        // The sample's recent entries name nothing on this machine: they are dropped.
        expected.recentDb.clear();
        expected.recentFolder.clear();
        QCOMPARE(loaded.defaultDb, expected.defaultDb);
        QCOMPARE(loaded.font, expected.font);
        QVERIFY(loaded == expected);
    }

    void fullRoundTripKeepsRecentListsInOrder()
    {
        QTemporaryDir dir;
        Settings s = everyKeyChanged();
        s.recentDb.clear();
        for (const char *name : {"b.kvdb", "a.kvdb", "Caf\xC3\xA9.kvdb", "d.kvdb"}) {
            const QString path = dir.filePath(QString::fromUtf8(name));
            QVERIFY(touch(path));
            s.recentDb.append(path);
        }
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("f1")));
        s.recentFolder = {dir.filePath(QStringLiteral("f1")), dir.path()};
        const QString path = dir.filePath(QStringLiteral("Vaulto.ini"));
        QVERIFY(s.save(path));

        Settings back;
        QVERIFY(back.load(path, environment()));
        QCOMPARE(back.recentDb, s.recentDb);
        QCOMPARE(back.recentFolder, s.recentFolder);
        QVERIFY(back == s);
    }

    void missingFileGivesEveryDefault()
    {
        SettingsEnvironment env = environment();
        env.pixelsPerInch = 144;
        Settings s;
        s.lock = true;
        QVERIFY(!s.load(QStringLiteral("/nonexistent/Vaulto.ini"), env));
        QVERIFY(s == Settings::defaults(env));
        QCOMPARE(s.hidePass, true);
        QCOMPARE(s.lock, false);
        QCOMPARE(s.lockInterval, QByteArray("10"));
        QCOMPARE(s.backgroundColor, 16777215);
        QCOMPARE(s.newEntryValue, QByteArray("%YYYY-%MM-%DD"));
        QCOMPARE(s.fileTypes, QByteArray("*.kvdb"));
        QCOMPARE(s.allowMultipleWindows, true);
        QCOMPARE(s.saveBinary, true);
        QCOMPARE(s.clipboardClearSeconds, 20);
        QCOMPARE(s.lockOnScreenLock, true);
        QCOMPARE(s.folderWidth, 300);
        QCOMPARE(s.folderHeight, 300);
        QCOMPARE(s.windowTreeWidth, 337);
        QCOMPARE(s.font.name, QByteArray("Tahoma"));
        QCOMPARE(s.windowPos, QByteArray("213;171;853;682"));
        QVERIFY(s.recentDb.isEmpty());
    }

    void listsEndAtTheFirstEmptyEntryAndDropVanishedFiles()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath(QStringLiteral("a.kvdb"));
        const QString b = dir.filePath(QStringLiteral("b.kvdb"));
        QVERIFY(touch(a) && touch(b));
        const QByteArray ab = "  <RecentDB>" + a.toLatin1() + "</RecentDB>\r\n";
        const QByteArray bb = "  <RecentDB>" + b.toLatin1() + "</RecentDB>\r\n";
        const QByteArray gone = "  <RecentDB>" + dir.filePath(QStringLiteral("gone.kvdb")).toLatin1() + "</RecentDB>\r\n";
        const QByteArray folderAsFile = "  <RecentDB>" + dir.path().toLatin1() + "</RecentDB>\r\n";
        const QString path = dir.filePath(QStringLiteral("Vaulto.ini"));

        QVERIFY(writeFile(path, settingsFile("  <DeactivateRecentDB>1</DeactivateRecentDB>\r\n" + ab + gone
                                             + folderAsFile + bb)));
        Settings s;
        s.load(path, environment());
        QCOMPARE(s.recentDb, QStringList({a, b}));
        QCOMPARE(s.deactivateRecentDb, true);

        QVERIFY(writeFile(path, settingsFile("  <RecentDB></RecentDB>\r\n" + ab + bb)));
        s.load(path, environment());
        QVERIFY(s.recentDb.isEmpty());

        // Folders are kept only when they exist as folders.
        QVERIFY(writeFile(path, settingsFile("  <RecentFolder>" + a.toLatin1() + "</RecentFolder>\r\n  <RecentFolder>"
                                             + dir.path().toLatin1() + "</RecentFolder>\r\n")));
        s.load(path, environment());
        QCOMPARE(s.recentFolder, QStringList({dir.path()}));
    }

    void fontKeysApplyOnlyAsTheirFlagsSay()
    {
        const QByteArray fontKeys = "  <FontDefName>Arial</FontDefName>\r\n  <FontDefColor>255</FontDefColor>\r\n"
                                    "  <FontDefCharset>204</FontDefCharset>\r\n  <FontDefHeight>-16</FontDefHeight>\r\n"
                                    "  <FontDefPitch>1</FontDefPitch>\r\n";
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Vaulto.ini"));
        Settings s;

        QVERIFY(writeFile(path, settingsFile(fontKeys)));
        s.load(path, environment());
        QCOMPARE(s.font, (FontNumbers{"Arial", 255, 204, -11, 1, 8})); // height only with UseFontHeight

        QVERIFY(writeFile(path, settingsFile("  <UseFontHeight>1</UseFontHeight>\r\n" + fontKeys)));
        s.load(path, environment());
        QCOMPARE(s.font, (FontNumbers{"Arial", 255, 204, -16, 1, 12}));

        QVERIFY(writeFile(path, settingsFile("  <UseFontSettings>0</UseFontSettings>\r\n  <UseFontHeight>1</UseFontHeight>\r\n"
                                             + fontKeys)));
        s.load(path, environment());
        QCOMPARE(s.font, environment().baseFont);
    }

    void badFilesGiveDefaultsAndStayUntouched_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = settingsFile("  <Lock>1</Lock>\r\n  <Checksum>3</Checksum>\r\n");
        QByteArray binary;
        for (int i = 0; i < 2048; ++i) {
            binary.append(char((i * 131 + 7) & 0xFF));
        }
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("binary") << binary;
        QTest::newRow("truncated") << good.left(good.size() - 8);
        QTest::newRow("no closing root") << good.left(good.indexOf("</InitFile>"));
        QTest::newRow("no prolog end") << QByteArray(good).replace("?>", "> ");
        QByteArray huge = good;
        huge.insert(huge.indexOf("</InitFile>"), QByteArray(50 * 1024 * 1024, '\n'));
        QTest::newRow("50 MB") << huge;
    }

    void badFilesGiveDefaultsAndStayUntouched()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Vaulto.ini"));
        QVERIFY(writeFile(path, bytes));
        Settings s = everyKeyChanged();
        QVERIFY(!s.load(path, environment()));
        QVERIFY(s == Settings::defaults(environment()));
        QCOMPARE(QFileInfo(path).size(), bytes.size());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({QStringLiteral("Vaulto.ini")}));
    }

    void oddValuesReadAsTheStoreSays()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Vaulto.ini"));
        QVERIFY(writeFile(path, settingsFile("  <HidePass>2</HidePass>\r\n  <FolderWidth>abc</FolderWidth>\r\n"
                                             "  <LockInterval></LockInterval>\r\n"
                                             "  <DefaultDB>/a</DefaultDB>/b.kvdb</DefaultDB>\r\n")));
        Settings s;
        QVERIFY(s.load(path, environment()));
        QCOMPARE(s.hidePass, false);
        QCOMPARE(s.folderWidth, 0);
        QCOMPARE(s.lockInterval, QByteArray("10"));
        QCOMPARE(s.defaultDb, QStringLiteral("/a")); // a value holding its closing tag is cut short
    }

    void pathsTheCodePageCannotCarryAreNotStored()
    {
        QTemporaryDir dir;
        const QString cyrillic = dir.filePath(QStringLiteral("\u0416.kvdb"));
        const QString plain = dir.filePath(QStringLiteral("p.kvdb"));
        QVERIFY(touch(cyrillic) && touch(plain));
        QVERIFY(!Settings::canStorePath(cyrillic));
        QVERIFY(Settings::canStorePath(plain));
        Settings s = Settings::defaults(environment());
        s.defaultDb = cyrillic;
        s.recentDb = {cyrillic, plain};
        InitFileStore store(InitFileStore::Xml);
        s.write(store);
        QVERIFY(store.content().contains("<DefaultDB></DefaultDB>"));
        QCOMPARE(store.content().count("<RecentDB>"), 1);
        Settings back;
        back.read(store, environment());
        QCOMPARE(back.defaultDb, QString());
        QCOMPARE(back.recentDb, QStringList({plain}));
    }

    void windowPosTextsAndFirstPlace()
    {
        // Two thirds of the free area, centred in it (a panel on the left and on top).
        QCOMPARE(WindowPos::firstPlace(0, 0, 1280, 800).toText(), QByteArray("213;133;853;533"));
        QCOMPARE(WindowPos::firstPlace(100, 30, 1820, 1050).toText(), QByteArray("403;205;1213;700"));
        QCOMPARE(WindowPos::firstPlace(0, 0, -1, 0).toText(), QByteArray("0;0;0;0"));

        WindowPos pos = WindowPos::firstPlace(0, 0, 1280, 800);
        QVERIFY(!pos.apply(""));
        QCOMPARE(pos.toText(), QByteArray("213;133;853;533"));
        QVERIFY(pos.apply("-5; 6;700;500"));
        QCOMPARE(pos, (WindowPos{false, -5, 6, 700, 500}));
        QVERIFY(pos.apply("1;2")); // what is read replaces, in order
        QCOMPARE(pos, (WindowPos{false, 1, 2, 700, 500}));
        QVERIFY(pos.apply("Maximized"));
        QVERIFY(pos.maximized);
        QCOMPARE(pos.toText(), QByteArray("Maximized"));
        QVERIFY(pos.apply("x;1;2;3"));
        QCOMPARE(pos, (WindowPos{false, 1, 2, 700, 500}));

        QCOMPARE(scaleForDpi(200, 72), 200);
        QCOMPARE(scaleForDpi(200, 96), 200);
        QCOMPARE(scaleForDpi(19, 144), 28);
        QCOMPARE(scaleForDpi(225, 120), 281);
    }

    void fontNumbersConvertAsWindowsDoes()
    {
        QCOMPARE(FontNumbers::sizeFromHeight(-11, 96), 8);
        QCOMPARE(FontNumbers::sizeFromHeight(-13, 96), 10);
        QCOMPARE(FontNumbers::sizeFromHeight(-16, 96), 12);
        QCOMPARE(FontNumbers::heightFromSize(8, 96), -11);
        QCOMPARE(FontNumbers::heightFromSize(10, 120), -17);
        QCOMPARE(ColorRef::toRgb(0x00C0FFEE), 0xEEFFC0u);
        QCOMPARE(ColorRef::fromRgb(0xEEFFC0u), 0x00C0FFEE);
        QVERIFY(ColorRef::isSystemColor(ColorRef::WindowText));
        QCOMPARE(ColorRef::systemColorIndex(ColorRef::WindowText), 8);
        QVERIFY(!ColorRef::isSystemColor(ColorRef::White));
    }
};

VAULTBASE_TEST(SettingsTest)
#include "SettingsTest.moc"
