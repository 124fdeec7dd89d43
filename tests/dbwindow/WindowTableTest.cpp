#include "TestRegistry.h"

#include "FakeMainServices.h"
#include "editing/OpsTestTrees.h"
#include "editing/TableTestGrids.h"
#include "dbwindow/SortDialog.h"
#include "dbwindow/TablePanel.h"
#include "editing/TableStorage.h"
#include "document/TableElement.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace dbwindowtest;
using namespace vaultbase::test::ops;

namespace {

// The stored grid's rows, cells separated by ",", rows by "|".
QByteArray storedCells(const ElementNode *node)
{
    return gridText(storedGrid(node), '|');
}

ElementNode *addTable(ElementTree &tree, const QByteArray &name, const QList<QList<QByteArray>> &rows)
{
    const TableElement::GridSettings settings{QByteArray::number(rows.first().size()),
                                              QByteArray::number(rows.size()), "60"};
    return add(tree, nullptr, name, KindTable, tableData(settings, rows));
}

struct Window
{
    FakeMainServices main;
    DatabaseWindow child{main};
    QTableView *grid = nullptr;
    TablePanel *panel = nullptr;

    Window()
    {
        child.resize(700, 500);
        child.show();
        child.activateWindow();
        if (!QTest::qWaitForWindowActive(&child)) {
            QTest::qFail("The table window did not become active", __FILE__, __LINE__);
        }
        grid = child.findChild<QTableView *>(QStringLiteral("StgTable"));
        panel = child.findChild<TablePanel *>(QStringLiteral("PnlTable"));
    }
    QComboBox *box(const char *name) const { return child.findChild<QComboBox *>(QLatin1String(name)); }
    void select(int row, int column) { grid->setCurrentIndex(grid->model()->index(row, column)); }
    void pop(const char *name) { child.action(QLatin1String(name))->trigger(); }
};

} // namespace

// Table editing as the window does it: cells and boxes stored as they change, the grid's
// pop-up commands, moved rows and columns, sort data and CSV.
class WindowTableTest : public QObject
{
    Q_OBJECT

private slots:
    // No answerer outlives its test function.
    void cleanup() { vaultbase::test::finishModalAnswers(); }

    void typedColumnCountSurvivesReselecting()
    {
        Window w;
        ElementNode *table = add(w.child.tree(), nullptr, "Table", KindTable);
        ElementNode *entry = add(w.child.tree(), nullptr, "Entry", KindEntry);
        w.child.selectElement(table);
        QCOMPARE(w.box("CbbTableColumns")->currentText(), QStringLiteral("5"));
        QVERIFY(w.box("CbbTableColumns")->isEnabled());
        QVERIFY(!table->data().hasBlob());
        QVERIFY(!w.child.isModified());

        QLineEdit *columns = w.box("CbbTableColumns")->lineEdit();
        columns->setFocus();
        columns->selectAll();
        QTest::keyClicks(columns, QStringLiteral("7"));
        QCOMPARE(w.grid->model()->columnCount(), 7);
        QCOMPARE(storedGrid(table).columnCount(), 7);
        QCOMPARE(storedGrid(table).barTexts().columns, "7");
        QVERIFY(w.child.isModified());
        QCOMPARE(table->data().Modified, "2018-10-27 15:30:12");
        // Typing on in the box keeps its focus: the grid does not take it away.
        QVERIFY(columns->hasFocus());

        // A row count that is no number falls back to 5; the text stays as typed.
        QLineEdit *rows = w.box("CbbTableRows")->lineEdit();
        rows->selectAll();
        QTest::keyClicks(rows, QStringLiteral("12"));
        QCOMPARE(w.grid->model()->rowCount(), 12);
        rows->selectAll();
        QTest::keyClicks(rows, QStringLiteral("ab"));
        QCOMPARE(w.grid->model()->rowCount(), 5);
        w.box("CbbTableWidth")->setCurrentText(QStringLiteral("120"));
        QCOMPARE(w.grid->horizontalHeader()->defaultSectionSize(), 120);

        w.child.selectElement(entry);
        w.child.selectElement(table);
        QCOMPARE(w.box("CbbTableColumns")->currentText(), QStringLiteral("7"));
        QCOMPARE(w.box("CbbTableRows")->currentText(), QStringLiteral("ab"));
        QCOMPARE(w.box("CbbTableWidth")->currentText(), QStringLiteral("120"));
        QCOMPARE(w.grid->model()->columnCount(), 7);
        QCOMPARE(w.grid->model()->rowCount(), 5);
        // Showing the table again changed nothing.
        w.child.setModified(false);
        w.child.selectElement(entry);
        w.child.selectElement(table);
        QVERIFY(!w.child.isModified());
    }

