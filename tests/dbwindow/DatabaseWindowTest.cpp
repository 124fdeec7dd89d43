#include "TestRegistry.h"

#include "FakeMainServices.h"
#include "dbwindow/FileBar.h"
#include "document/DatabaseFile.h"
#include "document/TableElement.h"
#include "dbwindow/RichTextEdit.h"
#include "platform/CodePage.h"

#include <QAbstractItemModelTester>
#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QKeyEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSplitter>
#include <QTableView>
#include <QTest>
#include <QTreeView>

using namespace dbwindowtest;

namespace {

// A rich edit's RTF as Windows writes it, with a link.
const QByteArray kRtf =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1031{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
    "\\viewkind4\\uc1\\pard\\f0\\fs20 Caf\\'e9 \\b bold\\b0  see http://example.org/x now\\par\r\n}\r\n";

ElementData dated(QByteArray content = {})
{
    ElementData data;
    data.Content = std::move(content);
    data.Created = "2020-01-02 03:04:05";
    data.Modified = "2021-06-07 08:09:10";
    return data;
}

// A database of every kind: a folder holding a key, an entry with rich text and a link, a
// file and a table.
struct EveryKind
{
    ElementNode *folder;
    ElementNode *key;
    ElementNode *entry;
    ElementNode *file;
    ElementNode *table;
};

EveryKind fill(ElementTree &tree)
{
    EveryKind kinds{};
    kinds.folder = tree.insertElement(nullptr, "Folder", KindFolder, KindOpenFolder, dated("folder text"));
    ElementData key = dated("user");
    key.Detail = "secret";
    key.Comment = kRtf;
    kinds.key = tree.insertElement(kinds.folder, "Key", KindKey, KindKey, key);
    kinds.entry = tree.insertElement(kinds.folder, "Entry", KindEntry, KindEntry, dated(kRtf));
    ElementData file = dated("description");
    file.Detail = "report.pdf";
    file.setBlob(QByteArray(2048, 'x'));
    kinds.file = tree.insertElement(kinds.folder, "report.pdf", KindFile, KindFile, file);
    ElementData table = dated();
    Table grid;
    grid.initSize(2, 2);
    grid.setCell(0, 0, "a1");
    grid.setCell(1, 1, "b2");
    table.setBlob(TableElement::buildStream({"2", "2", "80"}, grid));
    kinds.table = tree.insertElement(kinds.folder, "Table", KindTable, KindTable, table);
    return kinds;
}

QList<ElementData> snapshot(const ElementTree &tree)
{
    QList<ElementData> all;
    for (const ElementNode *n = tree.firstRoot(); n; n = tree.nextInOrder(n)) {
        all.append(n->data());
    }
    return all;
}

// Records the addresses the desktop is asked to open.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    UrlCatcher()
    {
        for (const char *scheme : {"file", "http", "https"}) {
            QDesktopServices::setUrlHandler(QLatin1String(scheme), this, "open");
        }
    }
    ~UrlCatcher() override
    {
        for (const char *scheme : {"file", "http", "https"}) {
            QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
        }
    }
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls.append(url); }
};

// Types characters a keyboard layout may give but QTest's key table does not know.
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &release);
    }
}

} // namespace

// The database window: showing, editing, the name field, hidden passwords, links.
class DatabaseWindowTest : public QObject
{
    Q_OBJECT

private slots:
    // No answerer outlives its test function.
    void cleanup() { vaultbase::test::finishModalAnswers(); }

    void showingNeverMarksTheDatabaseChanged_data()
    {
        QTest::addColumn<bool>("richText");
        QTest::newRow("rich text") << true;
        QTest::newRow("plain text") << false;
    }

    void showingNeverMarksTheDatabaseChanged()
    {
        QFETCH(bool, richText);
        FakeMainServices main;
        main.m_settings.richText = richText;
        DatabaseWindow child(main);
        fill(child.tree());
        const QList<ElementData> before = snapshot(child.tree());
        QSignalSpy modified(&child, &DatabaseWindow::modifiedChanged);
        for (const ElementNode *n = child.tree().firstRoot(); n; n = child.tree().nextInOrder(n)) {
            child.selectElement(const_cast<ElementNode *>(n));
            QCOMPARE(child.editorKind(), n->kind());
        }
        child.applySettings();
        child.applyLanguage();
        child.selectElement(nullptr);
        QCOMPARE(child.editorKind(), -1);
        QVERIFY(!child.isModified());
        QCOMPARE(modified.count(), 0);
        QCOMPARE(snapshot(child.tree()), before);
        QVERIFY(!main.m_guard);
    }

