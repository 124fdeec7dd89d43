#include "TestRegistry.h"

#include "document/ElementTree.h"
#include "document/TableElement.h"
#include "document/Table.h"
#include "tools/ExportElements.h"
#include "tools/ExportFormat.h"
#include "tools/ExportPaths.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

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

// Every file below folder, as paths relative to it, sorted.
QStringList filesBelow(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files.append(QDir(folder).relativeFilePath(it.next()));
    }
    files.sort();
    return files;
}

ElementData texts(QByteArray content, QByteArray detail = {}, QByteArray comment = {})
{
    ElementData data;
    data.Content = std::move(content);
    data.Detail = std::move(detail);
    data.Comment = std::move(comment);
    return data;
}

QByteArray tableStream(const QList<QList<QByteArray>> &rows)
{
    Table grid;
    grid.initSize(int(rows.first().size()), int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            grid.setCell(c, r, rows[r][c]);
        }
    }
    return TableElement::buildStream(TableElement::GridSettings(), grid);
}

const QByteArray head = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n"
                        "<html>\r\n<head>\r\n<title>";
const QByteArray headEnd = "</title>\r\n</head>\r\n<body>\r\n";
const QByteArray dashes = QByteArray(80, '-') + "\r\n";

QByteArray header(const QByteArray &path)
{
    return "<table border=\"1\" width=\"100%\">\r\n <tr>\r\n  <td bgcolor=\"Silver\"><font face=\"Arial\">" + path
        + "</font>\r\n </td>\r\n  </tr>\r\n";
}

QByteArray row(const QByteArray &cell)
{
    return " <tr>\r\n  <td><font face=\"Arial\">\r\n" + cell + "</font>\r\n  </td>\r\n </tr>\r\n";
}

// The document as a browser engine builds it, serialised again; empty when the engine
// cannot run.
QString browserDom(const QString &htmlFile, const QString &profileFolder)
{
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (chromium.isEmpty()) {
        return {};
    }
    QProcess browser;
    browser.start(chromium, {"--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                             "--disable-background-networking", "--disable-component-update", "--disable-sync",
                             "--user-data-dir=" + profileFolder, "--dump-dom", QUrl::fromLocalFile(htmlFile).toString()});
    if (!browser.waitForFinished(120000)) {
        browser.kill();
        browser.waitForFinished();
        return {};
    }
    return QString::fromUtf8(browser.readAllStandardOutput());
}

// The text nodes of a serialised DOM, one per line.
QStringList domTexts(const QString &dom)
{
    QStringList texts;
    for (QString text : dom.split(QRegularExpression(QStringLiteral("<[^>]*>|\\n")), Qt::SkipEmptyParts)) {
        text.replace("&lt;", "<").replace("&gt;", ">").replace("&nbsp;", " ").replace("&amp;", "&");
        if (!text.trimmed().isEmpty()) {
            texts.append(text.trimmed());
        }
    }
    return texts;
}

} // namespace

class ExportTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_run = 0;

    // A fresh output folder for each export.
    QString outFolder()
    {
        const QString folder = m_dir.filePath(QString::number(++m_run));
        QDir().mkpath(folder);
        return folder;
    }

    // Bank (folder, "Hi") > PIN (key); Notes (entry) at the top level.
    static void buildBank(ElementTree &tree, ElementNode **bank = nullptr)
    {
        ElementNode *folder = tree.insertElement(nullptr, "Bank", KindFolder, KindOpenFolder, texts("Hi"));
        tree.insertElement(folder, "PIN", KindKey, KindKey, texts("u", "p<", "c"));
        tree.insertElement(nullptr, "Notes", KindEntry, KindEntry, texts("n"));
        if (bank) {
            *bank = folder;
        }
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void htmlEscapeOrder()
    {
        QCOMPARE(htmlEscape("a<b\r\n"), QByteArray("a&lt;b<br>\r\n"));
        QCOMPARE(htmlEscape("<>&\"\xE4"), QByteArray("&lt;&gt;&\"\xE4"));
        QCOMPARE(htmlEscape("\r\r"), QByteArray("<br>\r<br>\r"));
        // Names, paths and cells show as the text they are, in elements and attributes.
        QCOMPARE(htmlText("<a&\"b>\xE4"), QByteArray("&lt;a&amp;&quot;b&gt;\xE4"));
        QCOMPARE(htmlFileLink("a #b%.png"), QByteArray("a%20%23b%25.png"));
        // Paragraphs of stored rich text come back as CR LF line breaks.
        QCOMPARE(exportPlainText("{\\rtf1\\ansi a\\par <b\\par}"), QByteArray("a\r\n<b\r\n"));
        QCOMPARE(exportPlainText("x\r\ny\nz"), QByteArray("x\r\ny\r\nz"));
    }

    void exportAllIsOneDocumentWithAnEmptyTitle()
    {
        ElementTree tree;
        buildBank(tree);
        const QString folder = outFolder();
        const ExportResult result =
            exportElementsTo(tree, nullptr, folder, "all", ".htm", "Arial", switchesFor(ExportVariant::All));
        QVERIFY(result.ok());
        QCOMPARE(result.documents, QStringList{folder + "/all.htm"});
        const QByteArray expected = head + headEnd + header("Bank") + row("Hi") + "</table>\r\n\r\n\r\n"
            + header("Bank > PIN") + row("u") + row("p&lt;") + row("c") + "</table>\r\n\r\n\r\n"
            + header("Notes") + row("n") + "</table>\r\n\r\n\r\n</body>\r\n</html>";
        QCOMPARE(fileBytes(folder + "/all.htm"), expected);
        QCOMPARE(fileMode(folder + "/all.htm"), 0600);
    }

    void textFormFollowsTheExtensionInAnyCase()
    {
        const ExportTarget target = exportTargetOf("/out/Notes.TXT");
        QCOMPARE(target.folder, QString("/out"));
        QCOMPARE(target.baseName, QString("Notes"));
        QCOMPARE(target.extension, QString(".txt"));
        QCOMPARE(exportTargetOf("/out/archive.tar.HTM").baseName, QString("archive.tar"));
        QCOMPARE(exportTargetOf("/out/plain").extension, QString());

        ElementTree tree;
        buildBank(tree);
        const QString folder = outFolder();
        exportElementsTo(tree, nullptr, folder, "Notes", ".TXT", "Arial", switchesFor(ExportVariant::All));
        QCOMPARE(filesBelow(folder), QStringList{"Notes.txt"});
        const QByteArray expected = dashes + "Bank:\r\n" + dashes + "Hi\r\n\r\n" + dashes + "Bank > PIN:\r\n" + dashes
            + "u\r\np<\r\nc\r\n\r\n\r\n" + dashes + "Notes:\r\n" + dashes + "n\r\n\r\n";
        QCOMPARE(fileBytes(folder + "/Notes.txt"), expected);
    }

    void exportSelectedTakesOnlyThatElement()
    {
        ElementTree tree;
        ElementNode *bank = nullptr;
        buildBank(tree, &bank);
        const QString folder = outFolder();
        exportElementsTo(tree, bank, folder, "one", ".htm", "Arial", switchesFor(ExportVariant::Selected));
        QCOMPARE(fileBytes(folder + "/one.htm"),
                 head + headEnd + header("Bank") + row("Hi") + "</table>\r\n\r\n\r\n</body>\r\n</html>");

        // Nothing selected: an HTML document with an empty body, no text document at all.
        exportElementsTo(tree, nullptr, folder, "none", ".htm", "Arial", switchesFor(ExportVariant::Selected));
        QCOMPARE(fileBytes(folder + "/none.htm"), head + headEnd + "</body>\r\n</html>");
        const ExportResult text =
            exportElementsTo(tree, nullptr, folder, "none", ".txt", "Arial", switchesFor(ExportVariant::Selected));
        QVERIFY(text.documents.isEmpty());
        QVERIFY(!QFile::exists(folder + "/none.txt"));
    }

    void singleFilesAreNumberedFullDocuments()
    {
        ElementTree tree;
        buildBank(tree);
        const QString folder = outFolder();
        const ExportResult result =
            exportElementsTo(tree, nullptr, folder, "e", ".htm", "Arial", switchesFor(ExportVariant::AllAsFiles));
        QCOMPARE(filesBelow(folder), (QStringList{"e1.htm", "e2.htm", "e3.htm"}));
        QCOMPARE(result.documents.size(), 3);
        QCOMPARE(fileBytes(folder + "/e2.htm"), head + "Bank > PIN" + headEnd + header("Bank > PIN") + row("u")
                     + row("p&lt;") + row("c") + "</table>\r\n</body>\r\n</html>");
        QVERIFY(fileBytes(folder + "/e3.htm").startsWith(head + "Notes" + headEnd));
    }

    void subfoldersAndAttachedFiles()
    {
        ElementTree tree;
        ElementNode *bank = tree.insertElement(nullptr, "Bank", KindFolder, KindOpenFolder, texts("b"));
        ElementNode *cards = tree.insertElement(bank, "Cards", KindFolder, KindOpenFolder, texts("c"));
        ElementData scan = texts("front side", "C:\\scans\\visa.png");
        scan.setBlob(QByteArray("\x89PNG\0\xff", 6));
        tree.insertElement(cards, "visa.png", KindFile, KindFile, scan);
        tree.insertElement(nullptr, "Top", KindEntry, KindEntry, texts("t"));

        const QString folders = outFolder();
        const ExportResult result = exportElementsTo(tree, nullptr, folders, "x", ".htm", "Arial",
                                                   switchesFor(ExportVariant::AllAsFilesInFolders));
        QVERIFY(result.ok());
        // A folder's own document in its own sub-folder, any other element's in its parent's.
        QCOMPARE(filesBelow(folders), (QStringList{"Bank/Cards/visa.png", "Bank/Cards/x2.htm", "Bank/Cards/x3.htm",
                                                   "Bank/x1.htm", "x4.htm"}));
        QCOMPARE(fileBytes(folders + "/Bank/Cards/visa.png"), QByteArray("\x89PNG\0\xff", 6));
        QCOMPARE(fileMode(folders + "/Bank/Cards/visa.png"), 0600);
        // The folders too are their owner's alone.
        QCOMPARE(fileMode(folders + "/Bank"), 0700);
        QCOMPARE(fileMode(folders + "/Bank/Cards"), 0700);
        QVERIFY(fileBytes(folders + "/Bank/Cards/x3.htm")
                    .contains(row("<a href=\"visa.png\">visa.png</a>\r\nfront side")));

        const QString entries = outFolder();
        const ExportResult files = exportElementsTo(tree, nullptr, entries, "x", ".htm", "Arial",
                                                  switchesFor(ExportVariant::FileEntries));
        QVERIFY(files.documents.isEmpty());
        QCOMPARE(filesBelow(entries), QStringList{"Bank/Cards/visa.png"});

        // Without sub-folders the file lies beside the document; the text form names it.
        const QString flat = outFolder();
        exportElementsTo(tree, nullptr, flat, "t", ".txt", "Arial", switchesFor(ExportVariant::All));
        QCOMPARE(filesBelow(flat), (QStringList{"t.txt", "visa.png"}));
        QVERIFY(fileBytes(flat + "/t.txt").contains("Bank > Cards > visa.png:\r\n" + dashes + "<<visa.png>>front side"));
    }

    void namesNeverLeaveTheChosenFolder()
    {
        ElementTree tree;
        ElementNode *dots = tree.insertElement(nullptr, "..", KindFolder, KindOpenFolder, texts("d"));
        ElementNode *slash = tree.insertElement(dots, "a/../../b", KindFolder, KindOpenFolder, texts("s"));
        ElementData evil = texts("", "..\\..\\..");
        evil.setBlob("x");
        tree.insertElement(slash, "f1", KindFile, KindFile, evil);
        ElementData sneaky = texts("", "../../escaped");
        sneaky.setBlob("y");
        tree.insertElement(slash, "f2", KindFile, KindFile, sneaky);

        const QString root = outFolder();
        const QString folder = root + "/inner";
        QDir().mkpath(folder);
        const ExportResult result = exportElementsTo(tree, nullptr, folder, "x", ".htm", "Arial",
                                                   switchesFor(ExportVariant::AllAsFilesInFolders));
        QVERIFY(result.ok());
        QCOMPARE(filesBelow(root), (QStringList{"inner/_/a_.._.._b/_", "inner/_/a_.._.._b/escaped",
                                                "inner/_/a_.._.._b/x2.htm", "inner/_/a_.._.._b/x3.htm",
                                                "inner/_/a_.._.._b/x4.htm", "inner/_/x1.htm"}));
        QCOMPARE(result.mendedNames, (QList<QByteArray>{"..", "a/../../b"}));
        // The link points at the file as written.
        QVERIFY(fileBytes(folder + "/_/a_.._.._b/x3.htm").contains("<a href=\"_\">_</a>"));
    }

    void tablesFromTheFourthStoredRow()
    {
        ElementTree tree;
        ElementData table;
        const QByteArray longest(1023, 'k');
        table.setBlob(tableStream({{"<", "b&"}, {longest, QByteArray(1024, 'x')}}));
        tree.insertElement(nullptr, "T", KindTable, KindTable, table);
        const QString folder = outFolder();
        exportElementsTo(tree, nullptr, folder, "t", ".htm", "Arial", switchesFor(ExportVariant::All));
        const QByteArray cells = "  <tr>\r\n   <td>\r\n<table border=\"1\">\r\n"
                                 " <tr>\r\n  <td><font face=\"Arial\">&lt;</font></td>\r\n"
                                 "  <td><font face=\"Arial\">b&amp;</font></td>\r\n </tr>\r\n"
                                 " <tr>\r\n  <td><font face=\"Arial\">"
            + longest + "</font></td>\r\n  <td><font face=\"Arial\"></font></td>\r\n </tr>\r\n"
                        "</table>\r\n   </td>\r\n  </tr>\r\n";
        QCOMPARE(fileBytes(folder + "/t.htm"),
                 head + headEnd + header("T") + cells + "</table>\r\n\r\n\r\n</body>\r\n</html>");

        exportElementsTo(tree, nullptr, folder, "t", ".txt", "Arial", switchesFor(ExportVariant::All));
        QCOMPARE(fileBytes(folder + "/t.txt"),
                 dashes + "T:\r\n" + dashes + "<\tb&\t\r\n" + longest + "\t\t\r\n\r\n\r\n");
    }

    void unreadableTableIsLeftOutWhole()
    {
        ElementTree tree;
        ElementData broken;
        broken.setBlob("not a table stream");
        tree.insertElement(nullptr, "A", KindTable, KindTable, broken);
        tree.insertElement(nullptr, "B", KindEntry, KindEntry, texts("b"));
        const QString folder = outFolder();
        exportElementsTo(tree, nullptr, folder, "s", ".htm", "Arial", switchesFor(ExportVariant::AllAsFiles));
        // The counter does not step for the table, and its header does not leak into B's document.
        QCOMPARE(filesBelow(folder), QStringList{"s1.htm"});
        QCOMPARE(fileBytes(folder + "/s1.htm"),
                 head + "B" + headEnd + header("B") + row("b") + "</table>\r\n</body>\r\n</html>");
    }

    void unwritableFilesAreSkipped()
    {
        ElementTree tree;
        buildBank(tree);
        const QString folder = outFolder();
        QDir().mkpath(folder + "/e2.htm"); // a folder where the second document would go
        const ExportResult result =
            exportElementsTo(tree, nullptr, folder, "e", ".htm", "Arial", switchesFor(ExportVariant::AllAsFiles));
        QCOMPARE(result.failed, QStringList{folder + "/e2.htm"});
        QCOMPARE(result.documents, (QStringList{folder + "/e1.htm", folder + "/e3.htm"}));
        QVERIFY(!result.ok());
    }

    void htmlShowsEveryTextInABrowserAndRunsNothing()
    {
        ElementTree tree;
        ElementNode *folder = tree.insertElement(nullptr, "Bank & Co", KindFolder, KindOpenFolder, texts("one\r\ntwo <i>"));
        const QByteArray script = "<script>document.body.innerHTML='RAN'</script>";
        tree.insertElement(folder, script, KindKey, KindKey, texts("me&amp;you", "p<1>\"", "&lt;c"));
        ElementData table;
        table.setBlob(tableStream({{"<b>bold</b>", "x & y"}, {"\"q\"", "&#65;"}}));
        tree.insertElement(folder, "Grid", KindTable, KindTable, table);
        ElementData file = texts("scan", "C:\\in\\a #b.txt");
        file.setBlob("bytes");
        tree.insertElement(folder, "File", KindFile, KindFile, file);
        const QString folderPath = outFolder();
        exportElementsTo(tree, nullptr, folderPath, "all", ".htm", "Arial\" onload=\"x", switchesFor(ExportVariant::All));

        const QString dom = browserDom(folderPath + "/all.htm", m_dir.filePath("profile"));
        if (dom.isEmpty()) {
            QSKIP("chromium is not installed (scripts/install-deps --tests brings it)");
        }
        QVERIFY2(!dom.contains("<script", Qt::CaseInsensitive), qPrintable(dom));
        QVERIFY(!dom.contains("<b>") && !dom.contains("onload=\""));
        const QStringList shown = domTexts(dom);
        const QString scriptPath = "Bank & Co > " + QString::fromLatin1(script);
        // Entities in contents read as the browser reads them: only names and cells are
        // escaped whole; a field's "<" and ">" are escaped, its "&" passes as written.
        for (const QString &text : {QString("Bank & Co"), QString("one"), QString("two <i>"), scriptPath,
                                    QString("me&you"), QString("p<1>\""), QString("<c"), QString("Bank & Co > Grid"),
                                    QString("<b>bold</b>"), QString("x & y"), QString("\"q\""), QString("&#65;"),
                                    QString("Bank & Co > File"), QString("a #b.txt"), QString("scan")}) {
            QVERIFY2(shown.contains(text), qPrintable(text + " not in: " + shown.join(" | ")));
        }
        QVERIFY(dom.contains("href=\"a%20%23b.txt\""));
        QCOMPARE(fileBytes(folderPath + "/a #b.txt"), QByteArray("bytes"));
    }

    void exportNeverChangesTheTree()
    {
        ElementTree tree;
        buildBank(tree);
        ElementData richNote = texts("{\\rtf1\\ansi one\\par two}");
        tree.insertElement(nullptr, "Rich", KindEntry, KindEntry, richNote);
        const QString folder = outFolder();
        exportElementsTo(tree, nullptr, folder, "r", ".txt", "Arial", switchesFor(ExportVariant::All));
        QVERIFY(fileBytes(folder + "/r.txt").contains(dashes + "one\r\ntwo\r\n\r\n"));
        QCOMPARE(tree.count(), 4);
        QCOMPARE(tree.findPath({"Rich"})->data().Content, richNote.Content);
    }
};

VAULTBASE_TEST(ExportTest)
#include "ExportTest.moc"
