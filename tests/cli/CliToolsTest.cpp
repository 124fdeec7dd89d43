// show, export as HTML and text, generate, rate, checksum and info, run end to end on
// databases made here.
#include "CliRunner.h"
#include "TestRegistry.h"

#include "document/TableElement.h"
#include "document/Table.h"
#include "platform/CodePage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace vaultbase::test;

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int fileMode(const QString &path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 07777) : -1;
}

ElementData texts(QByteArray content, QByteArray detail = {}, QByteArray comment = {})
{
    ElementData data;
    data.Content = std::move(content);
    data.Detail = std::move(detail);
    data.Comment = std::move(comment);
    return data;
}

} // namespace

class CliToolsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_database;
    int m_run = 0;

    QString outFolder()
    {
        const QString folder = m_dir.filePath("out" + QString::number(++m_run));
        QDir().mkpath(folder);
        return folder;
    }

private slots:
    // Bank (folder) > Cards (folder) > Visa (key, rich comment), Bank > scan.pdf (file),
    // Grid (table), "a > b" (an entry whose name holds the separator), Note (rich entry).
    void initTestCase()
    {
        ElementTree tree;
        ElementNode *bank = addElement(tree, nullptr, "Bank", KindFolder, texts("my bank"));
        ElementNode *cards = addElement(tree, bank, "Cards", KindFolder);
        addElement(tree, cards, "Visa", KindKey, texts("jane", "S3cret!pw", "{\\rtf1\\ansi card\\par \\b pin\\b0  4711}"));
        ElementData scan = texts("statement", "C:\\docs\\scan.pdf");
        scan.setBlob(QByteArray("%PDF\0\xff", 6));
        addElement(tree, bank, "scan.pdf", KindFile, scan);
        Table grid;
        grid.initSize(2, 1);
        grid.setCell(0, 0, "<b>");
        grid.setCell(1, 0, "caf\xe9");
        ElementData table;
        table.setBlob(TableElement::buildStream(TableElement::GridSettings(), grid));
        addElement(tree, nullptr, "Grid", KindTable, table);
        addElement(tree, nullptr, "a > b", KindEntry, texts("tricky\x1b[2J"));
        addElement(tree, nullptr, "Note", KindEntry, texts("{\\rtf1\\ansi one\\par two}"));
        m_database = m_dir.filePath("db.kvdb");
        QVERIFY(saveDatabase(tree, m_database, "pw", true));
    }

    void showFieldsAndPlainText()
    {
        const CliResult key = runCli({"show", "--password-stdin", m_database, "Bank > Cards > Visa"}, "pw\n");
        QCOMPARE(key.exitCode, 0);
        QCOMPARE(key.out, QByteArray("Path: Bank > Cards > Visa\nKind: key\nUser name: jane\nPassword: S3cret!pw\n"
                                     "Comment:\n  card\n  pin 4711\nCreated: 2024-03-01 08:00:00\n"
                                     "Modified: 2024-03-02 09:30:00\n"));
        QCOMPARE(runCli({"show", "--field", "detail", "--password-stdin", m_database, "Bank > Cards > Visa"}, "pw\n").out,
                 QByteArray("S3cret!pw\n"));
        QCOMPARE(runCli({"show", "--field", "comment", "--raw", "--password-stdin", m_database, "Bank > Cards > Visa"},
                        "pw\n")
                     .out,
                 QByteArray("{\\rtf1\\ansi card\\par \\b pin\\b0  4711}\n"));
        QCOMPARE(runCli({"show", "--field=content", "--password-stdin", m_database, "Note"}, "pw\n").out,
                 QByteArray("one\ntwo\n"));

        const CliResult file = runCli({"show", "--password-stdin", m_database, "Bank > scan.pdf"}, "pw\n");
        QVERIFY(file.out.contains("Kind: file\nFile name: C:\\docs\\scan.pdf\nFile size: 6 bytes\nDescription: statement\n"));
        const CliResult table = runCli({"show", "--password-stdin", m_database, "Grid"}, "pw\n");
        QVERIFY(table.out.contains("Table: <b>\tcaf\xc3\xa9\n"));
        // A name holding " > " is found; a control character never reaches the terminal.
        const CliResult tricky = runCli({"show", "--field", "content", "--password-stdin", m_database, "a > b"}, "pw\n");
        QCOMPARE(tricky.out, QByteArray("tricky?[2J\n"));
    }

    // Rich text in other code pages than the database's reaches the terminal in full.
    void showRichTextInUnicode()
    {
        ElementTree tree;
        addElement(tree, nullptr, "World", KindEntry,
                   texts("{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fnil Arial;}{\\f1\\fnil\\fcharset161 Arial;}}"
                         "\\f0 \\'cc\\'e8\\'f0 \\f1 \\'ea\\'fc\\'f3\\'ec\\'ef\\'f2 \\f0\\u19990?\\u30028?\\par}"));
        const QString path = m_dir.filePath("world.kvdb");
        QVERIFY(saveDatabase(tree, path, "pw", true));
        QCOMPARE(runCli({"show", "--field", "content", "--password-stdin", path, "World"}, "pw\n").out,
                 QStringLiteral("\u041C\u0438\u0440 \u03BA\u03CC\u03C3\u03BC\u03BF\u03C2 \u4E16\u754C\n").toUtf8());
    }

    void showRefusals()
    {
        const CliResult missing = runCli({"show", "--password-stdin", m_database, "Bank > Nope"}, "pw\n");
        QCOMPARE(missing.exitCode, 1);
        QVERIFY(missing.err.contains("Bank > Nope"));
        QCOMPARE(runCli({"show", "--field", "password", "--password-stdin", m_database, "Note"}, "pw\n").exitCode, 2);
        QCOMPARE(runCli({"show", "--password-stdin", m_database}, "pw\n").exitCode, 2); // no PATH
        const CliResult late = runCli({"show", "--password-stdin", m_database, "--raw"}, "pw\n");
        QCOMPARE(late.exitCode, 2);
        QVERIFY(late.err.contains("options come before"));
        QCOMPARE(runCli({"show", "--password-stdin", m_database, "Note"}, "wrong\n").err, QByteArray("Wrong password!\n"));
    }

    // The switches pick the variant; the documents themselves are the export's own tests.
    void exportDocumentsAndFiles()
    {
        const QString one = outFolder();
        QCOMPARE(runCli({"export", "--element", "Bank > Cards > Visa", "--password-stdin", m_database,
                         one + "/visa.htm"},
                        "pw\n")
                     .exitCode,
                 0);
        const QByteArray html = fileBytes(one + "/visa.htm");
        QVERIFY(html.contains("Bank > Cards > Visa</font>") && html.contains("card<br>\r\npin 4711</font>"));
        QVERIFY(!html.contains("my bank"));
        QCOMPARE(fileMode(one + "/visa.htm"), 0600);

        const QString text = outFolder();
        QCOMPARE(runCli({"export", "--password-stdin", m_database, text + "/Notes.TXT"}, "pw\n").exitCode, 0);
        QCOMPARE(QDir(text).entryList(QDir::Files), (QStringList{"Notes.txt", "scan.pdf"}));
        QVERIFY(fileBytes(text + "/Notes.txt").contains("<<scan.pdf>>statement"));

        const QString single = outFolder();
        QCOMPARE(runCli({"export", "--single-files", "--password-stdin", m_database, single + "/e.htm"}, "pw\n").exitCode,
                 0);
        QCOMPARE(QDir(single).entryList(QDir::Files, QDir::Name),
                 (QStringList{"e1.htm", "e2.htm", "e3.htm", "e4.htm", "e5.htm", "e6.htm", "e7.htm", "scan.pdf"}));

        const QString folders = outFolder();
        QCOMPARE(runCli({"export", "--folders", "--password-stdin", m_database, folders + "/x.htm"}, "pw\n").exitCode, 0);
        QVERIFY(QFile::exists(folders + "/Bank/Cards/x3.htm") && QFile::exists(folders + "/Bank/scan.pdf"));

        const QString files = outFolder();
        const CliResult entries =
            runCli({"export", "--files-only", "--password-stdin", m_database, files + "/x.htm"}, "pw\n");
        QCOMPARE(entries.exitCode, 0);
        QCOMPARE(QString::fromUtf8(entries.out), files + "/Bank/scan.pdf\n");
        QCOMPARE(QDir(files).entryList(QDir::Files), QStringList());

        // The JSON holds every password in clear: --out writes a file for its owner alone.
        const QString json = outFolder() + "/tree.json";
        QCOMPARE(runCli({"export", "--format", "json", "--out", json, "--password-stdin", m_database}, "pw\n").exitCode, 0);
        QCOMPARE(fileMode(json), 0600);
        QCOMPARE(fileBytes(json), runCli({"export", "--password-stdin", m_database}, "pw\n").out);
    }

    void exportRefusals()
    {
        const QString folder = outFolder();
        const auto run = [&](const QStringList &arguments) { return runCli(arguments, "pw\n"); };
        QCOMPARE(run({"export", "--format", "txt", "--password-stdin", m_database, folder + "/a.htm"}).exitCode, 2);
        QCOMPARE(run({"export", "--format", "html", "--password-stdin", m_database, folder + "/a.txt"}).exitCode, 2);
        QCOMPARE(run({"export", "--element", "Note", "--single-files", "--password-stdin", m_database, folder + "/a"})
                     .exitCode,
                 2);
        QCOMPARE(run({"export", "--format", "json", "--password-stdin", m_database, folder + "/a"}).exitCode, 2);
        QCOMPARE(run({"export", "--single-files", "--password-stdin", m_database}).exitCode, 2);
        QCOMPARE(run({"export", "--password-stdin", m_database, folder + "/missing/a.htm"}).exitCode, 1);
        QCOMPARE(run({"export", "--element", "Nope", "--password-stdin", m_database, folder + "/a.htm"}).exitCode, 1);
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList());
        // Without an extension the format's own is added.
        QCOMPARE(run({"export", "--format", "txt", "--password-stdin", m_database, folder + "/plain"}).exitCode, 0);
        QVERIFY(QFile::exists(folder + "/plain.txt"));
    }

    void generateDrawsFromTheChosenClasses()
    {
        const CliResult standard = runCli({"generate"});
        QCOMPARE(standard.exitCode, 0);
        const QString password = QString::fromUtf8(standard.out).chopped(1);
        QCOMPARE(password.size(), 8);
        QByteArray bytes = CodePage::fromUnicode(password);
        bool lower = false, upper = false, digit = false, other = false;
        for (char c : bytes) {
            lower |= c >= 'a' && c <= 'z';
            upper |= c >= 'A' && c <= 'Z';
            digit |= c >= '0' && c <= '9';
            other |= !(c >= 'a' && c <= 'z') && !(c >= 'A' && c <= 'Z') && !(c >= '0' && c <= '9');
        }
        QVERIFY(lower && upper && digit && other);

        const CliResult digits = runCli({"generate", "--length", "30", "--no-lower", "--no-upper", "--no-other"});
        QVERIFY(QRegularExpression("^[0-9]{30}\n$").match(QString::fromUtf8(digits.out)).hasMatch());
        const CliResult none =
            runCli({"generate", "--length=12", "--no-lower", "--no-upper", "--no-digits", "--no-other"});
        QVERIFY(QRegularExpression("^[0-9]{12}\n$").match(QString::fromUtf8(none.out)).hasMatch());
        QCOMPARE(QString::fromUtf8(runCli({"generate", "--length", "0"}).out).size(), 9);
        QCOMPARE(QString::fromUtf8(runCli({"generate", "--length", "5000", "--no-other"}).out).size(), 1000);
        QCOMPARE(runCli({"generate", "--length", "abc"}).exitCode, 2);
        QCOMPARE(runCli({"generate", "extra"}).exitCode, 2);
        // The secure source: two runs within one second differ.
        QVERIFY(runCli({"generate", "--length", "32"}).out != runCli({"generate", "--length", "32"}).out);
    }

    void rateReadsOneLine()
    {
        QCOMPARE(runCli({"rate"}, "abc\n").out, QByteArray("- length is less than 8 characters\n- no numbers\n"
                                                           "- no non alphanumeric characters (e.g. #,@,$)\n"
                                                           "- no uppercase characters\n"));
        QCOMPARE(runCli({"rate"}, "Abcdefg1\xc2\xa7\n").out, QByteArray("- password seems to be secure\n"));
        QCOMPARE(runCli({"rate"}, "\n").out, QByteArray("- Password is not set yet.\n"));
        const CliResult nothing = runCli({"rate"}, "");
        QCOMPARE(nothing.exitCode, 1);
        QVERIFY(nothing.err.contains("No password"));
    }

    void checksumOfTheBytesAsStored()
    {
        const QString abc = m_dir.filePath("abc.bin");
        QFile file(abc);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("abc");
        file.close();
        QCOMPARE(runCli({"checksum", "--algorithm", "sha256", abc}).out,
                 QByteArray("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad\n"));
        QCOMPARE(runCli({"checksum", "--algorithm", "SHA3-256", abc}).out,
                 QByteArray("3a985da74fe225b2045c172d6bd390bd855f086e3e9d525b46bfe24511431532\n"));
        const QString empty = m_dir.filePath("empty.bin");
        QVERIFY(QFile(empty).open(QIODevice::WriteOnly));
        QCOMPARE(runCli({"checksum", "--algorithm", "md5", empty}).out,
                 QByteArray("d41d8cd98f00b204e9800998ecf8427e\n"));
        QCOMPARE(runCli({"checksum", abc}).exitCode, 2);
        QCOMPARE(runCli({"checksum", "--algorithm", "crc32", abc}).exitCode, 2);
        QCOMPARE(runCli({"checksum", "--algorithm", "md5", m_dir.filePath("none")}).exitCode, 1);
        QCOMPARE(runCli({"checksum", "--algorithm", "md5", m_dir.path()}).exitCode, 1);
    }

    void infoSummarisesTheDatabase()
    {
        ElementTree tree;
        ElementNode *a = addElement(tree, nullptr, "A", KindFolder);
        addElement(tree, a, "B", KindFolder);
        addElement(tree, a, "K", KindKey);
        addElement(tree, nullptr, "T", KindTable);
        const QString path = m_dir.filePath("counts.kvdb");
        QVERIFY(saveDatabase(tree, path, "Abcdefg1!", true));
        const qint64 size = QFileInfo(path).size();

        const CliResult info = runCli({"info", "--algorithm", "md5", "--password-stdin", path}, "Abcdefg1!\n");
        QCOMPARE(info.exitCode, 0);
        const QString expected =
            QStringLiteral("Filename - counts.kvdb\nFolder - %1\nFilesize - %2 KB (%3 bytes)\nFiledate - %4\n"
                           "MD5 - %5\nNumber of all items - 4\nNumber of entry items - 0\n"
                           "Number of folder items - 2\nNumber of file items - 0\nNumber of key items - 1\n"
                           "Number of table items - 1\nPassword length - 9\nPotential password risks\n"
                           "- password seems to be secure\n")
                .arg(path, QString::number(size / 1024.0, 'f', 2), QString::number(size),
                     QFileInfo(path).lastModified().toString("yyyy-MM-dd HH:mm:ss"),
                     QString::fromUtf8(runCli({"checksum", "--algorithm", "md5", path}).out.trimmed()));
        QCOMPARE(QString::fromUtf8(info.out), expected);
        // Without --algorithm there is no checksum line.
        QVERIFY(!runCli({"info", "--password-stdin", path}, "Abcdefg1!\n").out.contains("MD5"));
        QCOMPARE(runCli({"info", "--algorithm", "sha", "--password-stdin", path}, "Abcdefg1!\n").exitCode, 2);
    }
};

VAULTBASE_TEST(CliToolsTest)
#include "CliToolsTest.moc"