    void editorsShowTheirElement()
    {
        FakeMainServices main;
        DatabaseWindow child(main);
        const EveryKind kinds = fill(child.tree());
        child.selectElement(kinds.key);
        QCOMPARE(child.findChild<QLineEdit *>("EdtUserName")->text(), QStringLiteral("user"));
        auto *password = child.findChild<QLineEdit *>("EdtPassword");
        QCOMPARE(password->text(), QStringLiteral("secret"));
        QCOMPARE(password->echoMode(), QLineEdit::Password);
        QVERIFY(password->isReadOnly());
        QVERIFY(child.findChild<RichTextEdit *>("RdtComment")->toPlainText().startsWith(QString::fromLatin1("Caf\xe9 bold")));
        QCOMPARE(child.findChild<QLineEdit *>("EdtName")->text(), QStringLiteral("Key"));

        child.selectElement(kinds.table);
        auto *grid = child.findChild<QTableView *>("StgTable");
        QCOMPARE(grid->model()->columnCount(), 2);
        QCOMPARE(grid->model()->index(0, 0).data().toString(), QStringLiteral("a1"));
        QCOMPARE(grid->model()->index(1, 1).data().toString(), QStringLiteral("b2"));
        QCOMPARE(grid->model()->index(1, 0).data().toString(), QString());
        QVERIFY(grid->model()->flags(grid->model()->index(0, 0)) & Qt::ItemIsEditable);
        // A new table shows an empty grid of the size shown before, and stores nothing.
        ElementNode *fresh = child.addElement(NewElement::Table, false);
        QCOMPARE(child.editorKind(), int(KindTable));
        QCOMPARE(grid->model()->columnCount(), 2);
        QCOMPARE(grid->model()->index(0, 0).data().toString(), QString());
        QVERIFY(!fresh->data().hasBlob());

        // Plain text when "RichText" is off: what rtfToText reads.
        main.m_settings.richText = false;
        child.selectElement(kinds.entry);
        QCOMPARE(child.findChild<RichTextEdit *>("RdtText")->toPlainText(),
                 QString::fromLatin1("Caf\xe9 bold see http://example.org/x now\n"));
    }

