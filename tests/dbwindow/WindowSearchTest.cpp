#include "TestRegistry.h"

#include "FakeMainServices.h"
#include "editing/OpsTestTrees.h"
#include "editing/TableTestGrids.h"
#include "editing/ElementTreeModel.h"
#include "dbwindow/ElementTreeView.h"
#include "dbwindow/FindDialog.h"
#include "dbwindow/ReplaceDialog.h"
#include "dbwindow/RichTextEdit.h"
#include "dbwindow/TablePanel.h"
#include "editing/TableStorage.h"
#include "document/TableElement.h"

#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QTextCursor>

using namespace dbwindowtest;
using namespace vaultbase::test::ops;

namespace {

QPair<int, int> selectionOf(const RichTextEdit *editor)
{
    const QTextCursor cursor = editor->textCursor();
    return {cursor.selectionStart(), cursor.selectionEnd()};
}

} // namespace

// Find text, find entry and replace in a table, as the window runs them.
class WindowSearchTest : public QObject
{
    Q_OBJECT

private slots:
    void findTextGoesDownThenUpAndNeverWraps()
    {
        FakeMainServices main;
        main.m_settings.richText = false;
        DatabaseWindow child(main);
        ElementNode *entry = add(child.tree(), nullptr, "Entry", KindEntry, textData("Alpha beta alpha alphabet"));
        child.selectElement(entry);
        Answers answers;
        child.action(QStringLiteral("MenFind"))->trigger();
        FindDialog *dialog = child.findDialog();
        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->isModal());
        dialog->setFindText(QStringLiteral("alpha"));
        auto *editor = child.findChild<RichTextEdit *>(QStringLiteral("RdtText"));

        // No selection: from the very beginning, not the caret.
        editor->moveCursor(QTextCursor::End);
        dialog->findButton()->click();
        QCOMPARE(selectionOf(editor), qMakePair(0, 5));
        QVERIFY(child.findText());
        QCOMPARE(selectionOf(editor), qMakePair(11, 16));
        // F3 goes on with the dialog's text and options.
        child.action(QStringLiteral("MenFindNext"))->trigger();
        QCOMPARE(selectionOf(editor), qMakePair(17, 22));
        QVERIFY(answers.asked().isEmpty());
        QVERIFY(!child.findText());
        QCOMPARE(answers.texts(), QStringList{QStringLiteral("Search string not found: alpha")});
        QCOMPARE(selectionOf(editor), qMakePair(17, 22));

        // Whole words only, up from the last one: the one before it.
        dialog->findChild<QCheckBox *>(QStringLiteral("ChkWholeWord"))->setChecked(true);
        dialog->setDown(false);
        QVERIFY(child.findText());
        QCOMPARE(selectionOf(editor), qMakePair(11, 16));
        // Match case: "Alpha" at 0 is not "alpha".
        dialog->findChild<QCheckBox *>(QStringLiteral("ChkMatchCase"))->setChecked(true);
        QVERIFY(!child.findText());

