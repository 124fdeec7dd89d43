#include "PdfText.h"
#include "TestRegistry.h"

#include "../cli/CliRunner.h"
#include "FakeMainServices.h"
#include "dbwindow/DatabaseToolCommands.h"
#include "document/TableElement.h"
#include "document/Table.h"
#include "tools/ui/PagePrinter.h"
#include "tools/ui/PrintPreviewWindow.h"
#include "tools/ui/PropertiesDialog.h"

#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace dbwindowtest;
using vaultbase::test::runCli;

namespace {

ElementData texts(QByteArray content, QByteArray detail = {}, QByteArray comment = {})
{
    ElementData data;
    data.Content = std::move(content);
    data.Detail = std::move(detail);
    data.Comment = std::move(comment);
    data.Created = "2024-03-01 08:00:00";
    data.Modified = "2024-03-02 09:30:00";
    return data;
}

// Every file below folder with its bytes, by path relative to the folder.
QMap<QString, QByteArray> filesBelow(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        files.insert(QDir(folder).relativeFilePath(path), file.open(QIODevice::ReadOnly) ? file.readAll() : "?");
    }
    return files;
}

// Answers the next folder dialog with folder.
void answerFolderDialog(const QString &folder)
{
    whenModal<QFileDialog>([folder](QFileDialog *dialog) {
        dialog->setDirectory(folder);
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

} // namespace

// Properties, export and printing, reached through the database window's commands.
class DatabaseToolsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_database;

private slots:
    // No answerer outlives its test function.
    void cleanup() { vaultbase::test::finishModalAnswers(); }

    void initTestCase()
    {
        // Bank (folder) > Cards (folder) > PIN (key), scan.pdf (file), Grid (table); Notes (entry).
        ElementTree tree;
        ElementNode *bank = tree.insertElement(nullptr, "Bank & Co", KindFolder, KindOpenFolder, texts("Accounts"));
        ElementNode *cards = tree.insertElement(bank, "Cards", KindFolder, KindOpenFolder, texts("c"));
        tree.insertElement(cards, "PIN", KindKey, KindKey, texts("jane", "s3cr<", "{\\rtf1\\ansi card\\par old}"));
        ElementData scan = texts("statement", "C:\\docs\\scan.pdf");
        scan.setBlob("%PDF-");
        tree.insertElement(cards, "scan.pdf", KindFile, KindFile, scan);
        Table grid;
        grid.initSize(2, 1);
        grid.setCell(0, 0, "<IBAN>");
        grid.setCell(1, 0, "DE02");
        ElementData table = texts("");
        table.setBlob(TableElement::buildStream(TableElement::GridSettings(), grid));
        tree.insertElement(bank, "Grid", KindTable, KindTable, table);
        tree.insertElement(nullptr, "Notes", KindEntry, KindEntry, texts("one\r\ntwo"));
        m_database = m_dir.filePath("Bank.kvdb");
        QVERIFY(saveDatabase(tree, m_database, "pw", true));
    }

    void exportWritesWhatTheCommandLineWrites_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("switches");
        QTest::addColumn<QString>("name");
        QTest::newRow("selected") << "MenExportSingle" << QStringList{"--element", "Bank & Co > Cards > PIN"} << "one.htm";
        QTest::newRow("all") << "MenExportAll" << QStringList() << "all.htm";
        QTest::newRow("all as text") << "MenExportAll" << QStringList() << "Notes.TXT";
        QTest::newRow("single files") << "MenExportAllFiles" << QStringList{"--single-files"} << "e.htm";
        QTest::newRow("in folders") << "MenExportAllFilesFolders" << QStringList{"--folders"} << "x.htm";
        QTest::newRow("file entries") << "MenExportFileEntries" << QStringList{"--files-only"} << "";
    }
    void exportWritesWhatTheCommandLineWrites()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, switches);
        QFETCH(QString, name);
        FakeMainServices main;
        DatabaseWindow child(main);
        child.setPassword("pw");
        QVERIFY(child.loadDatabase(m_database));
        child.selectElement(child.tree().findPath({"Bank & Co", "Cards", "PIN"}));
        const QString fromWindow = m_dir.filePath("window-" + QString(QTest::currentDataTag()));
        const QString fromCli = m_dir.filePath("cli-" + QString(QTest::currentDataTag()));
        QVERIFY(QDir().mkpath(fromWindow) && QDir().mkpath(fromCli));

        Answers answers;
        if (name.isEmpty()) {
            answerFolderDialog(fromWindow);
        } else {
            answerFileDialog(fromWindow + '/' + name);
        }
        child.action(command)->trigger();
        const QString out = fromCli + '/' + (name.isEmpty() ? QStringLiteral("x.htm") : name);
        const vaultbase::test::CliResult cli = runCli(
            QStringList{"export"} + switches + QStringList{"--font", child.font().family(), "--password-stdin", m_database, out},
            "pw\n");
        QCOMPARE(cli.exitCode, 0);
        const QMap<QString, QByteArray> written = filesBelow(fromWindow);
        QVERIFY(!written.isEmpty());
        QCOMPARE(written, filesBelow(fromCli));
        struct stat status {};
        QCOMPARE(::stat(QFile::encodeName(fromWindow + '/' + written.firstKey()).constData(), &status), 0);
        QCOMPARE(int(status.st_mode & 0777), 0600);
        QVERIFY(answers.asked().isEmpty());
    }

    void commandsReachTheirTools()
    {
        FakeMainServices main;
        DatabaseWindow child(main);
        child.setPassword("pw");
        QVERIFY(child.loadDatabase(m_database));
        for (const char *name : {"MenProperties", "MenPrint", "MenPrintAll", "MenPrintPreview", "MenExportAll"}) {
            QVERIFY2(child.action(name)->isEnabled(), name);
        }
        QVERIFY(child.findChild<QMenu *>("MenExport")->menuAction()->isEnabled());

        QString allItems;
        whenModal<PropertiesDialog>([&allItems](PropertiesDialog *dialog) {
            allItems = dialog->findChild<QLineEdit *>("EdtAllItems")->text();
            dialog->accept();
        });
        child.action("MenProperties")->trigger();
        QCOMPARE(allItems, QString("6"));

        int pages = 0;
        whenModal<PrintPreviewWindow>([&pages](PrintPreviewWindow *preview) {
            pages = preview->pageCount();
            preview->accept();
        });
        child.action("MenPrintPreview")->trigger();
        QCOMPARE(pages, 1);

        // A file that cannot be written is reported.
        Answers answers;
        QVERIFY(QDir().mkpath(m_dir.filePath("blocked/e2.htm"))); // a folder where a document would go
        answerFileDialog(m_dir.filePath("blocked/e.htm"));
        child.action("MenExportAllFiles")->trigger();
        QCOMPARE(answers.asked().size(), 1);
        QVERIFY(answers.texts().first().endsWith("\n" + m_dir.filePath("blocked/e2.htm")));

        // Locked, nothing is shown or written.
        main.m_locked = true;
        child.lockViews();
        child.action("MenExportAll")->trigger();
        child.action("MenProperties")->trigger();
        QCOMPARE(answers.asked().size(), 1);
    }

    void printGoesToAPdfWithoutPrinter()
    {
        if (PagePrinter::printersInstalled()) {
            QSKIP("a printer is installed: printing would reach it");
        }
        FakeMainServices main;
        DatabaseWindow child(main);
        child.setPassword("pw");
        QVERIFY(child.loadDatabase(m_database));
        auto *tools = child.findChild<DatabaseToolCommands *>();
        QStringList proposed;
        tools->printer().setPdfPathAsker([&](const QString &suggested) {
            proposed.append(suggested);
            return m_dir.filePath(QString::number(proposed.size()) + ".pdf");
        });
        child.selectElement(child.tree().findPath({"Bank & Co", "Cards", "PIN"}));
        // A name still open in the tree's editor is what prints.
        child.show();
        child.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&child));
        child.action("MenChangeEntry")->trigger();
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, "PIN2");
        child.action("MenPrint")->trigger();
        child.action("MenPrintAll")->trigger();
        QCOMPARE(proposed, (QStringList{m_dir.filePath("PIN2.pdf"), m_dir.filePath("Bank.pdf")}));
        const QString one = pdfText(m_dir.filePath("1.pdf"));
        if (one.isEmpty()) {
            QSKIP("pdftotext is not installed (scripts/install-deps --tests brings poppler-utils)");
        }
        QVERIFY(one.contains("Bank & Co > Cards > PIN2") && one.contains("card") && !one.contains("Notes"));
        QVERIFY(!one.contains("s3cr"));
        const QString all = pdfText(m_dir.filePath("2.pdf"));
        for (const char *path : {"Bank.kvdb", "Bank & Co", "Bank & Co > Cards > scan.pdf", "Bank & Co > Grid", "<IBAN>",
                                 "Notes", "two"}) {
            QVERIFY2(all.contains(path), path);
        }
    }
};

VAULTBASE_TEST(DatabaseToolsTest)
#include "DatabaseToolsTest.moc"
