#include "ModalAnswers.h"
#include "PdfText.h"
#include "TestRegistry.h"

#include "document/ElementTree.h"
#include "document/TableElement.h"
#include "document/Table.h"
#include "shell/LanguageStore.h"
#include "tools/PrintDocument.h"
#include "tools/ui/PagePrinter.h"
#include "tools/ui/PrintPreviewWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPrintDialog>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QPointer>

#include <sys/stat.h>

using vaultbase::test::ModalAnswerer;
using vaultbase::test::whenModal;

namespace {

ElementData texts(QByteArray content, QByteArray detail = {}, QByteArray comment = {})
{
    ElementData data;
    data.Content = std::move(content);
    data.Detail = std::move(detail);
    data.Comment = std::move(comment);
    return data;
}

// Bank > PIN (a key), Bank > Grid (a table), then 60 notes: three pages at 50 lines.
void buildTree(ElementTree &tree)
{
    ElementNode *bank = tree.insertElement(nullptr, "Bank", KindFolder, KindOpenFolder, texts("Accounts"));
    tree.insertElement(bank, "PIN", KindKey, KindKey, texts("jane", "s3cr", "card\r\nold"));
    Table grid;
    grid.initSize(2, 1);
    grid.setCell(0, 0, "IBAN");
    grid.setCell(1, 0, "DE02");
    ElementData table;
    table.setBlob(TableElement::buildStream(TableElement::GridSettings(), grid));
    tree.insertElement(bank, "Grid", KindTable, KindTable, table);
    for (int i = 0; i < 60; ++i) {
        tree.insertElement(nullptr, "Note" + QByteArray::number(100 + i), KindEntry, KindEntry, texts("x"));
    }
}

// The text of a PDF, pages separated by form feeds; empty without pdftotext.
} // namespace

class PrintPreviewTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    LanguageStore m_language;
    ElementTree m_tree;

    PrintSource source() const
    {
        PrintSource source;
        source.tree = &m_tree;
        source.filePath = m_dir.filePath("Bank.kvdb");
        source.fontFamily = QStringLiteral("DejaVu Sans");
        source.selected = 2;
        return source;
    }

private slots:
    // No answerer outlives its test function.
    void cleanup() { vaultbase::test::finishModalAnswers(); }

    void initTestCase() { buildTree(m_tree); }

    void controlsZoomNavigationAndRange()
    {
        PagePrinter printer(m_language, nullptr);
        PrintPreviewWindow preview(m_language, printer);
        preview.setSource(source());
        preview.show();
        QCOMPARE(preview.pageCount(), 3);
        QCOMPARE(preview.windowTitle(), QString("Print preview (1/3)"));
        QCOMPARE(preview.findChild<QLineEdit *>("EdtTitle")->text(), QString("Bank.kvdb"));
        QVERIFY(preview.style().drawBorder && preview.style().drawLines && !preview.style().pageNumbers);
        QCOMPARE(preview.findChild<QComboBox *>("CbbFrom")->currentText(), QString("3"));
        QCOMPARE(preview.findChild<QComboBox *>("CbbTo")->currentText(), QString("63"));
        QVERIFY(!preview.pageImage().isNull());

        const QSize before = preview.pageImage().size();
        preview.zoomIn();
        QVERIFY(qFuzzyCompare(preview.zoom(), 1.2));
        QCOMPARE(preview.pageImage().height(), int(1.2 * before.height()));
        preview.zoomOut();
        preview.zoomOut();
        QVERIFY(preview.zoom() < 1.0);

        preview.showNextPage();
        QCOMPARE(preview.windowTitle(), QString("Print preview (2/3)"));
        preview.showNextPage();
        preview.showNextPage();
        QCOMPARE(preview.currentPage(), 3);
        preview.showFirstPage();
        preview.showPreviousPage();
        QCOMPARE(preview.currentPage(), 1);
        preview.showLastPage();
        QCOMPARE(preview.currentPage(), 3);

        // "Print selection": From 3 to 5 is one page; From with letters starts at the first.
        preview.findChild<QCheckBox *>("ChkSelection")->click();
        QVERIFY(preview.findChild<QWidget *>("PnlSelection")->isVisible());
        preview.findChild<QComboBox *>("CbbTo")->setEditText("5");
        QCOMPARE(preview.document().first(), 2);
        QCOMPARE(preview.document().end(), 5);
        QCOMPARE(preview.pageCount(), 1);
        preview.findChild<QComboBox *>("CbbFrom")->setEditText("abc");
        QCOMPARE(preview.document().first(), 0);
        preview.findChild<QCheckBox *>("ChkSelection")->click();
        QCOMPARE(preview.document().end(), 63);

        // "Printer" is the system's printer setup; cancelled, nothing changes.
        const QPointer<ModalAnswerer> setUp = whenModal<QPrintDialog>([](QPrintDialog *dialog) { dialog->reject(); });
        const double zoom = preview.zoom();
        preview.choosePrinter();
        QVERIFY(setUp);
        QCOMPARE(setUp->answered(), 1);
        QCOMPARE(preview.zoom(), zoom);
    }

    // Without a printer the pages go into a PDF file the user names: never an error.
    void printWithoutPrinterWritesAPdf()
    {
        if (PagePrinter::printersInstalled()) {
            QSKIP("a printer is installed: printing would reach it");
        }
        PagePrinter printer(m_language, nullptr);
        QStringList proposed;
        QString answer;
        printer.setPdfPathAsker([&](const QString &suggested) {
            proposed.append(suggested);
            return answer;
        });
        PrintPreviewWindow preview(m_language, printer);
        preview.setSource(source());
        preview.show();
        preview.findChild<QCheckBox *>("ChkPages")->setChecked(true);

        preview.printPages(); // cancelled: nothing written, the preview stays
        QCOMPARE(proposed, QStringList{m_dir.filePath("Bank.pdf")});
        QVERIFY(preview.isVisible());

        answer = m_dir.filePath("printed.pdf");
        preview.printPages();
        QVERIFY(!preview.isVisible());
        struct stat status {};
        QCOMPARE(::stat(QFile::encodeName(answer).constData(), &status), 0);
        QCOMPARE(int(status.st_mode & 0777), 0600);
        const QString text = pdfText(answer);
        if (text.isEmpty()) {
            QSKIP("pdftotext is not installed (scripts/install-deps --tests brings poppler-utils)");
        }
        for (const char *shown : {"Bank.kvdb", "(1 / 3)", "Bank > PIN", "jane", "\u25CF\u25CF\u25CF\u25CF", "old",
                                  "Bank > Grid", "IBAN", "DE02", "Note159", "(3 / 3)"}) {
            QVERIFY2(text.contains(QString::fromUtf8(shown)), shown);
        }
        QVERIFY(!text.contains("s3cr"));
        QCOMPARE(text.count(u'\f'), 3);
    }
};

VAULTBASE_TEST(PrintPreviewTest)
#include "PrintPreviewTest.moc"