    void cellsAreStoredKeyByKeyAndKeptWhole()
    {
        Window w;
        ElementNode *table = addTable(w.child.tree(), "Table", {{"a", QByteArray(40000, 'L')}, {"c", "d"}});
        w.child.selectElement(table);
        w.grid->setFocus();
        w.select(0, 0);
        // The editor is open on the current cell.
        auto *editor = w.grid->viewport()->findChild<QLineEdit *>();
        QVERIFY(editor);
        QTRY_VERIFY(editor->hasFocus());
        editor->end(false);
        QTest::keyClick(editor, Qt::Key_B);
        QCOMPARE(storedGrid(table).cell(0, 0), "ab");
        QVERIFY(w.child.isModified());
        QTest::keyClick(editor, Qt::Key_Home);
        QTest::keyClick(editor, Qt::Key_X);
        // The cursor stays where the user types.
        QCOMPARE(storedGrid(table).cell(0, 0), "xab");
        QCOMPARE(editor->cursorPosition(), 1);

        // Tab moves to the next cell, whose long text is edited without being cut.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(w.grid->currentIndex(), w.grid->model()->index(0, 1));
        QTRY_VERIFY(qobject_cast<QLineEdit *>(QApplication::focusWidget()));
        auto *longEditor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QCOMPARE(longEditor->text().size(), 40000);
        longEditor->end(false);
        QTest::keyClick(longEditor, Qt::Key_Z);
        QCOMPARE(storedGrid(table).cell(1, 0), QByteArray(40000, 'L') + "z");

        // Text the code page cannot carry is refused, the cell stays as it was.
        const QByteArray before = storedGrid(table).cell(1, 0);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("\u0416"));
        QApplication::sendEvent(longEditor, &press);
        QCOMPARE(storedGrid(table).cell(1, 0), before);
    }

    void popUpCommandsStoreTheTableAndSetModified()
    {
        Window w;
        ElementNode *table = addTable(w.child.tree(), "Table", {{"a0", "b0", "c0"}, {"a1", "b1", "c1"}, {"a2", "b2", "c2"}});
        w.child.selectElement(table);
        QMenu *popup = w.child.findChild<QMenu *>(QStringLiteral("PopTable"));
        QStringList order;
        for (QAction *action : popup->actions()) {
            order.append(action->isSeparator() ? QStringLiteral("|") : action->objectName());
        }
        QCOMPARE(order.join(QLatin1Char(' ')),
                 QStringLiteral("PopSortData PopTableClear | PopTableClearRow PopTableInsertRow PopTableRemoveRow | "
                                "PopTableClearColumn PopTableInsertColumn PopTableRemoveColumn | PopReplaceInColumn "
                                "PopReplaceInRow | PopTableImportCSV PopTableExportCSV"));

        w.select(1, 2);
        w.pop("PopTableInsertColumn");
        QCOMPARE(storedCells(table), "a0,b0,,c0|a1,b1,,c1|a2,b2,,c2");
        QCOMPARE(w.box("CbbTableColumns")->currentText(), QStringLiteral("4"));
        QCOMPARE(storedGrid(table).barTexts().columns, "4");
        QVERIFY(w.child.isModified());

        w.child.setModified(false);
        w.select(2, 0);
        w.pop("PopTableRemoveRow");
        QCOMPARE(storedCells(table), "a0,b0,,c0|a1,b1,,c1");
        QCOMPARE(w.box("CbbTableRows")->currentText(), QStringLiteral("2"));
        QVERIFY(w.child.isModified());
        w.select(0, 0);
        w.pop("PopTableInsertRow");
        QCOMPARE(storedCells(table), ",,,|a0,b0,,c0|a1,b1,,c1");
        w.pop("PopTableRemoveColumn");
        QCOMPARE(storedCells(table), ",,|b0,,c0|b1,,c1");
        w.select(1, 2);
        w.pop("PopTableClearColumn");
        QCOMPARE(storedCells(table), ",,|b0,,|b1,,");
        w.pop("PopTableClearRow");
        QCOMPARE(storedCells(table), ",,|,,|b1,,");
        w.pop("PopTableClear");
        QCOMPARE(storedCells(table), ",,|,,|,,");

        // Removing the only row leaves one row, cleared.
        w.box("CbbTableRows")->setCurrentText(QStringLiteral("1"));
        w.select(0, 0);
        QVERIFY(w.grid->model()->setData(w.grid->model()->index(0, 0), QStringLiteral("only")));
        QCOMPARE(storedCells(table), "only,,");
        w.pop("PopTableRemoveRow");
        QCOMPARE(storedCells(table), ",,");
        QCOMPARE(w.grid->model()->rowCount(), 1);
    }

    void movedColumnsAndRowsAreStoredAtOnce()
    {
        Window w;
        ElementNode *table = addTable(w.child.tree(), "Table", {{"a0", "b0", "c0"}, {"a1", "b1", "c1"}});
        w.child.selectElement(table);
        QHeaderView *columns = w.grid->horizontalHeader();
        columns->moveSection(0, 2);
        QTRY_COMPARE(storedCells(table), "b0,c0,a0|b1,c1,a1");
        QCOMPARE(columns->visualIndex(0), 0);
        QCOMPARE(w.grid->model()->index(0, 2).data().toString(), QStringLiteral("a0"));
        QVERIFY(w.child.isModified());
        w.grid->verticalHeader()->moveSection(1, 0);
        QTRY_COMPARE(storedCells(table), "b1,c1,a1|b0,c0,a0");
        QCOMPARE(w.grid->verticalHeader()->logicalIndex(0), 0);
    }

    void sortDialogProposesTheEndRowAndCountsNonNumbersAsOne()
    {
        Window w;
        ElementNode *table = addTable(w.child.tree(), "Table",
                                      {{"c", "3"}, {"A", "1"}, {"b", "2"}, {"d", "4"}, {"", "z"}, {"e", "0"}});
        w.child.selectElement(table);
        bool timerRunningWhileShown = true;
        QString proposed;
        whenModal<SortDialog>([&](SortDialog *dialog) {
            timerRunningWhileShown = w.main.m_timerRunning;
            proposed = dialog->findChild<QLineEdit *>(QStringLiteral("EdtEndSortRow"))->text();
            // Letters and 0 count as 1: column 1 from row 1.
            dialog->findChild<QLineEdit *>(QStringLiteral("EdtSortColumn"))->setText(QStringLiteral("0"));
            dialog->findChild<QLineEdit *>(QStringLiteral("EdtSortRow"))->setText(QStringLiteral("x"));
            dialog->findChild<QRadioButton *>(QStringLiteral("RadSortDescending"))->setChecked(true);
            dialog->accept();
        });
        QVERIFY(w.child.sortData());
        QCOMPARE(proposed, QStringLiteral("4"));
        QVERIFY(!timerRunningWhileShown);
        QVERIFY(w.main.m_timerRunning);
        // Rows 1 to 4 descending, ignoring case; rows 5 and 6 stay.
        QCOMPARE(storedCells(table), "d,4|c,3|b,2|A,1|,z|e,0");
        QCOMPARE(w.grid->model()->index(0, 0).data().toString(), QStringLiteral("d"));
        QCOMPARE(storedGrid(table).barTexts().rows, "6");
        QVERIFY(w.child.isModified());

        // The fields kept their values; the end row is proposed afresh. An end row of
        // letters is row 1: nothing to sort, nothing changes.
        QString column;
        whenModal<SortDialog>([&](SortDialog *dialog) {
            column = dialog->findChild<QLineEdit *>(QStringLiteral("EdtSortColumn"))->text();
            proposed = dialog->findChild<QLineEdit *>(QStringLiteral("EdtEndSortRow"))->text();
            QVERIFY(dialog->findChild<QRadioButton *>(QStringLiteral("RadSortDescending"))->isChecked());
            dialog->findChild<QLineEdit *>(QStringLiteral("EdtEndSortRow"))->setText(QStringLiteral("abc"));
            dialog->accept();
        });
        const QByteArray before = storedCells(table);
        QVERIFY(!w.child.sortData());
        QCOMPARE(column, QStringLiteral("0"));
        QCOMPARE(proposed, QStringLiteral("4"));
        QCOMPARE(storedCells(table), before);

        // An end row far past the table sorts to its last row, never into the settings.
        whenModal<SortDialog>([&](SortDialog *dialog) {
            dialog->findChild<QLineEdit *>(QStringLiteral("EdtEndSortRow"))->setText(QStringLiteral("99999"));
            dialog->findChild<QRadioButton *>(QStringLiteral("RadSortAscending"))->setChecked(true);
            dialog->accept();
        });
        QVERIFY(w.child.sortData());
        QCOMPARE(storedCells(table), ",z|A,1|b,2|c,3|d,4|e,0");
        QCOMPARE(storedGrid(table).barTexts().columns, "2");

        // Cancelled: nothing changes.
        whenModal<SortDialog>([](SortDialog *dialog) { dialog->reject(); });
        QVERIFY(!w.child.sortData());
    }

    void aDamagedTableIsKeptUntilClearedOnPurpose()
    {
        Window w;
        ElementData damaged;
        damaged.setBlob("CLASS_TABLE V1.000VLB and then no table");
        ElementNode *table = add(w.child.tree(), nullptr, "Table", KindTable, damaged);
        w.child.selectElement(table);
        auto *reason = w.child.findChild<QLabel *>(QStringLiteral("LblTableDamaged"));
        QVERIFY(reason && reason->isVisible());
        QCOMPARE(reason->text(), QStringLiteral("This table could not be read; it is kept as stored"));

        // Typing, the boxes and the grid's other commands change nothing.
        w.grid->setFocus();
        w.select(0, 0);
        QTest::keyClicks(w.grid, QStringLiteral("x"));
        QVERIFY(!w.box("CbbTableColumns")->isEnabled());
        w.pop("PopTableInsertRow");
        QVERIFY(!w.child.action(QStringLiteral("PopSortData"))->isEnabled());
        QCOMPARE(table->data().Blob, damaged.Blob);
        QVERIFY(!w.child.isModified());

        // "Clear all" gives the stored bytes up on purpose: an empty table takes their place.
        w.pop("PopTableClear");
        QVERIFY(!reason->isVisible());
        TableGrid readBack;
        QVERIFY(TableStorage::loadTable(readBack, table->data()));
        QVERIFY(w.child.isModified());
        QVERIFY(w.grid->model()->flags(w.grid->model()->index(0, 0)) & Qt::ItemIsEditable);
        QVERIFY(w.child.action(QStringLiteral("PopSortData"))->isEnabled());
    }

    void csvImportOfManyRowsAndExport()
    {
        Window w;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("big.csv"));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QByteArray text;
            for (int r = 0; r < 100000; ++r) {
                text += "name" + QByteArray::number(r) + "; " + QByteArray::number(r * 7) + " ;x\r\n";
            }
            QVERIFY(file.write(text) == text.size());
        }
        ElementNode *table = add(w.child.tree(), nullptr, "Table", KindTable);
        w.child.selectElement(table);
        w.box("CbbTableWidth")->setCurrentText(QStringLiteral("80"));
        w.child.setModified(false);
        QVERIFY(w.child.importCsv(path));
        // The file ends with CR LF: one empty row more.
        QCOMPARE(w.grid->model()->rowCount(), 100001);
        QCOMPARE(w.grid->model()->columnCount(), 3);
        QCOMPARE(w.box("CbbTableRows")->currentText(), QStringLiteral("100001"));
        QCOMPARE(w.box("CbbTableWidth")->currentText(), QStringLiteral("80"));
        const TableGrid stored = storedGrid(table);
        QCOMPARE(stored.rowCount(), 100001);
        QCOMPARE(stored.cell(1, 99999), "699993");
        QCOMPARE(stored.cell(0, 12345), "name12345");
        QVERIFY(w.child.isModified());

        const QString out = dir.filePath(QStringLiteral("out.csv"));
        QVERIFY(w.child.exportCsv(out));
        QFile written(out);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readLine().startsWith("name0;0;x"));

        // A file that is not there, a folder that is not there: said, nothing changes.
        Answers answers;
        w.child.setModified(false);
        QVERIFY(!w.child.importCsv(dir.filePath(QStringLiteral("missing.csv"))));
        QVERIFY(!w.child.exportCsv(dir.filePath(QStringLiteral("no/such/folder.csv"))));
        QCOMPARE(answers.asked().size(), 2);
        QVERIFY(answers.texts().first().startsWith(QStringLiteral("The CSV file cannot be read: ")));
        QCOMPARE(w.grid->model()->rowCount(), 100001);
        QVERIFY(!w.child.isModified());
    }
};

VAULTBASE_TEST(WindowTableTest)
#include "WindowTableTest.moc"
