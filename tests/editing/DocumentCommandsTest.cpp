#include "TestRegistry.h"

#include "OpsTestTrees.h"
#include "editing/DatabaseDocument.h"
#include "editing/DocumentCommands.h"
#include "editing/ElementClipboard.h"
#include "editing/ElementCommands.h"
#include "editing/TableGrid.h"
#include "editing/TableSort.h"
#include "editing/TableStorage.h"
#include "platform/Clock.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace vaultbase::test::ops;

namespace {

// Web (folder): Login (key), Sub (folder): Deep (key); Bank (folder): Card (key), Grid
// (table); Notes (entry) at the top level.
struct Sample {
    DatabaseDocument document;
    ElementNode *web, *login, *sub, *deep, *bank, *card, *grid, *notes;
    Sample()
    {
        ElementTree &tree = document.tree();
        web = add(tree, nullptr, "Web", KindFolder, textData("web folder"));
        login = add(tree, web, "Login", KindKey, textData("me", "pw1", "remark"));
        sub = add(tree, web, "Sub", KindFolder);
        deep = add(tree, sub, "Deep", KindKey, textData("deep", "pw2"));
        bank = add(tree, nullptr, "Bank", KindFolder);
        card = add(tree, bank, "Card", KindKey, textData("4711", "1234"));
        grid = add(tree, bank, "Grid", KindTable);
        notes = add(tree, nullptr, "Notes", KindEntry, textData("text"));
        document.setPassword("old password");
        document.setModified(false);
    }
    ElementTree &tree() { return document.tree(); }
    void push(QUndoCommand *command) { document.push(command); }
    // Everything a save would write, and the password it would write it with.
    QByteArray state() { return snapshot(tree()) + '|' + document.password(); }
};

const FixedClock kClock(QDateTime(QDate(2025, 5, 6), QTime(7, 8, 9)));

// Types text into a key's field as the window records it.
void typeInto(Sample &s, ElementNode *node, const QByteArray &text, quint64 visit)
{
    ElementData before = node->data();
    node->data().Content += text;
    node->data().touch(kClock);
    s.push(new ChangeDataCommand(s.document, node, std::move(before), "edit", 0, visit));
}

void storeGrid(Sample &s, const QList<QList<QByteArray>> &rows)
{
    TableGrid grid;
    grid.setWidthText("80");
    grid.resize(2, int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            grid.setCell(c, r, rows[r][c]);
        }
    }
    ElementData before = s.grid->data();
    QVERIFY(TableStorage::storeTable(s.tree(), s.grid, grid, kClock));
    s.push(new ChangeDataCommand(s.document, s.grid, std::move(before), "edit table"));
}

using Change = std::function<void(Sample &)>;

} // namespace

Q_DECLARE_METATYPE(Change)

