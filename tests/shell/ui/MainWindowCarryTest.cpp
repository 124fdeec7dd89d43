#include "MainWindowTestKit.h"

#include "dbwindow/CarriedCopyCommands.h"
#include "document/AttachedDatabase.h"
#include "shell/ui/MainMenus.h"

#include <QAction>
#include <QCryptographicHash>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

#include <sys/stat.h>

using namespace mainwintest;
using vaultbase::test::whenModal;

namespace {

// Answers the next file dialog with path, typed whole into its name field (a save dialog
// asks before replacing a file: Yes), and keeps the name the dialog proposed; then runs
// next (to answer a dialog that follows).
void answerFileDialog(const QString &path, QString *proposed = nullptr, std::function<void()> next = {})
{
    whenModal<QFileDialog>([=](QFileDialog *dialog) {
        if (proposed) {
            *proposed = dialog->selectedFiles().value(0);
        }
        if (dialog->acceptMode() == QFileDialog::AcceptSave && QFileInfo::exists(path)) {
            whenModal<QMessageBox>([](QMessageBox *box) { box->button(QMessageBox::Yes)->click(); });
        }
        if (next) {
            next();
        }
        dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(path);
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

// The first bytes of a file, and a digest of all of it: the program copied may be large.
QByteArray head(const QString &path, qint64 size)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(size) : QByteArray();
}

QByteArray digest(const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    return file.open(QIODevice::ReadOnly) && hash.addData(&file) ? hash.result() : QByteArray();
}

int fileMode(const QString &path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 0777) : -1;
}

} // namespace

// "Create portable" and "Attach to file" from the database window, what they write, and
// the carried-database mode that opening the result puts the program in.
class MainWindowCarryTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { vaultbase::test::finishModalAnswers(); }

    void copiesOpenAgainAndSaveToANewFile_data()
    {
        QTest::addColumn<bool>("portable");
        QTest::newRow("portable copy") << true;
        QTest::newRow("attached file") << false;
    }

    void copiesOpenAgainAndSaveToANewFile()
    {
        QFETCH(bool, portable);
        Program program;
        auto window = program.window();
        QVERIFY(start(*window));
        // A database never saved has nothing to carry.
        QVERIFY(!window->activeChild()->action("MenPortable")->isEnabled());
        const QString database = program.file("bank.kvdb");
        const QString photo = program.file("photo.jpg");
        const QString copy = program.file(portable ? "bank-portable.exe" : "photo-bank.jpg");
        QVERIFY(writeDatabase(database, "pw", "carried"));
        QVERIFY(writeFile(photo, QByteArray(3000, 'j')));
        DatabaseWindow *saved = nullptr;
        {
            PasswordAnswers answers({QByteArray("pw")});
            saved = window->openPickedFile(database);
        }
        QVERIFY(saved && saved->action("MenPortable")->isEnabled() && saved->action("MenAttachToFile")->isEnabled());
        // The copy carries the active language; the window opening it applies that language.
        window->language().loadFromText("FrmChild.MenSave=\"Sichern\"\r\n");

        MessageAnswers messages;
        if (portable) {
            answerFileDialog(copy);
            saved->action("MenPortable")->trigger();
        } else {
            answerFileDialog(photo, nullptr, [copy] { answerFileDialog(copy); });
            saved->action("MenAttachToFile")->trigger();
        }
        QCOMPARE(messages.texts(), QStringList());
        const QString carrier = portable ? QCoreApplication::applicationFilePath() : photo;
        QCOMPARE(head(copy, 3000), head(carrier, 3000));
        QCOMPARE(fileMode(copy), portable ? 0700 : 0600);
        window->language().applyEnglish();
        window->settings().languageName = "Deutsch";

        DatabaseWindow *carried = nullptr;
        {
            PasswordAnswers answers({QByteArray("pw")});
            carried = window->openPickedFile(copy);
        }
        QVERIFY(carried && carried != saved);
        QCOMPARE(carried->tree().nodeAt(1)->data().Content, QByteArray("carried"));
        QVERIFY(window->isCarriedMode());
        QVERIFY(!window->menus().MenLanguage->menuAction()->isVisible());
        QCOMPARE(carried->action("MenSave")->text().section(u'\t', 0, 0),
                 portable ? QStringLiteral("Sichern") : QStringLiteral("Save"));
        QVERIFY(!carried->action("MenPortable")->isEnabled());
        // The carried language has no name: the one chosen before stays stored.
        QVERIFY(window->saveSettings());
        QVERIFY(readAll(program.settingsFile()).contains("<LanguageName>Deutsch</LanguageName>"));

        // Save asks for a new database file beside the carrier; the carrier itself is refused.
        const QByteArray copyDigest = digest(copy);
        QString proposed;
        answerFileDialog(copy, &proposed);
        QVERIFY(!carried->save());
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY(messages.texts().first().startsWith(
            QLatin1String("The file that carries the database is not written over")));
        QCOMPARE(proposed, QFileInfo(copy).absolutePath() + '/' + QFileInfo(copy).completeBaseName() + ".kvdb");
        answerFileDialog(proposed);
        QVERIFY(carried->save());
        QCOMPARE(carried->filePath(), proposed);
        QCOMPARE(digest(copy), copyDigest);
        ElementTree reread;
        QVERIFY(loadDatabaseFile(reread, proposed, "pw"));
        QCOMPARE(reread.count(), 2);
    }

    void refusalsAndFailuresSayWhy_data()
    {
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("message");
        QTest::newRow("the database itself") << "bank.kvdb"
                                             << "The database file itself cannot be replaced by a copy; choose "
                                                "another name: %1/bank.kvdb";
        QTest::newRow("a folder that is not there") << "gone/copy"
                                                    << "The file could not be written: %1/gone/copy\n"
                                                       "The folder does not exist.";
    }

    void refusalsAndFailuresSayWhy()
    {
        QFETCH(QString, destination);
        QFETCH(QString, message);
        Program program;
        auto window = program.window();
        QVERIFY(start(*window));
        const QString database = program.file("bank.kvdb");
        QVERIFY(writeDatabase(database, "pw"));
        const QByteArray before = readAll(database);
        DatabaseWindow *child = nullptr;
        {
            PasswordAnswers answers({QByteArray("pw")});
            child = window->openPickedFile(database);
        }
        QVERIFY(child);
        MessageAnswers messages;
        answerFileDialog(program.file(destination));
        QVERIFY(!child->carriedCopies().createPortable());
        QCOMPARE(messages.texts(), QStringList{message.arg(program.root.path())});
        QCOMPARE(readAll(database), before);
    }
};

VAULTBASE_TEST(MainWindowCarryTest)
#include "MainWindowCarryTest.moc"
