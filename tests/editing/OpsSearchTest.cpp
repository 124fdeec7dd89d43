#include "TestRegistry.h"

#include "OpsTestTrees.h"
#include "editing/ElementSearch.h"
#include "editing/TableGrid.h"
#include "editing/TableReplace.h"
#include "editing/TextSearch.h"
#include "document/TableElement.h"

#include <QTest>

using namespace vaultbase::test::ops;

namespace {

QByteArray tableStream(const QList<QList<QByteArray>> &rows, bool textForm = false)
{
    Table grid;
    grid.initSize(int(rows.value(0).size()), int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            grid.setCell(c, r, rows[r][c]);
        }
    }
    const QByteArray binary = TableElement::buildStream(TableElement::GridSettings(), grid);
    if (!textForm) {
        return binary;
    }
    Table stored;
    stored.readBinary(binary);
    return stored.writeText();
}

ElementData tableData(const QByteArray &stream)
{
    ElementData data = textData({});
    data.setBlob(stream);
    return data;
}

} // namespace

// Find text, find entry and replace in a table grid.
class OpsSearchTest : public QObject
{
    Q_OBJECT

    static qsizetype find(const QString &text, const QString &what, qsizetype selStart, qsizetype selLength,
                          bool down, bool matchCase = false, bool wholeWord = false)
    {
        return TextSearch::findText(text, what, TextSearch::startPosition(selStart, selLength),
                                    TextSearch::Options{down, matchCase, wholeWord});
    }

private slots:
    void findTextDownAndUpWithoutWrapping()
    {
        const QString text = QStringLiteral("foo bar Foo bar foo");
        // Down without a selection starts at the beginning, wherever the caret is.
        QCOMPARE(TextSearch::startPosition(12, 0), qsizetype(0));
        QCOMPARE(find(text, "foo", 12, 0, true), qsizetype(0));
        QCOMPARE(find(text, "foo", 0, 3, true), qsizetype(8));
        QCOMPARE(find(text, "foo", 8, 3, true), qsizetype(16));
        QCOMPARE(find(text, "foo", 16, 3, true), qsizetype(-1)); // the last one: no wrap
        // Up from a selected hit finds the one before it.
        QCOMPARE(find(text, "foo", 16, 3, false), qsizetype(8));
        QCOMPARE(find(text, "foo", 8, 3, false), qsizetype(0));
        QCOMPARE(find(text, "foo", 0, 3, false), qsizetype(-1));
        QCOMPARE(find(text, "foo", 5, 0, false), qsizetype(-1)); // no selection: from 0
        // Up from a selection that is no hit: hits ending L before its end count.
        QCOMPARE(find(text, "bar", 18, 1, false), qsizetype(12));
        QCOMPARE(find(text, "bar", 15, 1, false), qsizetype(4));
        // Overlapping hits up: the walk steps over each hit it takes.
        QCOMPARE(find(QStringLiteral("aaaaaa"), "aa", 6, 0, false), qsizetype(-1));
        QCOMPARE(find(QStringLiteral("aaaaaa"), "aa", 5, 1, false), qsizetype(2));
        QCOMPARE(find(text, "", 0, 0, true), qsizetype(-1));
        QCOMPARE(find(text, "foo bar Foo bar foo!", 0, 0, true), qsizetype(-1));
    }

    void findTextCaseAndWholeWords()
    {
        const QString text = QStringLiteral("Banking bank_1 BANK bank");
        QCOMPARE(find(text, "bank", 0, 0, true), qsizetype(0));
        QCOMPARE(find(text, "bank", 0, 0, true, true), qsizetype(8));
        QCOMPARE(find(text, "bank", 0, 0, true, false, true), qsizetype(15));   // "_" and digits join words
        QCOMPARE(find(text, "bank", 0, 0, true, true, true), qsizetype(20));
        QCOMPARE(find(text, "bank", 24, 0, false, false, true), qsizetype(-1)); // no selection: nothing before 0
        QCOMPARE(find(text, "bank", 20, 4, false, false, true), qsizetype(15));
        QCOMPARE(find(QStringLiteral("d\u00e9p\u00f4t-\u00e9t\u00e9"), QStringLiteral("\u00e9t\u00e9"), 0, 0, true,
                      false, true),
                 qsizetype(6));
        QVERIFY(TextSearch::isWordChar(QChar(u'\u00e9')));
        QVERIFY(!TextSearch::isWordChar(QChar(u'-')));
    }

