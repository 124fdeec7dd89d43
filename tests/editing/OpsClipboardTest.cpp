#include "TestRegistry.h"

#include "OpsTestTrees.h"
#include "editing/ElementClipboard.h"
#include "editing/ElementDrop.h"
#include "editing/TreeKeys.h"
#include "document/ClipboardFormat.h"

#include <QMimeData>
#include <QTest>

#include <memory>

using namespace vaultbase::test::ops;
namespace Clip = ElementClipboard;

Q_DECLARE_METATYPE(TreeKeys::Command)

// Copy, cut and paste of subtrees, drag and drop, and the tree's keys, without a window.
class OpsClipboardTest : public QObject
{
    Q_OBJECT

    // Web (folder): Login (key), Sub (folder): Deep (key); Bank (folder): Card (key);
    // Notes (entry) at the top level.
    // levels folders, each inside the one before, below parent; the deepest one.
    static ElementNode *chain(ElementTree &tree, ElementNode *parent, int levels)
    {
        for (int i = 0; i < levels; ++i) {
            parent = add(tree, parent, "f" + QByteArray::number(tree.count()), KindFolder);
        }
        return parent;
    }

    struct Sample {
        ElementTree tree;
        ElementNode *web, *login, *sub, *deep, *bank, *card, *notes;
        Sample()
        {
            web = add(tree, nullptr, "Web", KindFolder, textData("web folder"));
            login = add(tree, web, "Login", KindKey, textData("me", "pw1", "remark"));
            sub = add(tree, web, "Sub", KindFolder);
            deep = add(tree, sub, "Deep", KindKey, textData("deep", "pw2"));
            bank = add(tree, nullptr, "Bank", KindFolder);
            card = add(tree, bank, "Card", KindKey, textData("4711", "1234"));
            notes = add(tree, nullptr, "Notes", KindEntry, textData("text"));
        }
    };

private slots:
    void blockIsTheSubtreeStreamAloneUnderOurType()
    {
        Sample s;
        const QByteArray block = Clip::buildBlock(s.tree, s.web);
        TreeTable table;
        QVERIFY(table.readBinary(block));
        QCOMPARE(table.rowCount(), 4);
        QCOMPARE(table.getCell(0, 0), QByteArray("Web")); // the copied element's bare name
        QCOMPARE(table.getCell(0, 3), QByteArray("Web<>Sub<>Deep<>"));
        QVERIFY(Clip::buildBlock(s.tree, nullptr).isEmpty());

        std::unique_ptr<QMimeData> alone(Clip::makeMimeData(block));
        QCOMPARE(alone->formats(), QStringList{QString::fromLatin1(ClipboardFormat::MimeType)});
        QVERIFY(!alone->hasText());
        QCOMPARE(Clip::readBlock(alone.get()), std::optional<QByteArray>(block));
        QVERIFY(Clip::holdsBlock(alone.get(), block));
        QVERIFY(!Clip::holdsBlock(alone.get(), Clip::buildBlock(s.tree, s.bank)));

        // Added beside what the clipboard held, which stays.
        QMimeData held;
        held.setText(QStringLiteral("copied password"));
        held.setData(QString::fromLatin1(ClipboardFormat::MimeType), "an older block");
        std::unique_ptr<QMimeData> beside(Clip::makeMimeData(block, &held));
        QCOMPARE(beside->text(), QStringLiteral("copied password"));
        QCOMPARE(Clip::readBlock(beside.get()), std::optional<QByteArray>(block));

        QMimeData other;
        other.setText(QStringLiteral("no block"));
        QVERIFY(!Clip::readBlock(&other));
        QVERIFY(!Clip::readBlock(nullptr));
    }

    void copiedKeyPastedBesideSelectedKeyGetsSuffix()
    {
        Sample s;
        add(s.tree, s.bank, "Login", KindKey, textData("other", "other pw"));
        const QByteArray block = Clip::buildBlock(s.tree, s.login);

        Clip::PasteResult first = Clip::pasteBlock(s.tree, s.card, block);
        QVERIFY(first);
        QCOMPARE(first.pasted->name(), QByteArray("Login0"));
        QCOMPARE(first.pasted->parent(), s.bank);
        QCOMPARE(first.pasted->data(), s.login->data());
        QCOMPARE(first.added, 1);
        QCOMPARE(s.tree.findChild(s.bank, "Login")->data().Content, QByteArray("other")); // not overwritten

        Clip::PasteResult second = Clip::pasteBlock(s.tree, s.card, block);
        QCOMPARE(second.pasted->name(), QByteArray("Login1"));
        QCOMPARE(childNames(s.tree, s.bank), QByteArray("Card|Login|Login0|Login1"));

        // Beside a selected key at the top level: the top level.
        Clip::PasteResult top = Clip::pasteBlock(s.tree, s.notes, block);
        QCOMPARE(top.pasted->parent(), nullptr);
        QCOMPARE(top.pasted->name(), QByteArray("Login"));
    }