    void fileBarShowsNameAndWholeKilobytes()
    {
        QCOMPARE(FileBar::caption("a.bin", 1023), "a.bin [0 KB]");
        QCOMPARE(FileBar::caption("a.bin", 2048), "a.bin [2 KB]");
        FakeMainServices main;
        DatabaseWindow child(main);
        child.show();
        const EveryKind kinds = fill(child.tree());
        child.selectElement(kinds.file);
        auto *bar = child.findChild<FileBar *>("PnlFile");
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->captionText(), QStringLiteral("report.pdf [2 KB]"));
        child.selectElement(kinds.entry);
        QVERIFY(!bar->isVisible());
    }

    void statusLineShowsTheDates()
    {
        FakeMainServices main;
        DatabaseWindow child(main);
        const EveryKind kinds = fill(child.tree());
        QVERIFY(main.m_settings.hideCreateDate);
        child.selectElement(kinds.entry);
        QCOMPARE(main.m_status, QStringLiteral("Modified: 2021-06-07 08:09:10  "));
        main.m_settings.hideCreateDate = false;
        child.showSelected();
        QCOMPARE(main.m_status, QStringLiteral("Created: 2020-01-02 03:04:05 - Modified: 2021-06-07 08:09:10  "));
        kinds.entry->data().Modified.clear();
        child.showSelected();
        QCOMPARE(main.m_status, QStringLiteral("Created: 2020-01-02 03:04:05"));
        child.selectElement(nullptr);
        QCOMPARE(main.m_status, QString());
    }

    void editsStampTheElementAndMarkTheDatabase()
    {
        FakeMainServices main;
        main.m_settings.hidePass = false;
        DatabaseWindow child(main);
        child.show();
        child.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&child));
        const EveryKind kinds = fill(child.tree());
        child.selectElement(kinds.key);
        main.m_clock.advanceSeconds(60);
        auto *user = child.findChild<QLineEdit *>("EdtUserName");
        user->setFocus();
        user->end(false);
        QTest::keyClicks(user, "x");
        QCOMPARE(kinds.key->data().Content, "userx");
        QCOMPARE(kinds.key->data().Modified, "2018-10-27 15:31:12");
        QVERIFY(child.isModified());
        auto *password = child.findChild<QLineEdit *>("EdtPassword");
        QVERIFY(!password->isReadOnly());
        password->setFocus();
        password->end(false);
        QTest::keyClicks(password, "!");
        QCOMPARE(kinds.key->data().Detail, "secret!");

        // Rich text typed in the comment is stored as RTF, and reads back the same.
        auto *comment = child.findChild<RichTextEdit *>("RdtComment");
        comment->setFocus();
        comment->moveCursor(QTextCursor::End);
        QTest::keyClicks(comment, "Z");
        const QByteArray stored = kinds.key->data().Comment;
        QVERIFY(stored.startsWith("{\\rtf1"));
        child.selectElement(kinds.entry);
        child.selectElement(kinds.key);
        QVERIFY(comment->toPlainText().endsWith(QLatin1String("nowZ")));
        QCOMPARE(comment->takeStored(), stored);

        // A text the code page cannot carry is refused where it is typed.
        QSignalSpy refused(&child, &DatabaseWindow::inputRefused);
        user->setFocus();
        typeText(user, QString::fromUtf8("\xd0\xb4"));
        QCOMPARE(kinds.key->data().Content, "userx");
        QCOMPARE(user->text(), QStringLiteral("userx"));
        main.m_settings.richText = false;
        child.selectElement(kinds.entry);
        auto *text = child.findChild<RichTextEdit *>("RdtText");
        text->setFocus();
        typeText(text, QString::fromUtf8("\xd0\xb4"));
        QCOMPARE(refused.count(), 1);
        QCOMPARE(kinds.entry->data().Content, kRtf);
        typeText(text, QString::fromLatin1("\xe9"));
        QCOMPARE(kinds.entry->data().Content.left(2), QByteArray("\xe9" "C"));
    }

    // Ctrl+Z in a field undoes its typing first, then the database's last change; Ctrl+Y
    // and Ctrl+Shift+Z redo; undoing back to the saved state leaves the window unmodified.
    void undoKeysTakeBackTypingFirstThenTheChange()
    {
        FakeMainServices main;
        main.m_settings.hidePass = false;
        DatabaseWindow child(main);
        for (const char *name : {"MenUndo", "MenRedo"}) {
            child.addAction(child.action(QLatin1String(name)));
        }
        child.show();
        child.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&child));
        const EveryKind kinds = fill(child.tree());
        child.selectElement(kinds.key);
        const ElementData saved = kinds.key->data();
        auto *user = child.findChild<QLineEdit *>("EdtUserName");
        user->setFocus();
        user->end(false);
        QTest::keyClicks(user, "xy");
        QCOMPARE(kinds.key->data().Content, "userxy");
        QVERIFY(child.isModified());

        QTest::keyClick(user, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(user->text(), QStringLiteral("user"));
        QTest::keyClick(user, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(kinds.key->data(), saved);
        QVERIFY(!child.isModified());
        QVERIFY(!child.isWindowModified());
        QCOMPARE(user->text(), QStringLiteral("user"));

        QTest::keyClick(user, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(child.isModified());
        QCOMPARE(child.action(QStringLiteral("MenUndo"))->text(), QStringLiteral("Undo edit 'Key'"));

        // A deleted element comes back, the same element, selected.
        Answers answers(MessageBox::Button::Yes);
        QVERIFY(child.deleteSelected());
        QCOMPARE(child.action(QStringLiteral("MenUndo"))->text(), QStringLiteral("Undo delete 'Key'"));
        auto *tree = child.findChild<QTreeView *>();
        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(child.selectedElement(), kinds.key);
        QTest::keyClick(tree, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(child.tree().absoluteIndex(kinds.key) < 0);
    }

    void plainTextOffKeepsLineEnds()
    {
        FakeMainServices main;
        main.m_settings.richText = false;
        DatabaseWindow child(main);
        ElementNode *entry = child.tree().insertElement(nullptr, "e", KindEntry, KindEntry, dated("one\r\ntwo"));
        child.selectElement(entry);
        auto *text = child.findChild<RichTextEdit *>("RdtText");
        text->moveCursor(QTextCursor::End);
        text->insertPlainText(QStringLiteral("\nthree"));
        QCOMPARE(entry->data().Content, "one\r\ntwo\r\nthree");
    }

    void showingAndSavingKeepsStoredBytes()
    {
        FakeMainServices main;
        DatabaseWindow child(main);
        const EveryKind kinds = fill(child.tree());
        child.setPassword("pw");
        QTemporaryDir dir;
        const QString first = dir.filePath(QStringLiteral("first.kvdb"));
        QVERIFY(saveDatabase(child.tree(), first, "pw", true));
        for (ElementNode *n : {kinds.folder, kinds.key, kinds.entry, kinds.file, kinds.table, kinds.key}) {
            child.selectElement(n);
        }
        child.setFilePath(dir.filePath(QStringLiteral("second.kvdb")));
        QVERIFY(child.save());
        QFile a(first), b(child.filePath());
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QCOMPARE(b.readAll(), a.readAll());
    }

    void hiddenPasswordOpensTheDialog()
    {
        FakeMainServices main;
        DatabaseWindow child(main);
        child.show();
        child.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&child));
        const EveryKind kinds = fill(child.tree());
        child.selectElement(kinds.key);
        main.m_password->setPassword("held before");
        auto *password = child.findChild<QLineEdit *>("EdtPassword");
        password->setFocus();

        // The key typed arrives in the dialog's field, where the field would have put it.
        PasswordDialogState seen;
        answerPasswordDialog(QByteArray("n3w"), &seen);
        password->end(false);
        QTest::keyClick(password, Qt::Key_A);
        QVERIFY(seen.shown);
        QVERIFY(seen.confirmationMode);
        QCOMPARE(seen.password, "secreta");
        QCOMPARE(kinds.key->data().Detail, "n3w");
        QCOMPARE(password->text(), QStringLiteral("n3w"));
        QVERIFY(child.isModified());
        QVERIFY(!main.m_password->confirmationMode());
        QCOMPARE(main.m_password->password(), "held before");
        QVERIFY(main.m_timerRunning);

        // Cancelled: the old password stays. A double click asks too.
        child.setModified(false);
        answerPasswordDialog(std::nullopt, &seen);
        QTest::mouseDClick(password, Qt::LeftButton);
        QCOMPARE(seen.password, "n3w");
        QCOMPARE(kinds.key->data().Detail, "n3w");
        QVERIFY(!child.isModified());

        // Ctrl+C copies the whole password and asks nothing.
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(password, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("n3w"));
        child.findChild<QAbstractButton *>("BtnCopyUserName")->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("user"));

        // With "EditHiddenPass" the masked field takes typing itself.
        main.m_settings.editHiddenPass = true;
        child.applySettings();
        QVERIFY(!password->isReadOnly());
        password->end(false);
        QTest::keyClick(password, Qt::Key_B);
        QCOMPARE(kinds.key->data().Detail, "n3wb");
    }

    void nameFieldRenamesOnLeaving()
    {
        FakeMainServices main;
        DatabaseWindow child(main);
        child.show();
        child.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&child));
        const EveryKind kinds = fill(child.tree());
        child.selectElement(kinds.key);
        auto *name = child.findChild<QLineEdit *>("EdtName");
        auto *tree = child.findChild<QTreeView *>("TrvTree");
        Answers answers;

        // A sibling's name: live in the tree while typing, refused on leaving.
        name->setFocus();
        name->selectAll();
        QTest::keyClicks(name, "Entry");
        QCOMPARE(kinds.key->name(), "Entry");
        tree->setFocus();
        QCOMPARE(answers.texts(), QStringList{QStringLiteral("Duplicate entry name: Entry")});
        QCOMPARE(kinds.key->name(), "Key");
        QCOMPARE(name->text(), QStringLiteral("Key"));

        // A free name stays, stamped.
        answers.clear();
        main.m_clock.advanceSeconds(5);
        name->setFocus();
        name->selectAll();
        QTest::keyClicks(name, "Bank");
        tree->setFocus();
        QVERIFY(answers.asked().isEmpty());
        QCOMPARE(kinds.key->name(), "Bank");
        QCOMPARE(kinds.key->data().Modified, "2018-10-27 15:30:17");
        QCOMPARE(child.selectedElement(), kinds.key);

        // "<>" cannot be typed into a name.
        name->setFocus();
        name->end(false);
        QTest::keyClicks(name, "<>");
        QCOMPARE(name->text(), QStringLiteral("Bank<"));
        tree->setFocus();
        QCOMPARE(kinds.key->name(), "Bank<");

        // Another element shown while the field keeps the focus (Alt+F3, a cut or a paste
        // from the menu): a refused name gives that element back its own name.
        name->setFocus();
        child.selectElement(kinds.entry);
        name->selectAll();
        QTest::keyClicks(name, "Table");
        tree->setFocus();
        QCOMPARE(kinds.entry->name(), "Entry");
        QCOMPARE(kinds.key->name(), "Bank<");
    }

    void linksOpenOnClickAndStayOutOfTheText()
    {
        FakeMainServices main;
        DatabaseWindow child(main);
        child.resize(800, 500);
        child.show();
        child.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&child));
        const EveryKind kinds = fill(child.tree());
        child.selectElement(kinds.entry);
        auto *text = child.findChild<RichTextEdit *>("RdtText");
        const int at = int(text->toPlainText().indexOf(QLatin1String("example")));
        QTextCursor cursor(text->document());
        cursor.setPosition(at);
        const QPoint point = text->cursorRect(cursor).center() + QPoint(2, 0);
        UrlCatcher catcher;
        QTest::mouseClick(text->viewport(), Qt::LeftButton, {}, point);
        QCOMPARE(catcher.urls, QList<QUrl>{QUrl(QStringLiteral("http://example.org/x"))});
        QCOMPARE(text->textCursor().selectedText(), QStringLiteral("http://example.org/x"));
        QCOMPARE(text->extraSelections().size(), 1);
        // The underline is the view's: the stored text has none, and nothing was written.
        QVERIFY(!child.isModified());
        QCOMPARE(kinds.entry->data().Content, kRtf);
        QVERIFY(!text->takeStored().contains("\\ul"));
    }

    void underlinesStayWhileANewTextComesIn()
    {
        // Setting a new text clears the document, which holds its cursors aside meanwhile
        // and puts them back afterwards: underline cursors replaced then were freed while
        // the document still used them, and the heap broke at a later edit.
        RichTextEdit edit;
        edit.loadStored(kRtf, true);
        QCOMPARE(edit.extraSelections().size(), 1);
        QList<qsizetype> during;
        connect(edit.document(), &QTextDocument::contentsChanged, &edit,
                [&] { during.append(edit.extraSelections().size()); });
        edit.loadStored(QByteArray(kRtf).replace("example", "other"), true);
        QVERIFY(!during.isEmpty());
        QCOMPARE(during.count(1), during.size());
        QCOMPARE(edit.extraSelections().size(), 1);
        QCOMPARE(edit.extraSelections().first().cursor.selectedText(), QStringLiteral("http://other.org/x"));
    }

    void settingsApplyToTheWindow()
    {
        FakeMainServices main;
        DatabaseWindow child(main);
        auto *tree = child.findChild<QTreeView *>("TrvTree");
        QCOMPARE(tree->iconSize(), QSize(24, 24));
        QCOMPARE(tree->indentation(), 19);
        main.m_settings.smallIcons = true;
        main.m_settings.backgroundColor = 0x000080FF; // COLORREF: red FF, green 80, blue 00
        main.m_settings.font.name = "DejaVu Sans Mono";
        main.m_settings.font.pitch = 2;
        main.m_settings.font.color = 0x00800000; // blue 80
        main.m_settings.hidePass = false;
        child.applySettings();
        QCOMPARE(tree->iconSize(), QSize(16, 16));
        QCOMPARE(child.palette().color(QPalette::Window), QColor(0xFF, 0x80, 0x00));
        QCOMPARE(child.palette().color(QPalette::Text), QColor(0x00, 0x00, 0x80));
        QVERIFY(child.font().families().contains(QStringLiteral("DejaVu Sans Mono")));
        QVERIFY(child.font().fixedPitch());
        auto *password = child.findChild<QLineEdit *>("EdtPassword");
        QCOMPARE(password->echoMode(), QLineEdit::Normal);
        QVERIFY(!password->isReadOnly());
        QCOMPARE(password->palette().color(QPalette::Text), QColor(0x00, 0x00, 0x80));
        // The file bar keeps the system's text colour.
        QCOMPARE(child.findChild<QWidget *>("PnlFile")->palette().color(QPalette::WindowText),
                 QApplication::palette().color(QPalette::WindowText));
        // Moving the splitter gives every window the new tree width.
        child.resize(900, 500);
        child.show();
        QVERIFY(QTest::qWaitForWindowExposed(&child));
        QCOMPARE(tree->width(), 225);
        auto *splitter = child.findChild<QSplitter *>("SptMain");
        QWidget *handle = splitter->handle(1);
        const QPoint grip = handle->rect().center();
        QTest::mousePress(handle, Qt::LeftButton, {}, grip);
        QTest::mouseMove(handle, grip + QPoint(75, 0));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(75, 0));
        QCOMPARE(tree->width(), 300);
        QCOMPARE(main.m_treeWidth, 300);
    }

    void languageTextsApplyAndComeBack()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("x.lng"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("FrmChild.MenAddKey=\"Schl\xfc\x73sel\"\r\nFrmChild.LblComment=\"Kommentar\"\r\n"
                  "FrmMain.m_aMenScAlt=\"Wahl\"\r\n");
        out.close();
        FakeMainServices main;
        DatabaseWindow child(main);
        QAction *addKey = child.action(QStringLiteral("MenAddKey"));
        QCOMPARE(addKey->text(), QStringLiteral("Add key\tAlt+K"));
        QCOMPARE(addKey->shortcut(), QKeySequence(QStringLiteral("Alt+K")));
        main.m_language.apply(file, "Deutsch");
        child.applyLanguage();
        QCOMPARE(addKey->text(), QString::fromLatin1("Schl\xfcssel\tWahl+K"));
        QCOMPARE(child.findChild<QLabel *>("LblComment")->text(), QStringLiteral("Kommentar"));
        QCOMPARE(child.action(QStringLiteral("PopAddEntry"))->text(), QStringLiteral("Add entry"));
        main.m_language.applyEnglish();
        child.applyLanguage();
        QCOMPARE(addKey->text(), QStringLiteral("Add key\tAlt+K"));
        QCOMPARE(child.findChild<QLabel *>("LblComment")->text(), QStringLiteral("Comment"));
        QCOMPARE(child.caption(), QStringLiteral("Unnamed"));
        QCOMPARE(child.menus().size(), 3);
        QVERIFY(child.menus().first()->actions().contains(&main.m_new));
    }

    void theTreeModelStaysConsistentWithTheWindowsCommands()
    {
        FakeMainServices main;
        DatabaseWindow child(main);
        QAbstractItemModelTester tester(child.findChild<QTreeView *>("TrvTree")->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        Answers answers(MessageBox::Button::Yes);
        const EveryKind kinds = fill(child.tree());
        child.selectElement(kinds.key);
        for (int i = 0; i < 5; ++i) {
            child.addElement(NewElement::Key, false);
            child.addElement(NewElement::Folder, false);
        }
        QVERIFY(child.renameElement(kinds.key, "ZZZ"));
        child.selectElement(kinds.folder);
        QCOMPARE(child.tree().count(), 15);
        QVERIFY(child.deleteSelected());
        QCOMPARE(child.tree().count(), 0);
        QCOMPARE(child.selectedElement(), nullptr);
    }
};

VAULTBASE_TEST(DatabaseWindowTest)
#include "DatabaseWindowTest.moc"