    void findEntryFoldsAToZOnlyAndSkipsPasswords()
    {
        ElementTree tree;
        ElementNode *bank = add(tree, nullptr, "Bank", KindFolder);
        ElementNode *pin = add(tree, bank, "PIN", KindKey, textData("user", "secret", "Remark"));
        ElementNode *emile = add(tree, nullptr, "\xc9mile", KindEntry, textData("caf\xe9"));
        ElementNode *file = add(tree, nullptr, "scan.pdf", KindFile, textData("scan", "hidden.pdf"));
        ElementSearch::Options loose{true, false};
        ElementSearch::Options exact{true, true};
        using S = ElementSearch;
        auto matches = [](ElementNode *node, const QByteArray &text, bool matchCase) {
            return S::matches(*node, S::Pattern(text, matchCase));
        };
        QVERIFY(matches(bank, "bANK", false));
        QVERIFY(!matches(bank, "bANK", true));
        QVERIFY(matches(pin, "REMARK", false));
        QVERIFY(matches(pin, "USER", false));
        QVERIFY(matches(pin, "mark", true)); // at the very end
        QVERIFY(matches(pin, "Remark", true));
        QVERIFY(!matches(pin, "Remarks", true));
        QVERIFY(!matches(pin, "secret", false)); // the password
        QVERIFY(!matches(file, "hidden", false)); // the stored file name
        QVERIFY(matches(emile, "\xc9MILE", false));
        QVERIFY(!matches(emile, "\xe9mile", false)); // É and é are not folded
        QVERIFY(!matches(emile, "CAF\xc9", false));
        QVERIFY(matches(emile, "CAF\xe9", false));

        S search;
        search.startOver();
        QCOMPARE(search.findNext(bank, "bANK", loose), bank); // the first search includes the selection
        QCOMPARE(search.findNext(bank, "bANK", loose), nullptr);
        search.startOver();
        QCOMPARE(search.findNext(bank, "bANK", exact), nullptr);
        QCOMPARE(search.findNext(bank, "", loose), nullptr);
    }

    void findEntryWalksTheDisplayOrderWithoutWrapping()
    {
        ElementTree tree;
        ElementNode *a = add(tree, nullptr, "A match", KindFolder);
        ElementNode *a1 = add(tree, a, "a1", KindFolder);
        ElementNode *deep = add(tree, a1, "deep match", KindKey);
        ElementNode *b = add(tree, nullptr, "B", KindEntry, textData("match in content"));
        ElementNode *c = add(tree, nullptr, "C", KindEntry);
        ElementSearch search;
        ElementSearch::Options down{true, false};
        ElementSearch::Options up{false, false};
        search.startOver();
        QCOMPARE(search.findNext(a, "match", down), a);
        QCOMPARE(search.findNext(a, "match", down), deep);
        QCOMPARE(search.findNext(deep, "match", down), b);
        QCOMPARE(search.findNext(b, "match", down), nullptr);
        QCOMPARE(search.findNext(c, "match", up), b);
        QCOMPARE(search.findNext(b, "match", up), deep);
        QCOMPARE(search.findNext(deep, "match", up), a);
        QCOMPARE(search.findNext(a, "match", up), nullptr);
        QCOMPARE(ElementSearch::previousInOrder(b), deep);
        QCOMPARE(ElementSearch::nextInOrder(deep), b);
        QCOMPARE(ElementSearch::previousInOrder(a1), a);
    }

    void findEntryInTablesByNameOrWholeCell_data()
    {
        QTest::addColumn<bool>("textForm");
        QTest::newRow("binary") << false;
        QTest::newRow("text") << true;
    }

