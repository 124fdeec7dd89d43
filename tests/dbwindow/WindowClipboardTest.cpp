#include "TestRegistry.h"

#include "FakeMainServices.h"
#include "editing/OpsTestTrees.h"
#include "editing/ElementClipboard.h"
#include "dbwindow/ElementClipboardUi.h"
#include "editing/ElementDrop.h"
#include "editing/ElementTreeModel.h"
#include "dbwindow/ChildActions.h"
#include "dbwindow/ElementTreeView.h"
#include "document/ClipboardFormat.h"
#include "document/Table.h"

#include <QAction>
#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

#include <memory>

using namespace dbwindowtest;
using namespace vaultbase::test::ops;

namespace {

QString mimeType()
{
    return QString::fromLatin1(ClipboardFormat::MimeType);
}

bool clipboardHoldsElements()
{
    return ElementClipboardUi::clipboardBlock().has_value();
}

void putOnClipboard(const QByteArray &data, const QString &text = {})
{
    auto *mime = new QMimeData;
    if (!data.isNull()) {
        mime->setData(mimeType(), data);
    }
    if (!text.isEmpty()) {
        mime->setText(text);
    }
    QGuiApplication::clipboard()->setMimeData(mime);
}

ElementTreeView *treeOf(DatabaseWindow &child)
{
    return child.findChild<ElementTreeView *>(QStringLiteral("TrvTree"));
}

// Folder (Login key, Sub folder holding Deep key), Bank folder, Notes entry.
struct Sample
{
    ElementNode *web, *login, *sub, *deep, *bank, *notes;
    explicit Sample(ElementTree &tree)
    {
        web = add(tree, nullptr, "Web", KindFolder, textData("web"));
        login = add(tree, web, "Login", KindKey, textData("me", "pw1", "remark"));
        sub = add(tree, web, "Sub", KindFolder);
        deep = add(tree, sub, "Deep", KindKey, textData("deep", "pw2"));
        bank = add(tree, nullptr, "Bank", KindFolder);
        notes = add(tree, nullptr, "Notes", KindEntry, textData("text"));
    }
};

} // namespace