// Every change to an open database can be undone and redone, over the same elements, and
// the database is modified exactly while it differs from the saved state.
class DocumentCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void undoAndRedoEveryKindOfChange_data()
    {
        QTest::addColumn<Change>("change");
        QTest::newRow("add") << Change([](Sample &s) {
            ElementNode *node = ElementCommands::addElement(s.tree(), NewElement::Key, s.login, "New key", kClock);
            s.push(new InsertElementsCommand(s.document, {node}, "add"));
        });
        QTest::newRow("attach file") << Change([](Sample &s) {
            ElementData file = ElementData::fresh(kClock);
            file.Detail = "a.bin";
            file.setBlob(QByteArray(300, 'b'));
            ElementNode *node = s.tree().addElement(NewElement::File, s.notes, "a.bin", std::move(file));
            s.push(new InsertElementsCommand(s.document, {node}, "add"));
        });
        QTest::newRow("delete subtree") << Change([](Sample &s) {
            s.push(new RemoveElementCommand(s.document, s.web, s.bank, "delete"));
        });
        QTest::newRow("rename") << Change([](Sample &s) {
            s.push(new RenameElementCommand(s.document, s.card, "Visa", "2025-05-06 07:08:09", "rename"));
        });
        QTest::newRow("typing in one field merges") << Change([](Sample &s) {
            typeInto(s, s.login, "a", 1);
            typeInto(s, s.login, "b", 1);
            QCOMPARE(s.document.undoStack().count(), 1);
        });
        QTest::newRow("paste of two elements") << Change([](Sample &s) {
            // A block of both top-level folders: two elements arrive, each with its subtree.
            ElementTree both;
            add(both, nullptr, "One", KindFolder);
            add(both, add(both, nullptr, "Two", KindFolder), "Inner", KindKey, textData("u", "p"));
            ElementClipboard::PasteResult pasted = ElementClipboard::pasteElements(s.tree(), s.sub, both);
            QCOMPARE(pasted.arrived.size(), 2);
            s.push(new InsertElementsCommand(s.document, pasted.arrived, "paste"));
        });
        QTest::newRow("drop copy") << Change([](Sample &s) {
            const QByteArray block = ElementClipboard::buildBlock(s.tree(), s.web);
            ElementClipboard::PasteResult pasted = ElementClipboard::pasteBlock(s.tree(), s.bank, block);
            s.push(new InsertElementsCommand(s.document, pasted.arrived, "paste"));
        });
        QTest::newRow("move within the tree") << Change([](Sample &s) {
            s.push(new MoveElementCommand(s.document, s.sub, s.bank, "move"));
            QCOMPARE(s.sub->parent(), s.bank);
        });
        QTest::newRow("move onto a taken name") << Change([](Sample &s) {
            add(s.tree(), s.bank, "Sub", KindEntry);
            s.document.setModified(false);
            s.push(new MoveElementCommand(s.document, s.sub, s.bank, "move"));
            QCOMPARE(s.sub->name(), QByteArray("Sub0"));
        });
        QTest::newRow("table cell") << Change([](Sample &s) { storeGrid(s, {{"a", "b"}}); });
        QTest::newRow("table rows inserted") << Change([](Sample &s) { storeGrid(s, {{"a", "b"}, {}, {"c", "d"}}); });
        QTest::newRow("table sorted") << Change([](Sample &s) {
            storeGrid(s, {{"b", "2"}, {"a", "1"}});
            s.document.setModified(false);
            TableSort::Request request;
            request.endRow = 2;
            ElementData before = s.grid->data();
            QVERIFY(TableSort::sortTableData(s.tree(), s.grid, request, kClock));
            s.push(new ChangeDataCommand(s.document, s.grid, std::move(before), "sort"));
        });
        QTest::newRow("change password") << Change([](Sample &s) {
            s.push(new ChangePasswordCommand(s.document, "new password", "password"));
        });
    }

    void undoAndRedoEveryKindOfChange()
    {
        QFETCH(Change, change);
        Sample s;
        QSignalSpy modified(&s.document, &DatabaseDocument::modifiedChanged);
        change(s);
        UndoStack &history = s.document.undoStack();
        // The state the change started from is the clean one: undo goes back to it.
        history.undo();
        const QByteArray original = s.state();
        QVERIFY(!s.document.isModified());
        history.redo();
        const QByteArray changed = s.state();
        QVERIFY(changed != original);
        QVERIFY(s.document.isModified());
        for (int round = 0; round < 2; ++round) {
            history.undo();
            QCOMPARE(s.state(), original);
            QVERIFY(!s.document.isModified());
            // The same elements came back, not copies of them.
            for (const ElementNode *node : {s.web, s.login, s.sub, s.deep, s.bank, s.card, s.grid, s.notes}) {
                QVERIFY(s.tree().absoluteIndex(node) >= 0);
            }
            history.redo();
            QCOMPARE(s.state(), changed);
            QVERIFY(s.document.isModified());
        }
        QVERIFY(modified.count() >= 5);
    }

    // Saving makes the present state the clean one and says why it failed; loading drops
    // the history only when it succeeded.
    void loadAndSaveKeepTheHistoryHonest()
    {
        QTemporaryDir dir;
        Sample s;
        typeInto(s, s.login, "a", 1);
        const DatabaseDocument::SaveResult missing = s.document.save(dir.filePath("no/such/db.kvdb"), true);
        QCOMPARE(missing.failure, SecretFile::Failure::FolderMissing);
        QVERIFY(s.document.isModified());
        const QString path = dir.filePath("db.kvdb");
        QVERIFY(s.document.save(path, true).ok());
        QVERIFY(!s.document.isModified());
        s.document.undoStack().undo();
        QVERIFY(s.document.isModified());

        s.document.setPassword("wrong");
        const QByteArray shown = s.state();
        QCOMPARE(s.document.load(path).problem, LoadProblem::NotADatabase);
        QCOMPARE(s.state(), shown);
        QVERIFY(s.document.undoStack().canRedo());
        s.document.setPassword("old password");
        QVERIFY(s.document.load(path).ok());
        QCOMPARE(s.document.undoStack().count(), 0);
        QVERIFY(!s.document.isModified());
        QCOMPARE(s.document.filePath(), path);
        QCOMPARE(s.tree().findPath({"Web", "Login"})->data().Content, QByteArray("mea"));
    }

    // Saving in place keeps the form the file was read in and refuses a file another
    // program changed since, leaving its bytes as they are.
    void saveInPlaceKeepsTheFormAndRefusesAChangedFile_data()
    {
        QTest::addColumn<bool>("binary");
        QTest::newRow("binary") << true;
        QTest::newRow("text form") << false;
    }

    void saveInPlaceKeepsTheFormAndRefusesAChangedFile()
    {
        QFETCH(bool, binary);
        QTemporaryDir dir;
        const QString path = dir.filePath("db.kvdb");
        Sample s;
        QVERIFY(s.document.save(path, binary).ok());
        QVERIFY(s.document.load(path).ok());
        QCOMPARE(s.document.loadedForm(), binary ? StreamForm::Binary : StreamForm::Text);
        // The load brought new elements.
        ElementNode *login = s.tree().findPath({"Web", "Login"});
        typeInto(s, login, "a", 1);
        QVERIFY(s.document.saveInPlace().ok());
        ElementTree reread;
        StreamForm form = StreamForm::Binary;
        QVERIFY(loadDatabaseFile(reread, path, "old password", nullptr, &form));
        QCOMPARE(form, binary ? StreamForm::Binary : StreamForm::Text);
        QCOMPARE(snapshot(reread), snapshot(s.tree()));

        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        file.write(QByteArray(8, 'x'));
        file.close();
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray changed = file.readAll();
        file.close();
        typeInto(s, login, "b", 2);
        const DatabaseDocument::SaveResult refused = s.document.saveInPlace();
        QVERIFY(refused.changedOnDisk && !refused.ok());
        QVERIFY(s.document.isModified());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), changed);
    }

    // Typing merges only up to a save: undoing the typing after the save goes back to what
    // was saved.
    void typingAfterASaveIsAChangeOfItsOwn()
    {
        Sample s;
        typeInto(s, s.login, "a", 1);
        s.document.setModified(false);
        typeInto(s, s.login, "b", 1);
        QCOMPARE(s.document.undoStack().count(), 2);
        s.document.undoStack().undo();
        QCOMPARE(s.login->data().Content, QByteArray("mea"));
        QVERIFY(!s.document.isModified());
        typeInto(s, s.login, "c", 2);
        QCOMPARE(s.document.undoStack().count(), 2);
        QCOMPARE(s.document.undoStack().undoText(), QStringLiteral("edit"));
    }

    // The history keeps deleted elements and old texts: past its memory limit the oldest
    // changes go, never the newest, and a saved state among them is out of reach.
    void historyIsBoundedByMemory()
    {
        Sample s;
        UndoStack &history = s.document.undoStack();
        history.setMemoryLimit(10000);
        for (int i = 0; i < 10; ++i) {
            ElementData before = s.notes->data();
            s.notes->data().Content = QByteArray(1000, char('a' + i));
            s.push(new ChangeDataCommand(s.document, s.notes, std::move(before), "edit"));
        }
        QVERIFY(history.heldBytes() <= 10000);
        QCOMPARE(history.count(), 5);
        QCOMPARE(history.index(), history.count());
        QCOMPARE(history.cleanIndex(), -1);
        while (history.canUndo()) {
            history.undo();
        }
        QVERIFY(s.document.isModified());
        QCOMPARE(s.notes->data().Content, QByteArray(1000, 'e'));

        // Undone changes are not dropped: they wait to be redone.
        const int kept = history.count();
        history.setMemoryLimit(100);
        QCOMPARE(history.count(), kept);
        history.redo();
        history.clear();
        QCOMPARE(history.heldBytes(), 0);
        QVERIFY(!s.document.isModified());
    }
};

VAULTBASE_TEST(DocumentCommandsTest)
#include "DocumentCommandsTest.moc"
