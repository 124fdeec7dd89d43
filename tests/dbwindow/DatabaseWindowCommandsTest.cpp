#include "TestRegistry.h"

#include "FakeMainServices.h"
#include "editing/ElementCommands.h"
#include "dbwindow/ChildActions.h"
#include "dbwindow/ElementTreeView.h"
#include "dbwindow/FileBar.h"
#include "document/DatabaseFile.h"

#include <QAction>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

using namespace dbwindowtest;

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray childNames(const ElementTree &tree, const ElementNode *parent)
{
    QList<QByteArray> names;
    for (int i = 0; i < tree.childCount(parent); ++i) {
        names.append(tree.childAt(parent, i)->name());
    }
    return names.join('|');
}

// Takes the files the desktop is asked to open.
class Opener : public QObject
{
    Q_OBJECT
public:
    Opener() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~Opener() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QStringList paths;
public slots:
    void open(const QUrl &url) { paths.append(url.toLocalFile()); }
};

} // namespace

// Adding, deleting and renaming elements; saving, closing and attached files.
class DatabaseWindowCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    // No answerer outlives its test function.
    void cleanup() { vaultbase::test::finishModalAnswers(); }

    void keysAddedFromTheMenuAreNamedInTurnAndEdited()
    {
        FakeMainServices main;
        DatabaseWindow child(main);
        child.show();
        child.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&child));
        ElementNode *folder = child.addElement(NewElement::Folder, false);
        QVERIFY(child.isModified());
        child.setModified(false);
        auto *tree = child.findChild<ElementTreeView *>("TrvTree");
        for (int i = 0; i < 3; ++i) {
            child.selectElement(folder);
            child.action(QStringLiteral("MenAddKey"))->trigger();
            QVERIFY(tree->isEditingName());
            QTest::keyClick(tree->focusWidget(), Qt::Key_Escape);
        }
        QCOMPARE(childNames(child.tree(), folder), "New key|New key0|New key1");
        QVERIFY(child.isModified());
        QCOMPARE(child.selectedElement()->name(), "New key1");
        QCOMPARE(child.findChild<QLineEdit *>("EdtName")->text(), QStringLiteral("New key1"));
        QCOMPARE(child.editorKind(), int(KindKey));

        // Beside a selected key, never under it.
        ElementNode *key = child.tree().childAt(folder, 0);
        child.selectElement(key);
        ElementNode *entry = child.addElement(NewElement::Entry, false);
        QCOMPARE(entry->parent(), folder);
        QCOMPARE(key->childCount(), 0);
        QCOMPARE(child.selectedElement(), entry);
        // A file dropped from the main window's side starts no editing.
        QVERIFY(!tree->isEditingName());

        // Locked: the command is off.
        main.m_locked = true;
        child.lockViews();
        child.actions().MenAddKey->trigger();
        QCOMPARE(child.tree().count(), 5);
    }

    void renamesAreCheckedLikeTheNameField()
    {
        FakeMainServices main;
        DatabaseWindow child(main);
        ElementNode *a = child.tree().insertElement(nullptr, "a", KindKey, KindKey, ElementData());
        child.tree().insertElement(nullptr, "b", KindKey, KindKey, ElementData());
        child.selectElement(a);
        Answers answers;
        QVERIFY(!child.renameElement(a, "b"));
        QCOMPARE(answers.texts(), QStringList{QStringLiteral("Duplicate entry name: b")});
        QCOMPARE(answers.asked().first().type, MessageBox::Type::Information);
        QCOMPARE(a->name(), "a");
        QVERIFY(!child.isModified());

        // The tree's in-place editor goes the same way.
        QAbstractItemModel *model = child.findChild<QTreeView *>("TrvTree")->model();
        QVERIFY(!model->setData(model->index(0, 0), QStringLiteral("b")));
        QCOMPARE(answers.asked().size(), 2);
        QVERIFY(!model->setData(model->index(0, 0), QStringLiteral("x<>y")));
        QCOMPARE(answers.asked().size(), 3);
        QVERIFY(model->setData(model->index(0, 0), QStringLiteral("B")));
        QCOMPARE(a->name(), "B");
        QVERIFY(child.isModified());
        QCOMPARE(child.findChild<QLineEdit *>("EdtName")->text(), QStringLiteral("B"));
    }

    void deletingAsksFirst()
    {
        FakeMainServices main;
        DatabaseWindow child(main);
        ElementNode *folder = child.tree().insertElement(nullptr, "f", KindFolder, KindOpenFolder, ElementData());
        ElementNode *a = child.tree().insertElement(folder, "a", KindKey, KindKey, ElementData());
        ElementNode *b = child.tree().insertElement(folder, "b", KindKey, KindKey, ElementData());
        child.selectElement(a);
        Answers answers(MessageBox::Button::No);
        QVERIFY(!child.deleteSelected());
        QCOMPARE(answers.texts(), QStringList{QStringLiteral("Are you sure to delete 'a'?")});
        QCOMPARE(child.tree().count(), 3);
        QVERIFY(!child.isModified());

        answers.setAnswer(MessageBox::Button::Yes);
        QVERIFY(child.deleteSelected());
        QCOMPARE(childNames(child.tree(), folder), "b");
        QCOMPARE(child.selectedElement(), b);
        QVERIFY(child.isModified());
        // Del in the tree asks the same question.
        QTest::keyClick(child.findChild<QTreeView *>("TrvTree"), Qt::Key_Delete);
        QCOMPARE(answers.asked().size(), 3);
        QCOMPARE(child.selectedElement(), folder);
        QCOMPARE(child.tree().count(), 1);
    }

    void filesAreAttachedWholeOrRefusedWithAReason()
    {
        QTemporaryDir dir;
        const QString small = dir.filePath(QStringLiteral("small.bin"));
        QByteArray bytes(1023, '\0');
        bytes[5] = '\xff';
        QVERIFY(writeFile(small, bytes));
        FakeMainServices main;
        DatabaseWindow child(main);
        child.show();
        ElementNode *file = child.addFile(small, false);
        QVERIFY(file);
        QCOMPARE(file->name(), "small.bin");
        QCOMPARE(file->kind(), qint32(KindFile));
        QCOMPARE(*file->data().Blob, bytes);
        QCOMPARE(child.findChild<FileBar *>("PnlFile")->captionText(), QStringLiteral("small.bin [0 KB]"));
        QVERIFY(child.isModified());
        // The same file again beside it: the name followed by 0.
        QCOMPARE(child.addFile(small, false)->name(), "small.bin0");

        Answers answers;
        const QString huge = dir.filePath(QStringLiteral("huge.iso"));
        QFile sparse(huge);
        QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.resize(ElementCommands::MaxFileBytes + 1));
        sparse.close();
        QCOMPARE(child.addFile(huge, false), nullptr);
        QCOMPARE(answers.asked().size(), 1);
        QCOMPARE(answers.asked().first().type, MessageBox::Type::Warning);
        QVERIFY(answers.texts().first().contains(QLatin1String("too large")));
        QVERIFY(answers.texts().first().contains(QLatin1String("huge.iso")));
        QCOMPARE(child.addFile(dir.filePath(QStringLiteral("gone")), false), nullptr);
        QVERIFY(answers.texts().last().startsWith(QLatin1String("The file does not exist")));
        QCOMPARE(child.tree().count(), 2);
    }

    void readingALargeFileCanBeCancelled()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("large.bin"));
        QVERIFY(writeFile(path, QByteArray(40 << 20, 'z')));
        FakeMainServices main;
        main.m_parent.show();
        DatabaseWindow child(main);
        Answers answers;
        bool seen = false;
        whenModal<QProgressDialog>([&seen](QProgressDialog *progress) {
            seen = progress->labelText() == QLatin1String("Reading file ...");
            progress->cancel();
        }, 0);
        QCOMPARE(child.addFile(path, false), nullptr);
        QVERIFY(seen);
        QVERIFY(child.tree().isEmpty());
        QVERIFY(answers.asked().isEmpty());
        QVERIFY(!child.isModified());

        // Not cancelled, it arrives whole.
        ElementNode *file = child.addFile(path, false);
        QVERIFY(file);
        QCOMPARE(file->data().BlobSize, 40 << 20);
    }

    void aViewedFileIsAnOwnerOnlyTemporaryCopy()
    {
        FakeMainServices main;
        DatabaseWindow child(main);
        ElementData data;
        data.Detail = "report.pdf";
        data.setBlob(QByteArray("%PDF-1.4 secret", 15));
        ElementNode *file = child.tree().insertElement(nullptr, "report.pdf", KindFile, KindFile, data);
        child.selectElement(file);
        Opener opener;
        QMetaObject::invokeMethod(child.findChild<QObject *>("BtnView"), "click");
        QCOMPARE(opener.paths.size(), 1);
        const QString path = opener.paths.first();
        QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("$$$kvdb_tmp_file$$$20181027-153012.pdf"));
        QCOMPARE(QFileInfo(path).absolutePath() + QLatin1Char('/'), main.storageFolder());
        QCOMPARE(readFile(path), *data.Blob);
        QCOMPARE(QFile::permissions(path) & 0x0777, QFile::ReadUser | QFile::WriteUser);
        QCOMPARE(main.m_tempFiles.files(), QStringList{path});
        QVERIFY(!child.isModified());

        // Save: the file dialog offers the name and a filter for its extension.
        QTemporaryDir dir;
        QString filter;
        whenModal<QFileDialog>([&](QFileDialog *dialog) {
            filter = dialog->selectedNameFilter();
            dialog->reject();
        });
        QMetaObject::invokeMethod(child.findChild<QObject *>("BtnSave"), "click");
        QCOMPARE(filter, QStringLiteral(".PDF-file (*.pdf)"));
        answerFileDialog(dir.filePath(QStringLiteral("copy.pdf")));
        QMetaObject::invokeMethod(child.findChild<QObject *>("BtnSave"), "click");
        QCOMPARE(readFile(dir.filePath(QStringLiteral("copy.pdf"))), *data.Blob);
    }

    void saveWritesTheTreeAndSaveAsAsksForWhatIsMissing()
    {
        QTemporaryDir dir;
        FakeMainServices main;
        DatabaseWindow child(main);
        QSignalSpy captions(&child, &DatabaseWindow::captionChanged);
        child.addElement(NewElement::Folder, false);
        child.addElement(NewElement::Key, false)->data().Detail = "pin";
        QVERIFY(child.isModified());

        // Never saved, no password: the password dialog (confirmation layout), then the path.
        PasswordDialogState seen;
        answerPasswordDialog(QByteArray("pw"), &seen);
        answerFileDialog(dir.filePath(QStringLiteral("db")));
        QVERIFY(child.save());
        QVERIFY(seen.confirmationMode);
        const QString path = dir.filePath(QStringLiteral("db.kvdb"));
        QCOMPARE(child.filePath(), path);
        QCOMPARE(child.caption(), QStringLiteral("db.kvdb"));
        QCOMPARE(captions.last().first().toString(), QStringLiteral("db.kvdb"));
        QCOMPARE(main.m_trayHint, QStringLiteral("db.kvdb"));
        QCOMPARE(main.m_recent, QStringList{path});
        QCOMPARE(child.password(), "pw");
        QVERIFY(!child.isModified());
        QCOMPARE(QFile::permissions(path) & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
        ElementTree loaded;
        QVERIFY(loadDatabaseFile(loaded, path, "pw"));
        QCOMPARE(loaded.count(), 2);
        QCOMPARE(loaded.childAt(loaded.firstRoot(), 0)->data().Detail, "pin");

        // Save goes to the same path without asking.
        child.addElement(NewElement::Entry, false);
        QVERIFY(child.save());
        QVERIFY(loadDatabaseFile(loaded, path, "pw"));
        QCOMPARE(loaded.count(), 3);

        // Save as: a cancelled dialog saves nothing.
        answerFileDialog(QString());
        QVERIFY(!child.saveAs());
        answerFileDialog(dir.filePath(QStringLiteral("other.kvdb")));
        QVERIFY(child.saveAs());
        QCOMPARE(child.caption(), QStringLiteral("other.kvdb"));

        // A window that opens it shows it unchanged.
        DatabaseWindow reopened(main);
        reopened.setPassword("wrong");
        QVERIFY(!reopened.loadDatabase(path));
        QVERIFY(reopened.tree().isEmpty());
        reopened.setPassword("pw");
        QVERIFY(reopened.loadDatabase(path));
        QCOMPARE(reopened.tree().count(), 3);
        QVERIFY(!reopened.isModified());
        QCOMPARE(reopened.selectedElement(), reopened.tree().firstRoot());
    }

    void closingAsksAndNeverLosesChanges()
    {
        QTemporaryDir dir;
        FakeMainServices main;
        DatabaseWindow child(main);
        QVERIFY(child.canClose());
        child.addElement(NewElement::Key, false);
        Answers answers(MessageBox::Button::Cancel);
        QVERIFY(!child.canClose());
        QCOMPARE(answers.texts(), QStringList{QStringLiteral("Save changes to 'Unnamed'")});
        QCOMPARE(answers.asked().first().buttons,
                 (QList<MessageBox::Button>{MessageBox::Button::Yes, MessageBox::Button::No, MessageBox::Button::Cancel}));
        QVERIFY(child.isModified());

        // Yes, but the password dialog is cancelled: still open, still modified.
        answers.setAnswer(MessageBox::Button::Yes);
        answerPasswordDialog(std::nullopt);
        QVERIFY(!child.canClose());
        QVERIFY(child.isModified());

        // Yes, and the save fails: it says why, and the window stays.
        child.setPassword("pw");
        child.setFilePath(dir.filePath(QStringLiteral("missing/db.kvdb")));
        answers.clear();
        QVERIFY(!child.canClose());
        QCOMPARE(answers.asked().size(), 2);
        QCOMPARE(answers.asked().last().type, MessageBox::Type::Warning);
        QVERIFY(answers.texts().last().contains(QLatin1String("could not be saved")));
        QVERIFY(answers.texts().last().contains(QLatin1String("The folder does not exist.")));
        QVERIFY(child.isModified());

        // Yes with a good path saves and closes.
        child.setFilePath(dir.filePath(QStringLiteral("db.kvdb")));
        QVERIFY(child.canClose());
        QVERIFY(QFile::exists(child.filePath()));
        QVERIFY(!child.isModified());

        // No closes and forgets the changes.
        child.addElement(NewElement::Key, false);
        answers.setAnswer(MessageBox::Button::No);
        answers.clear();
        QVERIFY(child.canClose());
        QCOMPARE(answers.texts().first(), QStringLiteral("Save changes to '%1'").arg(QDir::toNativeSeparators(child.filePath())));
        QVERIFY(!child.isModified());
    }

    void aNameStillBeingEditedIsSavedAndAskedAboutOnClosing()
    {
        QTemporaryDir dir;
        FakeMainServices main;
        DatabaseWindow child(main);
        child.show();
        child.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&child));
        ElementNode *key = child.addElement(NewElement::Key, false);
        child.setPassword("pw");
        child.setFilePath(dir.filePath(QStringLiteral("db.kvdb")));
        QVERIFY(child.save());

        // F2, a name typed, and Ctrl+S while the editor is still open.
        const auto rename = [&child](const char *name) {
            child.action(QStringLiteral("MenChangeEntry"))->trigger();
            auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
            QVERIFY(editor);
            editor->selectAll();
            QTest::keyClicks(editor, QLatin1String(name));
        };
        rename("Bank");
        child.action(QStringLiteral("MenSave"))->trigger();
        ElementTree saved;
        QVERIFY(loadDatabaseFile(saved, child.filePath(), "pw"));
        QCOMPARE(saved.firstRoot()->name(), "Bank");
        QVERIFY(!child.isModified());

        // Closing with the editor open asks: the new name is a change.
        rename("Card");
        Answers answers(MessageBox::Button::Cancel);
        QVERIFY(!child.canClose());
        QCOMPARE(answers.asked().size(), 1);
        QCOMPARE(key->name(), "Card");
        QVERIFY(child.isModified());
    }

    void aFileChangedByAnotherProgramIsNotOverwrittenUnasked()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("db.kvdb"));
        ElementTree theirs;
        theirs.insertElement(nullptr, "Ours", KindKey, KindKey, ElementData());
        QVERIFY(saveDatabase(theirs, path, "pw", true));
        FakeMainServices main;
        DatabaseWindow child(main);
        child.setPassword("pw");
        QVERIFY(child.loadDatabase(path));
        child.addElement(NewElement::Entry, false);

        // Another program writes the file meanwhile.
        theirs.insertElement(nullptr, "Theirs", KindKey, KindKey, ElementData());
        QVERIFY(saveDatabase(theirs, path, "pw", true));
        const QByteArray written = readFile(path);
        Answers answers(MessageBox::Button::No);
        QVERIFY(!child.save());
        QCOMPARE(answers.texts(), QStringList{QStringLiteral(
                                      "The file was changed by another program since it was opened. Overwrite it?")});
        QCOMPARE(answers.asked().first().buttons, (QList<MessageBox::Button>{MessageBox::Button::Yes, MessageBox::Button::No}));
        QVERIFY(child.isModified());
        QCOMPARE(readFile(path), written);

        answers.setAnswer(MessageBox::Button::Yes);
        QVERIFY(child.save());
        ElementTree saved;
        QVERIFY(loadDatabaseFile(saved, path, "pw"));
        QCOMPARE(childNames(saved, nullptr), "New entry|Ours");
        // The window's own save is no change by another program.
        answers.clear();
        child.addElement(NewElement::Key, false);
        QVERIFY(child.save());
        QVERIFY(answers.asked().isEmpty());
    }
};

VAULTBASE_TEST(DatabaseWindowCommandsTest)
#include "DatabaseWindowCommandsTest.moc"