    void findEntryInTablesByNameOrWholeCell()
    {
        QFETCH(bool, textForm);
        ElementTree tree;
        ElementNode *accounts = add(tree, nullptr, "Accounts", KindTable,
                                    tableData(tableStream({{"x", "42"}, {"Some", "text"}}, textForm)));
        ElementNode *plain = add(tree, nullptr, "Plain", KindTable);
        auto matches = [](ElementNode *node, const QByteArray &text, bool matchCase) {
            return ElementSearch::matches(*node, ElementSearch::Pattern(text, matchCase));
        };
        QVERIFY(matches(accounts, "Acc", true));
        QVERIFY(matches(accounts, "aCC", false));
        QVERIFY(matches(accounts, "42", false));
        QVERIFY(!matches(accounts, "4", false));
        QVERIFY(!matches(accounts, "some", false)); // cells: exact and case-sensitive
        QVERIFY(matches(accounts, "Some", false));
        QVERIFY(matches(accounts, "60", false)); // the width in the settings rows
        QVERIFY(!matches(plain, "5", false));    // a table never stored has no cells

        // Cut inside its last cell: the cells before the damage are searched, safely.
        const QByteArray whole = tableStream({{"42"}, {"a long text that is cut"}});
        tree.replaceData(plain, tableData(whole.first(whole.size() - 12)));
        QVERIFY(matches(plain, "42", false));
        QVERIFY(!matches(plain, "a long text that is cut", false));
    }

    void replaceWalkInAColumn()
    {
        TableGrid grid;
        grid.resize(2, 8);
        grid.setCell(0, 2, "find me");
        grid.setCell(0, 5, "me too");
        grid.setCell(1, 3, "me, not in the column");
        TableReplace replace;
        replace.open(0, 0, false);
        using Cell = TableReplace::Cell;
        QCOMPARE(replace.find(grid, "me"), std::optional(Cell{0, 2}));
        QCOMPARE(replace.row(), 3);
        QCOMPARE(replace.find(grid, "me"), std::optional(Cell{0, 5}));
        QCOMPARE(replace.find(grid, "me"), std::nullopt);
        QCOMPARE(replace.row(), 7);
        QCOMPARE(replace.find(grid, "me"), std::nullopt);
        QCOMPARE(replace.row(), 0); // past the end
        QCOMPARE(replace.find(grid, "me"), std::optional(Cell{0, 2}));
        QCOMPARE(replace.find(grid, "Me"), std::nullopt); // case-sensitive
    }

    void replaceAndReplaceAllInARow()
    {
        TableGrid grid;
        grid.resize(4, 3);
        grid.setCell(0, 1, "a-a");
        grid.setCell(2, 1, "xa");
        grid.setCell(3, 1, "A");
        grid.setCell(2, 0, "a, another row");
        TableReplace replace;
        replace.open(-3, 1, true);
        QCOMPARE(replace.column(), 0);
        TableReplace::Replaced first = replace.replace(grid, "a", "bb");
        QCOMPARE(first.found, std::optional(TableReplace::Cell{0, 1}));
        QVERIFY(first.changed);
        QCOMPARE(grid.cell(0, 1), QByteArray("bb-bb"));
        QCOMPARE(grid.cell(2, 1), QByteArray("xa")); // one cell at a time
        QCOMPARE(replace.column(), 1);
        QVERIFY(!replace.replace(grid, "zz", "y").changed);

        QCOMPARE(replace.replaceAll(grid, "b", "a"), 1);
        QCOMPARE(grid.cell(0, 1), QByteArray("aa-aa"));
        QCOMPARE(replace.replaceAll(grid, "a", "c"), 2);
        QCOMPARE(grid.cell(2, 1), QByteArray("xc"));
        QCOMPARE(grid.cell(3, 1), QByteArray("A"));
        QCOMPARE(grid.cell(2, 0), QByteArray("a, another row"));
        QCOMPARE(replace.replaceAll(grid, "", "q"), 0);
        QCOMPARE(replace.replaceAll(grid, "c", "c"), 0); // no change, nothing to store
    }
};

VAULTBASE_TEST(OpsSearchTest)
#include "OpsSearchTest.moc"