    void folderPastedIntoFolderArrivesWholeNeverMerged()
    {
        Sample s;
        // Bank already holds a folder Web with a key of its own.
        ElementNode *oldWeb = add(s.tree, s.bank, "Web", KindFolder, textData("old web"));
        add(s.tree, oldWeb, "Login", KindKey, textData("keep", "keep pw"));
        const QByteArray before = Clip::buildBlock(s.tree, oldWeb);

        Clip::PasteResult result = Clip::pasteBlock(s.tree, s.bank, Clip::buildBlock(s.tree, s.web));
        QVERIFY(result);
        QCOMPARE(result.added, 4);
        ElementNode *pasted = result.pasted;
        QCOMPARE(pasted->name(), QByteArray("Web0"));
        QCOMPARE(pasted->parent(), s.bank);
        QCOMPARE(childNames(s.tree, pasted), QByteArray("Login|Sub"));
        ElementNode *deep = s.tree.findPath({"Bank", "Web0", "Sub", "Deep"});
        QVERIFY(deep);
        QCOMPARE(deep->data(), s.deep->data());
        QCOMPARE(deep->kind(), qint32(KindKey));
        QCOMPARE(pasted->data().Content, QByteArray("web folder"));
        // The folder that was there is as it was, and nothing spilled to the top level.
        QCOMPARE(Clip::buildBlock(s.tree, oldWeb), before);
        QCOMPARE(childNames(s.tree, nullptr), QByteArray("Bank|Notes|Web"));
        QCOMPARE(s.tree.count(), 7 + 2 + 4);
    }

    void pasteWithoutSelectionAndIntoAnEmptyTree()
    {
        Sample s;
        const QByteArray block = Clip::buildBlock(s.tree, s.web);
        Clip::PasteResult top = Clip::pasteBlock(s.tree, nullptr, block);
        QCOMPARE(top.pasted->name(), QByteArray("Web0"));
        QCOMPARE(top.pasted->parent(), nullptr);
        QVERIFY(!top.treeWasEmpty);

        ElementTree empty;
        Clip::PasteResult first = Clip::pasteBlock(empty, nullptr, block);
        QVERIFY(first.treeWasEmpty);
        QCOMPARE(first.pasted, empty.firstRoot());
        QCOMPARE(empty.count(), 4);
    }

    void textFormBlockAndBlobsArriveInAnotherTree()
    {
        Sample s;
        ElementData file = textData("description", "photo.jpg");
        file.setBlob(QByteArray("\x00\xff\x10", 3));
        add(s.tree, s.web, "photo.jpg", KindFile, file);
        TreeTable table;
        QVERIFY(table.exportTree(s.tree, s.web));
        const QByteArray textBlock = table.writeText();

        ElementTree other;
        ElementNode *folder = add(other, nullptr, "Target", KindFolder);
        Clip::PasteResult result = Clip::pasteBlock(other, folder, textBlock);
        QVERIFY(result);
        ElementNode *photo = other.findPath({"Target", "Web", "photo.jpg"});
        QVERIFY(photo);
        QCOMPARE(photo->data(), file);
        QCOMPARE(photo->kind(), qint32(KindFile));
    }

