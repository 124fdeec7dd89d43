#include "MainWindowTestKit.h"

#include "document/ClipboardFormat.h"
#include "shell/TempFiles.h"
#include "shell/WindowPos.h"
#include "shell/ui/MainMenus.h"
#include "shell/ui/RecentMenu.h"

#include <QAction>
#include <QClipboard>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

using namespace mainwintest;

namespace {

QByteArray settingsText(const QByteArray &entries)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<InitFile>\r\n" + entries + "</InitFile>\r\n";
}

QByteArray entry(const QByteArray &key, const QByteArray &value)
{
    return "  <" + key + ">" + value + "</" + key + ">\r\n";
}

} // namespace

// Closing the program: every window asked, the clipboard question, the settings saved
// (or not) and read back at the next start, the exit clean-up.
class MainWindowCloseTest : public QObject
{
    Q_OBJECT

private slots:
    // No answerer outlives its test function.
    void cleanup() { vaultbase::test::finishModalAnswers(); }

    void closingWithChangesAsksEveryWindowAndCancelRefuses()
    {
        Program program;
        auto window = program.window();
        QVERIFY(start(*window));
        window->activeChild()->setModified(true);
        window->newDatabase();
        window->activeChild()->setModified(true);
        QCOMPARE(window->databaseWindows().size(), 2);
        {
            MessageAnswers cancel({MessageBox::Button::Cancel});
            QVERIFY(!window->close());
            // The first refused: the second was not asked.
            QCOMPARE(cancel.texts(), QStringList{QStringLiteral("Save changes to 'Unnamed'")});
            QCOMPARE(cancel.requests.first().type, MessageBox::Type::Confirmation);
        }
        // No for the first, then Cancel for the second: the first keeps its changes too.
        {
            QList<MessageBox::Button> replies{MessageBox::Button::No, MessageBox::Button::Cancel};
            MessageBox::ScopedAnswerer answer([&replies](const MessageBox::Request &) { return replies.takeFirst(); });
            QVERIFY(!window->close());
            QVERIFY(replies.isEmpty());
        }
        for (DatabaseWindow *child : window->databaseWindows()) {
            QVERIFY(child->isModified());
        }
        QVERIFY(window->isVisible());
        QCOMPARE(window->databaseWindows().size(), 2);
        QVERIFY(!QFile::exists(program.settingsFile()));

        MessageAnswers no({MessageBox::Button::No});
        QVERIFY(window->close());
        QCOMPARE(no.requests.size(), 2);
        QVERIFY(QFile::exists(program.settingsFile()));
        // The instance record names no running program any more.
        QCOMPARE(readAll(StoragePaths::instanceFile(program.storage())).left(4), QByteArray("\xFF\xFF\xFF\xFF"));
    }

    void aFailedSaveKeepsTheProgramOpen()
    {
        Program program;
        auto window = program.window();
        QVERIFY(start(*window));
        DatabaseWindow *child = window->activeChild();
        child->setPassword("pw");
        child->setFilePath(program.file(QStringLiteral("no such folder/db.kvdb")));
        child->setModified(true);
        MessageAnswers yes({MessageBox::Button::Yes, MessageBox::Button::Ok});
        QVERIFY(!window->close());
        QVERIFY(yes.requests.size() >= 2); // the question, then why the save failed
        QVERIFY(window->databaseWindows().contains(child));
        QVERIFY(child->isModified());
        child->setModified(false);
    }

    void noIniSaveLeavesTheSettingsFileUnchanged()
    {
        Program program;
        const QByteArray stored = settingsText(entry("NoIniSave", "1") + entry("WindowPos", "10;20;500;300")
                                               + entry("AllowMultipleWindows", "1"));
        QVERIFY(writeFile(program.settingsFile(), stored));
        auto window = program.window();
        QVERIFY(start(*window));
        QVERIFY(window->settings().noIniSave);
        window->menus().MenAllowMultiple->trigger();
        window->resize(640, 480);
        QVERIFY(window->close());
        QCOMPARE(readAll(program.settingsFile()), stored);
    }