        // Closed and opened again, the dialog keeps its text and options.
        dialog->close();
        child.openFind();
        QCOMPARE(dialog->findText(), QStringLiteral("alpha"));
        QVERIFY(dialog->matchCase());
        QVERIFY(!dialog->down());
        QVERIFY(!child.isModified());
    }

    void findWhileAKeyOrATableShowsSaysSo()
    {
        FakeMainServices main;
        DatabaseWindow child(main);
        ElementNode *key = add(child.tree(), nullptr, "Key", KindKey, textData("user", "alpha", "alpha"));
        ElementNode *table = add(child.tree(), nullptr, "Table", KindTable, tableData({}, {{"alpha"}}));
        Answers answers;
        for (ElementNode *node : {key, table}) {
            child.selectElement(node);
            child.action(QStringLiteral("MenFind"))->trigger();
            child.findDialog()->setFindText(QStringLiteral("alpha"));
            child.action(QStringLiteral("MenFindNext"))->trigger();
        }
        const QString message = QStringLiteral("No search within key!");
        QCOMPARE(answers.texts(), QStringList({message, message, message, message}));
        QVERIFY(!child.findDialog()->isVisible());
        // Locked: not even the message.
        main.m_locked = true;
        child.lockViews();
        child.action(QStringLiteral("MenFindNext"))->trigger();
        QCOMPARE(answers.asked().size(), 4);
    }

    void findEntryExpandsAndSelectsAndReportsAMiss()
    {
        FakeMainServices main;
        DatabaseWindow child(main);
        child.show();
        ElementTree &tree = child.tree();
        ElementNode *bank = add(tree, nullptr, "Bank", KindFolder);
        ElementNode *cards = add(tree, bank, "Cards", KindFolder);
        ElementNode *visa = add(tree, cards, "Visa", KindKey, textData("card-user", "secret-pin"));
        add(tree, visa->parent(), "Other", KindFolder);
        ElementNode *deeper = add(tree, cards, "Deeper", KindFolder);
        add(tree, deeper, "Leaf", KindEntry);
        ElementNode *accounts = add(tree, nullptr, "Zeta", KindTable, tableData({}, {{"42", "x"}}));
        auto *view = child.findChild<ElementTreeView *>(QStringLiteral("TrvTree"));
        Answers answers;

        // Nothing selected: the first element is selected, and the first search examines it.
        child.action(QStringLiteral("MenFindEntry"))->trigger();
        QCOMPARE(child.selectedElement(), bank);
        FindDialog *dialog = child.findEntryDialog();
        QVERIFY(dialog->isVisible());
        QVERIFY(dialog->findChild<QCheckBox *>(QStringLiteral("ChkWholeWord"))->isHidden());
        dialog->setFindText(QStringLiteral("bANK"));
        QCOMPARE(child.findEntry(), bank);

        // A match deep inside collapsed folders is shown with its branch open.
        // Finding Bank opened all it holds; start again from closed folders.
        view->collapseAll();
        dialog->setFindText(QStringLiteral("card-u"));
        QVERIFY(!view->isExpanded(view->elementModel()->indexOf(cards)));
        QCOMPARE(child.findEntry(), visa);
        QCOMPARE(child.selectedElement(), visa);
        QVERIFY(view->isExpanded(view->elementModel()->indexOf(cards)));
        QCOMPARE(child.editorKind(), int(KindKey));
        // A folder found opens with all it holds.
        child.selectElement(bank);
        child.openFindEntry();
        dialog->setFindText(QStringLiteral("Deeper"));
        QCOMPARE(child.findEntry(), deeper);
        QVERIFY(view->isExpanded(view->elementModel()->indexOf(deeper)));

        // Passwords are never searched; a table's cell must match whole.
        dialog->setFindText(QStringLiteral("secret"));
        child.selectElement(bank);
        child.openFindEntry();
        QCOMPARE(child.findEntry(), nullptr);
        QCOMPARE(answers.texts().last(), QStringLiteral("No matching entry found: secret"));
        dialog->setFindText(QStringLiteral("4"));
        child.openFindEntry();
        QCOMPARE(child.findEntry(), nullptr);
        dialog->setFindText(QStringLiteral("42"));
        child.action(QStringLiteral("MenFindNextEntry"))->trigger();
        QCOMPARE(child.selectedElement(), accounts);
        // No wrap-around: from the last element on nothing more is found.
        QCOMPARE(child.findEntry(), nullptr);
        QCOMPARE(child.selectedElement(), accounts);
        // Up from there finds Visa's key again by its user name.
        dialog->setDown(false);
        dialog->setFindText(QStringLiteral("card-u"));
        QCOMPARE(child.findEntry(), visa);
        QVERIFY(!child.isModified());
    }

    void replaceInAColumnWalksAndStores()
    {
        FakeMainServices main;
        DatabaseWindow child(main);
        child.resize(500, 150);
        child.show();
        QVERIFY(QTest::qWaitForWindowExposed(&child));
        QList<QList<QByteArray>> rows;
        for (int r = 0; r < 8; ++r) {
            rows.append({r == 2 || r == 5 ? QByteArray("a-x-x") : QByteArray("a"), QByteArray("x")});
        }
        ElementNode *table = add(child.tree(), nullptr, "Table", KindTable, tableData({"2", "8", "60"}, rows));
        child.selectElement(table);
        auto *grid = child.findChild<QTableView *>(QStringLiteral("StgTable"));
        // Tall rows, so that only a few show and the found row can be scrolled to the top.
        grid->verticalHeader()->setMinimumSectionSize(grid->viewport()->height() / 3);
        grid->verticalHeader()->setDefaultSectionSize(grid->viewport()->height() / 3);
        QTRY_VERIFY(grid->verticalScrollBar()->maximum() >= 5);
        grid->setCurrentIndex(grid->model()->index(0, 0));
        child.action(QStringLiteral("PopReplaceInColumn"))->trigger();
        ReplaceDialog *dialog = child.replaceDialog();
        QVERIFY(dialog->isVisible());
        dialog->setTexts(QStringLiteral("x"), QStringLiteral("yy"));

        // Found in rows 2 and 5; then the start moves on to 7, past the end to 0, and row 2 again.
        QVERIFY(child.replaceFind());
        QCOMPARE(grid->verticalScrollBar()->value(), 2);
        QCOMPARE(grid->selectionModel()->selectedIndexes(), QModelIndexList{grid->model()->index(2, 0)});
        QVERIFY(child.replaceFind());
        QCOMPARE(grid->verticalScrollBar()->value(), 5);
        QVERIFY(!child.replaceFind());
        QVERIFY(!child.replaceFind());
        QVERIFY(child.replaceFind());
        QCOMPARE(grid->verticalScrollBar()->value(), 2);
        QVERIFY(!child.isModified());

        // Replace finds the next one (row 5) and changes every occurrence in it.
        QVERIFY(child.replaceOne());
        QCOMPARE(grid->model()->index(5, 0).data().toString(), QStringLiteral("a-yy-yy"));
        QCOMPARE(storedGrid(table).cell(0, 5), "a-yy-yy");
        QCOMPARE(storedGrid(table).cell(0, 2), "a-x-x");
        QVERIFY(child.isModified());
        // Replace All in the column, not in the other one.
        QCOMPARE(child.replaceAll(), 1);
        QCOMPARE(storedGrid(table).cell(0, 2), "a-yy-yy");
        QCOMPARE(storedGrid(table).cell(1, 2), "x");
        QCOMPARE(child.replaceAll(), 0);
        // The settings rows are not cells of the grid.
        QCOMPARE(storedGrid(table).barTexts().rows, "8");

        // In a row, from the selection's top-left cell.
        grid->setCurrentIndex(grid->model()->index(3, 0));
        child.openReplace(true);
        dialog->setTexts(QStringLiteral("x"), QStringLiteral("z"));
        QVERIFY(child.replaceOne());
        QCOMPARE(storedGrid(table).cell(1, 3), "z");
        QCOMPARE(storedGrid(table).cell(1, 4), "x");
    }
};

VAULTBASE_TEST(WindowSearchTest)
#include "WindowSearchTest.moc"