    void blockThatDoesNotReadChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("block");
        Sample s;
        const QByteArray good = Clip::buildBlock(s.tree, s.web);
        Table fiveColumns;
        fiveColumns.initSize(5, 2);
        fiveColumns.setCell(0, 0, "Web");
        Table noRows;
        noRows.initSize(10, 0);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("text of another program") << QByteArray("Hello, clipboard");
        QTest::newRow("cut short") << good.first(good.size() - 7);
        QTest::newRow("header only") << good.first(Table::BinaryHeaderSize);
        QTest::newRow("not an element table") << fiveColumns.writeBinary();
        QTest::newRow("no rows") << noRows.writeBinary();
        QTest::newRow("broken text form") << QByteArray("<CLASS_TABLE_ROWS>2</CLASS_TABLE_ROWS>"
                                                        "<CLASS_TABLE_COLUMNS>10</CLASS_TABLE_COLUMNS>"
                                                        " <CLASS_TABLE_ROW><CLASS_TABLE_COLUMN>X");
        QByteArray lying = good;
        lying[2060] = char(0x7f); // claims far more rows than it holds
        QTest::newRow("row count too large") << lying;
    }

    void blockThatDoesNotReadChangesNothing()
    {
        QFETCH(QByteArray, block);
        Sample s;
        const QByteArray before = snapshot(s.tree);
        for (ElementNode *selected : {static_cast<ElementNode *>(nullptr), s.bank, s.card}) {
            QVERIFY(!Clip::pasteBlock(s.tree, selected, block));
            QCOMPARE(snapshot(s.tree), before);
        }
        QVERIFY(!Clip::readBlockTree(block));
    }

    // Nothing arrives nested deeper than a database may be: a paste or a move of 401
    // levels into a folder on level 600 is refused with its reason, one level higher fits.
    void nestingBeyondTheLimitIsRefused()
    {
        ElementTree tree;
        ElementNode *level600 = chain(tree, nullptr, 600);
        ElementNode *tall = chain(tree, nullptr, 401);
        while (tall->parent()) {
            tall = tall->parent();
        }
        const QByteArray block = Clip::buildBlock(tree, tall);
        const Clip::PasteResult refused = Clip::pasteBlock(tree, level600, block);
        QVERIFY(!refused);
        QVERIFY(refused.tooDeep);
        bool tooDeep = false;
        QVERIFY(!ElementDrop::moveWithinTree(tree, tall, level600, &tooDeep));
        QVERIFY(tooDeep);
        QCOMPARE(tree.count(), 1001);
        QVERIFY(Clip::pasteBlock(tree, level600->parent(), block));
        QCOMPARE(tree.heightOf(nullptr), ElementTree::MaxDepth);

        // A block deeper than the limit by itself does not read.
        ElementTree deep;
        chain(deep, nullptr, ElementTree::MaxDepth + 1);
        QVERIFY(!Clip::readBlockTree(Clip::buildBlock(deep, deep.firstRoot()), &tooDeep));
        QVERIFY(tooDeep);
    }

    void cutDeletesOnlyWhatReachedItsPlace()
    {
        Sample s;
        QByteArray placed;
        const QByteArray before = snapshot(s.tree);
        QVERIFY(!Clip::cutElement(s.tree, s.web, [&](const QByteArray &block) {
            placed = block;
            return false; // the clipboard did not take it
        }));
        QCOMPARE(snapshot(s.tree), before);
        QCOMPARE(placed, Clip::buildBlock(s.tree, s.web));

        int calls = 0;
        QVERIFY(!Clip::cutElement(s.tree, nullptr, [&](const QByteArray &) { return ++calls > 0; }));
        QCOMPARE(calls, 0);

        QVERIFY(Clip::cutElement(s.tree, s.web, [&](const QByteArray &block) { return block == placed; }));
        QVERIFY(!s.tree.findChild(nullptr, "Web"));
        QCOMPARE(s.tree.count(), 3);
        // What was cut pastes back whole.
        QCOMPARE(Clip::pasteBlock(s.tree, nullptr, placed).added, 4);
        QCOMPARE(snapshot(s.tree), before);
    }

    void dropDecisions()
    {
        using ElementDrop::Mode;
        using ElementDrop::Verdict;
        Sample s;
        QCOMPARE(ElementDrop::decide(s.web, s.deep, Mode::Move, true), Verdict::Refuse);
        QCOMPARE(ElementDrop::decide(s.web, s.sub, Mode::Move, true), Verdict::Refuse);
        QCOMPARE(ElementDrop::decide(s.web, s.web, Mode::Move, true), Verdict::Refuse);
        QCOMPARE(ElementDrop::decide(s.web, s.web, Mode::Copy, true), Verdict::Paste);
        QCOMPARE(ElementDrop::decide(s.web, s.deep, Mode::Copy, true), Verdict::Paste);
        QCOMPARE(ElementDrop::decide(s.login, s.bank, Mode::Move, true), Verdict::MoveWithinTree);
        QCOMPARE(ElementDrop::decide(s.login, nullptr, Mode::Move, true), Verdict::MoveWithinTree);
        QCOMPARE(ElementDrop::decide(nullptr, s.bank, Mode::Move, false), Verdict::Paste);

        QCOMPARE(ElementDrop::modeFor(Qt::ShiftModifier), std::optional(Mode::Copy));
        QCOMPARE(ElementDrop::modeFor(Qt::ShiftModifier | Qt::ControlModifier), std::optional(Mode::Copy));
        QCOMPARE(ElementDrop::modeFor(Qt::ControlModifier), std::optional(Mode::Move));
        QCOMPARE(ElementDrop::modeFor(Qt::AltModifier), std::nullopt);
    }

    void copyingDropOfAKeyOnItselfPutsACopyBesideIt()
    {
        Sample s;
        Clip::PasteResult copy = Clip::pasteBlock(s.tree, s.login, Clip::buildBlock(s.tree, s.login));
        QCOMPARE(copy.pasted->name(), QByteArray("Login0"));
        QCOMPARE(childNames(s.tree, s.web), QByteArray("Login|Login0|Sub"));
    }

    void movingDrops()
    {
        Sample s;
        const QByteArray before = snapshot(s.tree);
        QVERIFY(!ElementDrop::moveWithinTree(s.tree, s.web, s.deep));
        QVERIFY(!ElementDrop::moveWithinTree(s.tree, s.web, s.web));
        QCOMPARE(snapshot(s.tree), before);
        // Dropped beside a sibling or on its own folder, it stays where it is, name and all.
        QCOMPARE(ElementDrop::moveWithinTree(s.tree, s.sub, s.login), s.sub);
        QCOMPARE(ElementDrop::moveWithinTree(s.tree, s.login, s.web), s.login);
        QCOMPARE(snapshot(s.tree), before);

        const ElementData subData = s.sub->data();
        ElementNode *moved = ElementDrop::moveWithinTree(s.tree, s.sub, s.card);
        QVERIFY(moved);
        QCOMPARE(moved->parent(), s.bank);
        QCOMPARE(moved->data(), subData);
        QCOMPARE(childNames(s.tree, s.web), QByteArray("Login"));
        QCOMPARE(childNames(s.tree, moved), QByteArray("Deep"));
        QCOMPARE(s.tree.count(), 7);

        // To the top level, where a name is taken.
        ElementNode *card = s.tree.findChild(s.bank, "Card");
        add(s.tree, nullptr, "Card", KindEntry);
        ElementNode *top = ElementDrop::moveWithinTree(s.tree, card, nullptr);
        QCOMPARE(top->name(), QByteArray("Card0"));
        QCOMPARE(top->parent(), nullptr);
        QCOMPARE(childNames(s.tree, s.bank), QByteArray("Sub"));
    }

    void treeKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("editing");
        QTest::addColumn<TreeKeys::Command>("command");
        const int ctrl = Qt::ControlModifier;
        const int shift = Qt::ShiftModifier;
        using C = TreeKeys::Command;
        QTest::newRow("Ctrl+C") << int(Qt::Key_C) << ctrl << false << C::Copy;
        QTest::newRow("Ctrl+X") << int(Qt::Key_X) << ctrl << false << C::Cut;
        QTest::newRow("Ctrl+V") << int(Qt::Key_V) << ctrl << false << C::Paste;
        QTest::newRow("Ctrl+V keypad") << int(Qt::Key_V) << (ctrl | int(Qt::KeypadModifier)) << false << C::Paste;
        QTest::newRow("Ctrl+Shift+C") << int(Qt::Key_C) << (ctrl | shift) << false << C::None;
        QTest::newRow("C") << int(Qt::Key_C) << 0 << false << C::None;
        QTest::newRow("Del") << int(Qt::Key_Delete) << 0 << false << C::Delete;
        QTest::newRow("Shift+Del") << int(Qt::Key_Delete) << shift << false << C::None;
        QTest::newRow("Ctrl+Del") << int(Qt::Key_Delete) << ctrl << false << C::None;
        QTest::newRow("Del while editing") << int(Qt::Key_Delete) << 0 << true << C::None;
        QTest::newRow("Ctrl+C while editing") << int(Qt::Key_C) << ctrl << true << C::None;
    }

    void treeKeys()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, editing);
        QFETCH(TreeKeys::Command, command);
        QCOMPARE(TreeKeys::commandFor(key, Qt::KeyboardModifiers(modifiers), editing), command);
    }
};

VAULTBASE_TEST(OpsClipboardTest)
#include "OpsClipboardTest.moc"