    void settingsComeBackAtTheNextStart()
    {
        Program program;
        const QString database = program.file(QStringLiteral("kept.kvdb"));
        QVERIFY(writeDatabase(database, "pw"));
        {
            auto window = program.window();
            QVERIFY(start(*window));
            // No place stored yet: two thirds of the screen's free area, centred.
            const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
            const WindowPos first = WindowPos::firstPlace(area.left(), area.top(), area.width(), area.height());
            QCOMPARE(window->pos(), QPoint(first.left, first.top));
            QCOMPARE(window->size(), QSize(first.width, first.height));
            window->menus().MenAllowMultiple->trigger();
            PasswordAnswers answers({QByteArray("pw")});
            QVERIFY(window->openPickedFile(database));
            window->move(30, 40);
            window->resize(700, 500);
            window->menus().recentFiles->deactivateAction()->trigger();
            QVERIFY(window->close());
        }
        const QByteArray text = readAll(program.settingsFile());
        QVERIFY(text.contains(entry("AllowMultipleWindows", "0")));
        QVERIFY(text.contains(entry("RecentDB", database.toUtf8())));
        QVERIFY(text.contains(entry("DeactivateRecentDB", "1")));

        auto window = program.window();
        QVERIFY(start(*window));
        QVERIFY(!window->menus().MenAllowMultiple->isChecked());
        QCOMPARE(window->menus().recentFiles->list().paths(), QStringList{database});
        QVERIFY(window->menus().recentFiles->deactivateAction()->isChecked());
        QVERIFY(window->menus().recentFiles->list().isDeactivated());
        QCOMPARE(window->pos(), QPoint(30, 40));
        QCOMPARE(window->size(), QSize(700, 500));
    }

    void statusLineAndToolBarFollowTheirSettings()
    {
        Program program;
        QVERIFY(writeFile(program.settingsFile(),
                          settingsText(entry("ShowStatusBar", "0") + entry("ChkShowButtons", "0")
                                       + entry("WindowPos", "Maximized"))));
        auto window = program.window();
        QVERIFY(start(*window));
        QVERIFY(!window->statusBar()->isVisible());
        QVERIFY(!window->findChild<QToolBar *>(QStringLiteral("TlbMain"))->isVisible());
        QVERIFY(window->windowState() & Qt::WindowMaximized);
        MessageAnswers no({MessageBox::Button::No});
        QVERIFY(window->close());
        QVERIFY(readAll(program.settingsFile()).contains(entry("WindowPos", "Maximized")));
    }

    void clipboardQuestionAtExit()
    {
        Program program;
        {
            auto window = program.window();
            QVERIFY(start(*window));
            MessageAnswers none;
            QApplication::clipboard()->setText(QStringLiteral("plain text"));
            QVERIFY(window->close());
            QVERIFY(none.requests.isEmpty()); // only the program's block is asked about
        }
        auto window = program.window();
        QVERIFY(start(*window));
        auto *block = new QMimeData;
        block->setData(QLatin1String(ClipboardFormat::MimeType), QByteArray("CLASS_TABLE"));
        QApplication::clipboard()->setMimeData(block);
        MessageAnswers yes({MessageBox::Button::Yes});
        QVERIFY(window->close());
        QCOMPARE(yes.texts(), QStringList{QStringLiteral("The clipboard still contains Brightway Vaultbase-entry "
                                                         "data. Do you want to clear the clipboard?")});
        QCOMPARE(yes.requests.first().buttons, QList<MessageBox::Button>({MessageBox::Button::Yes,
                                                                          MessageBox::Button::No}));
        const QMimeData *after = QApplication::clipboard()->mimeData();
        QVERIFY(!after || !after->hasFormat(QLatin1String(ClipboardFormat::MimeType)));
    }

    void temporaryFilesGoAtExit()
    {
        Program program;
        auto window = program.window();
        QVERIFY(start(*window));
        const QString storage = program.storage();
        const QString viewed = TempFiles::write(storage, QDateTime::currentDateTime(), QStringLiteral("a.pdf"), "pdf");
        QVERIFY(!viewed.isEmpty());
        window->tempFiles().add(viewed);
        const QString leftover = storage + QLatin1String(TempFiles::Prefix) + QStringLiteral("19990101-000000.txt");
        QVERIFY(writeFile(leftover, "old"));
        QVERIFY(window->close());
        QVERIFY(!QFile::exists(viewed));
        QVERIFY(!QFile::exists(leftover));
    }
};

VAULTBASE_TEST(MainWindowCloseTest)
#include "MainWindowCloseTest.moc"