// Cut, copy and paste of elements through the system clipboard, the tree's keys, and
// drops inside a window and between two windows.
class WindowClipboardTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QGuiApplication::clipboard()->clear(); }

    void cutAsksNoQuestionAndKeepsWhatTheClipboardHeld()
    {
        FakeMainServices main;
        DatabaseWindow child(main);
        Sample s(child.tree());
        Answers answers(MessageBox::Button::Yes);
        putOnClipboard(QByteArray(), QStringLiteral("typed before"));

        child.selectElement(s.login);
        child.action(QStringLiteral("MenCutEntry"))->trigger();
        QVERIFY(answers.asked().isEmpty());
        QCOMPARE(childNames(child.tree(), s.web), "Sub");
        QVERIFY(child.isModified());
        // The block stands beside the text, which stays.
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("typed before"));
        const std::unique_ptr<ElementTree> cut = ElementClipboard::readBlockTree(*ElementClipboardUi::clipboardBlock());
        QVERIFY(cut);
        QCOMPARE(cut->firstRoot()->name(), "Login");
        QCOMPARE(cut->firstRoot()->data().Detail, "pw1");
        // The next element is selected and shown.
        QCOMPARE(child.selectedElement(), s.sub);

        // Delete asks, and No keeps the element.
        answers.setAnswer(MessageBox::Button::No);
        child.selectElement(s.notes);
        QVERIFY(!child.deleteSelected());
        QCOMPARE(answers.texts(), QStringList{QStringLiteral("Are you sure to delete 'Notes'?")});
        QCOMPARE(child.tree().count(), 5);

        // Locked: nothing is cut.
        main.m_locked = true;
        child.lockViews();
        child.actions().MenCutEntry->trigger();
        QCOMPARE(child.tree().count(), 5);
    }

    void treeKeysCopyCutAndPasteButNotWithShiftOrWhileEditing()
    {
        FakeMainServices main;
        DatabaseWindow child(main);
        child.show();
        QVERIFY(QTest::qWaitForWindowExposed(&child));
        Sample s(child.tree());
        ElementTreeView *tree = treeOf(child);
        child.selectElement(s.notes);
        tree->setFocus();

        putOnClipboard(QByteArray(), QStringLiteral("before"));
        QTest::keyClick(tree, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(!clipboardHoldsElements());
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
        QVERIFY(!child.isModified());

        // While the name is edited, Ctrl+C and Del belong to the name.
        QVERIFY(tree->editName(s.notes));
        QTest::keyClick(tree, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(tree, Qt::Key_Delete);
        QVERIFY(!clipboardHoldsElements());
        QCOMPARE(child.tree().count(), 6);
        QTest::keyClick(tree->focusWidget(), Qt::Key_Escape);
        QVERIFY(!tree->isEditingName());

        QTest::keyClick(tree, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(clipboardHoldsElements());
        QVERIFY(!child.isModified());
        QTest::keyClick(tree, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(childNames(child.tree(), nullptr), "Bank|Notes|Notes0|Web");
        QCOMPARE(child.selectedElement()->name(), "Notes0");
        QVERIFY(child.isModified());
        QTest::keyClick(tree, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(childNames(child.tree(), nullptr), "Bank|Notes|Web");
    }

    void pastedKeyBesideASelectedKeyTakesTheNextFreeName()
    {
        FakeMainServices main;
        DatabaseWindow child(main);
        Sample s(child.tree());
        ElementNode *other = add(child.tree(), s.web, "Other", KindKey, textData("x", "y"));
        child.selectElement(s.login);
        child.action(QStringLiteral("PopCopyEntry"))->trigger();
        child.selectElement(other);
        ElementNode *pasted = child.pasteElements();
        QVERIFY(pasted);
        QCOMPARE(pasted->parent(), s.web);
        QCOMPARE(pasted->name(), "Login0");
        QCOMPARE(pasted->data().Detail, "pw1");
        QCOMPARE(pasted->data().Comment, "remark");
        QCOMPARE(childNames(child.tree(), s.web), "Login|Login0|Other|Sub");
        QCOMPARE(child.selectedElement(), pasted);
        // The original is untouched.
        QCOMPARE(s.login->name(), "Login");
    }

    void folderWithChildrenPastedIntoAnotherFolderArrivesWhole()
    {
        FakeMainServices main;
        DatabaseWindow child(main);
        Sample s(child.tree());
        child.selectElement(s.web);
        QVERIFY(child.copyElement());
        child.selectElement(s.bank);
        child.action(QStringLiteral("PopPasteEntry"))->trigger();
        ElementNode *copy = child.tree().findPath({"Bank", "Web"});
        QVERIFY(copy);
        QCOMPARE(childNames(child.tree(), copy), "Login|Sub");
        ElementNode *deep = child.tree().findPath({"Bank", "Web", "Sub", "Deep"});
        QVERIFY(deep);
        QCOMPARE(deep->data().Detail, "pw2");
        QCOMPARE(child.selectedElement(), copy);
        QCOMPARE(child.tree().count(), 10);
        // A second paste beside the copy does not merge into it.
        child.selectElement(copy->child(0));
        child.pasteElements();
        QCOMPARE(childNames(child.tree(), copy), "Login|Sub|Web");
    }

    void pasteBetweenTwoWindowsInEitherStreamForm()
    {
        FakeMainServices main;
        DatabaseWindow from(main);
        DatabaseWindow into(main);
        Sample s(from.tree());
        from.selectElement(s.web);
        QVERIFY(from.copyElement());
        QVERIFY(!from.isModified());

        // An empty tree: the first element is selected afterwards.
        QVERIFY(into.pasteElements());
        QCOMPARE(into.tree().count(), 4);
        QCOMPARE(into.selectedElement(), into.tree().firstRoot());
        QCOMPARE(into.selectedElement()->name(), "Web");
        QVERIFY(into.isModified());

        // The text stream form reads as well.
        Table table;
        QVERIFY(table.readBinary(ElementClipboard::buildBlock(from.tree(), s.login)));
        putOnClipboard(table.writeText());
        ElementNode *pasted = into.pasteElements();
        QVERIFY(pasted);
        // The selected folder already holds a "Login" from the first paste.
        QCOMPARE(pasted->name(), "Login0");
        QCOMPARE(pasted->parent(), into.tree().firstRoot());
        QCOMPARE(pasted->data().Detail, "pw1");
    }

    void aForeignBlockThatDoesNotReadChangesNothing()
    {
        FakeMainServices main;
        DatabaseWindow child(main);
        Sample s(child.tree());
        const QByteArray before = snapshot(child.tree());
        Answers answers;
        child.selectElement(s.web);
        for (const QByteArray &junk : {QByteArray("not a table"), QByteArray("CLASS_TABLE V1.000VLB"),
                                       QByteArray(Table::BinaryMagic, Table::BinaryMagicSize) + QByteArray(5000, '\xff'),
                                       QByteArray()}) {
            putOnClipboard(junk);
            QCOMPARE(child.pasteElements(), nullptr);
        }
        // Nothing of ours on the clipboard at all.
        QGuiApplication::clipboard()->setText(QStringLiteral("Web"));
        QCOMPARE(child.pasteElements(), nullptr);
        QCOMPARE(snapshot(child.tree()), before);
        QVERIFY(!child.isModified());
        QVERIFY(answers.asked().isEmpty());
        QCOMPARE(child.selectedElement(), s.web);
    }

    // A paste, and a load, that would nest elements deeper than 1000 levels say why.
    void nestingTooDeepIsRefusedWithItsReason()
    {
        FakeMainServices main;
        DatabaseWindow child(main);
        ElementNode *deepest = nullptr;
        for (int level = 0; level < ElementTree::MaxDepth; ++level) {
            deepest = add(child.tree(), deepest, "f", KindFolder);
        }
        ElementTree other;
        putOnClipboard(ElementClipboard::buildBlock(other, add(other, nullptr, "one more", KindKey)));
        child.selectElement(deepest);
        Answers answers;
        QCOMPARE(child.pasteElements(), nullptr);
        QCOMPARE(answers.asked().size(), 1);
        QVERIFY(answers.texts().first().contains(QLatin1String("1000 levels")));
        QCOMPARE(child.tree().count(), ElementTree::MaxDepth);
        QVERIFY(!child.isModified());

        answers.clear();
        child.setPassword("sample");
        QVERIFY(!child.loadDatabase(vaultbase::test::dataPath(QStringLiteral("document/deep-1001.kvdb"))));
        QCOMPARE(answers.asked().size(), 1);
        QVERIFY(answers.texts().first().contains(QLatin1String("deep-1001.kvdb")));
        QCOMPARE(child.tree().count(), ElementTree::MaxDepth);
    }

    void dropsInsideOneTree()
    {
        FakeMainServices main;
        DatabaseWindow child(main);
        Sample s(child.tree());
        const QByteArray before = snapshot(child.tree());
        const auto dragOf = [&](ElementNode *node) {
            return std::unique_ptr<QMimeData>(
                ElementClipboardUi::dragData(ElementClipboard::buildBlock(child.tree(), node)));
        };
        using ElementDrop::Mode;

        // A moving drop onto its own descendant, or onto itself, is refused.
        QCOMPARE(child.dropElements(dragOf(s.web).get(), s.deep, Mode::Move, s.web), Qt::IgnoreAction);
        QCOMPARE(child.dropElements(dragOf(s.web).get(), s.sub, Mode::Move, s.web), Qt::IgnoreAction);
        QCOMPARE(child.dropElements(dragOf(s.web).get(), s.web, Mode::Move, s.web), Qt::IgnoreAction);
        QCOMPARE(snapshot(child.tree()), before);
        QVERIFY(!child.isModified());

        // A copying drop of a key on itself puts a copy beside it.
        QCOMPARE(child.dropElements(dragOf(s.login).get(), s.login, Mode::Copy, s.login), Qt::CopyAction);
        QCOMPARE(childNames(child.tree(), s.web), "Login|Login0|Sub");
        QVERIFY(child.isModified());

        // A move into another folder: the subtree arrives whole and leaves its place.
        child.setModified(false);
        QCOMPARE(child.dropElements(dragOf(s.sub).get(), s.bank, Mode::Move, s.sub), Qt::MoveAction);
        ElementNode *moved = child.tree().findPath({"Bank", "Sub", "Deep"});
        QVERIFY(moved);
        QCOMPARE(moved->data().Detail, "pw2");
        QCOMPARE(childNames(child.tree(), s.web), "Login|Login0");
        QCOMPARE(child.selectedElement()->name(), "Sub");
        QVERIFY(child.isModified());

        // Dropped below every element: the top level.
        ElementNode *login = child.tree().findPath({"Web", "Login"});
        QCOMPARE(child.dropElements(dragOf(login).get(), nullptr, Mode::Move, login), Qt::MoveAction);
        QCOMPARE(childNames(child.tree(), nullptr), "Bank|Login|Notes|Web");

        // Locked: the tree is out of sight, so nothing can be dropped on it.
        main.m_locked = true;
        child.lockViews();
        QVERIFY(!child.findChild<ElementTreeView *>()->isVisibleTo(&child));
    }

    void aMoveBetweenTwoWindowsRemovesTheSourceOnlyAfterItArrived()
    {
        FakeMainServices main;
        DatabaseWindow from(main);
        DatabaseWindow into(main);
        into.show();
        QVERIFY(QTest::qWaitForWindowExposed(&into));
        Sample s(from.tree());
        ElementNode *target = add(into.tree(), nullptr, "Target", KindFolder);
        add(into.tree(), target, "Web", KindKey);
        from.selectElement(s.web);

        // A drop through the view, as another window's drag brings it (no source here).
        std::unique_ptr<QMimeData> mime(ElementClipboardUi::dragData(ElementClipboard::buildBlock(from.tree(), s.web)));
        ElementTreeView *tree = treeOf(into);
        const QPoint at = tree->visualRect(tree->elementModel()->indexOf(target)).center();
        QDragEnterEvent enter(at, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(tree->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(tree->viewport(), &drop);
        QVERIFY(drop.isAccepted());
        QCOMPARE(drop.dropAction(), Qt::MoveAction);
        // Inside the target folder, beside a key that has the name: the next free name.
        QCOMPARE(childNames(into.tree(), target), "Web|Web0");
        QCOMPARE(into.tree().findPath({"Target", "Web0", "Sub", "Deep"})->data().Detail, "pw2");
        QVERIFY(into.isModified());

        // The source's part once the drop reported the move.
        QVERIFY(from.removeMovedElement(s.web));
        QCOMPARE(childNames(from.tree(), nullptr), "Bank|Notes");
        QVERIFY(from.isModified());
        QCOMPARE(from.selectedElement(), from.tree().findPath({"Notes"}));

        // A block that does not read is refused: the source would keep its element.
        auto junk = std::make_unique<QMimeData>();
        junk->setData(mimeType(), "junk");
        QDropEvent refused(at, Qt::MoveAction, junk.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(tree->viewport(), &refused);
        QVERIFY(!refused.isAccepted());
        QCOMPARE(into.tree().count(), 6);
    }
};

VAULTBASE_TEST(WindowClipboardTest)
#include "WindowClipboardTest.moc"
