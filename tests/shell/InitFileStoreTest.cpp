#include "TestRegistry.h"

#include "ShellTestFiles.h"

#include "shell/InitFileStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

using shelltest::readAll;
using shelltest::writeFile;

const QByteArray kProlog = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n";

QByteArray xmlFile(const QByteArray &body, const QByteArray &root = "InitFile")
{
    return kProlog + '<' + root + ">\r\n" + body + "</" + root + ">\r\n";
}

} // namespace

class InitFileStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void xmlLayoutIsExact()
    {
        InitFileStore store(InitFileStore::Xml);
        QCOMPARE(store.content(), kProlog + "<InitFile>\r\n</InitFile>\r\n");
        store.setText("DefaultDB", "C:\\x.kvdb");
        store.setInteger("LockInterval", -10);
        store.setFlag("Lock", true);
        store.setFlag("Lock", false); // a second call adds a second line
        QCOMPARE(store.content(), xmlFile("  <DefaultDB>C:\\x.kvdb</DefaultDB>\r\n"
                                          "  <LockInterval>-10</LockInterval>\r\n"
                                          "  <Lock>1</Lock>\r\n"
                                          "  <Lock>0</Lock>\r\n"));
        store.setRoot("Other");
        QVERIFY(store.content().startsWith(kProlog + "<Other>\r\n  <DefaultDB>"));
        QVERIFY(store.content().endsWith("</Lock>\r\n</Other>\r\n"));
    }

    void plainLayoutIsExact()
    {
        InitFileStore store(7); // any byte but 1 is the plain layout
        QVERIFY(!store.isXml());
        QCOMPARE(store.content(), QByteArray());
        store.setText("LanguageName", "English");
        store.setInteger("N", 42);
        store.setRoot("Ignored");
        QCOMPARE(store.content(), QByteArray("LanguageName=\"English\"\r\nN=\"42\"\r\n"));
    }

    void saveAndLoadRoundTripByteForByte_data()
    {
        QTest::addColumn<int>("layout");
        QTest::newRow("xml") << int(InitFileStore::Xml);
        QTest::newRow("plain") << int(InitFileStore::Plain);
    }

    void saveAndLoadRoundTripByteForByte()
    {
        QFETCH(int, layout);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.ini"));
        InitFileStore out{quint8(layout)};
        QByteArray every;
        for (int b = 1; b < 256; ++b) {
            if (b != '"' && b != '<' && b != '\r' && b != '\n') {
                every.append(char(b));
            }
        }
        out.setText("All", every);
        out.setText("Empty", "");
        QVERIFY(out.save(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), out.content());

        InitFileStore in{quint8(layout)};
        QVERIFY(in.load(path));
        QCOMPARE(in.content(), out.content());
        QCOMPARE(in.getText("All"), every);
        QCOMPARE(in.getText("Empty", "dflt"), QByteArray("dflt"));
    }

    void parseFindsRootAndBody()
    {
        InitFileStore store(InitFileStore::Xml);
        // A root named otherwise parses; one CR and one LF after it are skipped.
        QVERIFY(store.parse("<?xml?>\r\n<Settings>\r\n\n  <A>1</A>\r\n</Settings>\r\n"));
        QCOMPARE(store.rootName(), QByteArray("Settings"));
        QCOMPARE(store.body(), QByteArray("\n  <A>1</A>\r\n"));
        QCOMPARE(store.getInteger("A", 5), 1);
        QVERIFY(store.content().endsWith("</Settings>\r\n"));

        // Without "?>" nothing parses: the root falls back, the body stays.
        QVERIFY(!store.parse("<InitFile>\r\n  <A>2</A>\r\n</InitFile>\r\n"));
        QCOMPARE(store.rootName(), QByteArray("InitFile"));
        QCOMPARE(store.getInteger("A", 5), 1);

        // Without its closing root tag (a truncated file) the parse fails.
        InitFileStore truncated(InitFileStore::Xml);
        QVERIFY(!truncated.parse(kProlog + "<InitFile>\r\n  <A>2</A>\r\n</InitFi"));
        QCOMPARE(truncated.getInteger("A", 5), 5);

        // Text after the first zero byte does not count.
        InitFileStore zero(InitFileStore::Xml);
        QVERIFY(!zero.parse(QByteArray(kProlog + "<InitFile>\r\n\0</InitFile>\r\n", 60)));
    }

    void keysMatchAsWholeTags()
    {
        InitFileStore store(InitFileStore::Xml);
        QVERIFY(store.parse(xmlFile("  <LockInterval>30</LockInterval>\r\n"
                                    "  <DeactivateRecentDB>1</DeactivateRecentDB>\r\n")));
        QCOMPARE(store.getText("Lock", "none"), QByteArray("none"));
        QCOMPARE(store.getText("Interval", "none"), QByteArray("none"));
        QCOMPARE(store.getText("RecentDB", "none"), QByteArray("none"));
        QCOMPARE(store.getText("LockInterval"), QByteArray("30"));

        InitFileStore plain(InitFileStore::Plain);
        QVERIFY(plain.parse("LanguageName=\"German\"\r\nName=\"x\"\r\n"));
        QCOMPARE(plain.getText("Name"), QByteArray("x"));
        QCOMPARE(plain.getText("Language", "none"), QByteArray("none"));
        QCOMPARE(plain.getText("LanguageName"), QByteArray("German"));
    }

    void typedGettersFollowTheDefaultRules()
    {
        InitFileStore store(InitFileStore::Xml);
        QVERIFY(store.parse(xmlFile("  <Two>2</Two>\r\n  <One> +1x</One>\r\n  <Abc>abc</Abc>\r\n"
                                    "  <Empty></Empty>\r\n  <Neg>\t-17;</Neg>\r\n"
                                    "  <Huge>99999999999</Huge>\r\n  <Low>-99999999999</Low>\r\n")));
        QCOMPARE(store.getFlag("Two", true), false);
        QCOMPARE(store.getFlag("One", false), true);
        QCOMPARE(store.getFlag("Abc", true), false);
        QCOMPARE(store.getFlag("Empty", true), true);
        QCOMPARE(store.getFlag("Missing", true), true);
        QCOMPARE(store.getInteger("Abc", 7), 0);
        QCOMPARE(store.getInteger("Empty", 7), 7);
        QCOMPARE(store.getInteger("Neg", 7), -17);
        QCOMPARE(store.getInteger("Huge", 7), std::numeric_limits<int>::max());
        QCOMPARE(store.getInteger("Low", 7), std::numeric_limits<int>::min());
        QCOMPARE(store.getText("Missing", "d"), QByteArray("d"));
    }

    void getNextSharesOnePosition()
    {
        InitFileStore store(InitFileStore::Xml);
        QVERIFY(store.parse(xmlFile("  <R>a</R>\r\n  <X>1</X>\r\n  <R>b</R>\r\n  <R>c</R>\r\n")));
        QCOMPARE(store.getNext("R"), QByteArray("a")); // starts at 0 on a fresh parse
        QCOMPARE(store.getNext("R"), QByteArray("b"));
        QCOMPARE(store.getNext("X"), QByteArray()); // X lies behind: not found ...
        QCOMPARE(store.getNext("R"), QByteArray("c")); // ... and the position stays
        QCOMPARE(store.getNext("R"), QByteArray());
        QCOMPARE(store.getText("R"), QByteArray("a")); // get text restarts at the top
        QCOMPARE(store.getNext("X"), QByteArray("1"));
        QCOMPARE(store.getNext("R"), QByteArray("b"));
        store.clear();
        QCOMPARE(store.nextPosition(), 0u);
        QCOMPARE(store.content(), kProlog + "<InitFile>\r\n</InitFile>\r\n");
    }

    void valueHoldingItsClosingTagIsCutShort()
    {
        InitFileStore out(InitFileStore::Xml);
        out.setText("DefaultDB", "a</DefaultDB>b");
        out.setText("Next", "n");
        InitFileStore in(InitFileStore::Xml);
        QVERIFY(in.parse(out.content()));
        QCOMPARE(in.getText("DefaultDB"), QByteArray("a"));
        QCOMPARE(in.getText("Next"), QByteArray("n"));
    }

    // As the Windows program reads it: a value runs to its closing quote, over line ends.
    void plainValueRunsToItsClosingQuote()
    {
        InitFileStore store(InitFileStore::Plain);
        QVERIFY(store.parse("A=\"two\r\nlines\"\r\nB=\"fine\"\r\nC=\"open"));
        QCOMPARE(store.getText("A"), QByteArray("two\r\nlines"));
        QCOMPARE(store.getText("B"), QByteArray("fine"));
        QCOMPARE(store.getText("C", "d"), QByteArray("d"));
    }

    // An editor's UTF-8 byte-order mark before the first entry is no part of it.
    void byteOrderMarkIsSkipped_data()
    {
        QTest::addColumn<int>("layout");
        QTest::newRow("plain") << int(InitFileStore::Plain);
        QTest::newRow("xml") << int(InitFileStore::Xml);
    }

    void byteOrderMarkIsSkipped()
    {
        QFETCH(int, layout);
        InitFileStore out{quint8(layout)};
        out.setText("First", "1");
        InitFileStore in{quint8(layout)};
        QVERIFY(in.parse("\xEF\xBB\xBF" + out.content()));
        QCOMPARE(in.getText("First"), QByteArray("1"));
    }

    void badFilesFailToLoad()
    {
        QTemporaryDir dir;
        InitFileStore store(InitFileStore::Xml);
        QVERIFY(!store.load(dir.filePath(QStringLiteral("missing.ini"))));
        QVERIFY(!store.load(dir.path())); // a folder

        const QString empty = dir.filePath(QStringLiteral("empty.ini"));
        QVERIFY(writeFile(empty, {}));
        QVERIFY(!store.load(empty));
        InitFileStore plain(InitFileStore::Plain);
        QVERIFY(!plain.load(empty));

        // Never waited on: a named pipe without a writer, a device that never ends.
        const QString pipe = dir.filePath(QStringLiteral("pipe.ini"));
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QVERIFY(!plain.load(pipe));
        QVERIFY(!plain.load(QStringLiteral("/dev/zero")));

        // Damaged, binary and oversized files: see the settings tests.
    }

    void saveFailsWhereNoFileCanBeMade()
    {
        QTemporaryDir dir;
        InitFileStore store(InitFileStore::Plain);
        store.setText("A", "1");
        QVERIFY(!store.save(dir.filePath(QStringLiteral("no/such/folder/a.ini"))));
        QVERIFY(!store.save(dir.path()));
    }
};

VAULTBASE_TEST(InitFileStoreTest)
#include "InitFileStoreTest.moc"
