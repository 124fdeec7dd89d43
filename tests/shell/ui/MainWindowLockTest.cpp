#include "MainWindowTestKit.h"

#include "dbwindow/ChildActions.h"
#include "dbwindow/ElementTreeView.h"
#include "dbwindow/FindDialog.h"
#include "document/KeyFile.h"
#include "shell/ui/FolderPane.h"
#include "shell/ui/LockCountdown.h"
#include "shell/ui/LockPanel.h"
#include "shell/ui/MainMenus.h"
#include "shell/ui/ScreenLockWatcher.h"
#include "tools/SecretClipboard.h"

#include <QAction>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

using namespace mainwintest;

namespace {

ElementNode *cardOf(DatabaseWindow *child)
{
    return child->tree().childAt(child->tree().firstRoot(), 0);
}

// Whether the databases are out of sight behind the lock panel.
bool hiddenBehindLock(MainWindow &window)
{
    return window.lockPanel().isVisible() && !window.findChild<QSplitter *>(QStringLiteral("SptMain"))->isVisible() &&
           !window.activeChild()->isVisible();
}

} // namespace

// The lock: Ctrl+L, the count-down, the tray and the screen lock hide the databases until
// the password is given again, and nothing being typed is lost by it.
class MainWindowLockTest : public QObject
{
    Q_OBJECT

    Program m_program;
    QString m_database;

    // The window with the database open and the card selected.
    std::unique_ptr<MainWindow> openWindow()
    {
        PasswordAnswers answers({QByteArray("pw")});
        auto window = m_program.window({m_database});
        if (!start(*window) || !window->activeChild()) {
            return nullptr;
        }
        window->activeChild()->selectElement(cardOf(window->activeChild()));
        return window;
    }

private slots:
    void initTestCase()
    {
        m_database = m_program.file(QStringLiteral("lock.kvdb"));
        QVERIFY(writeDatabase(m_database, "pw"));
    }

    void cleanup() { vaultbase::test::finishModalAnswers(); }

    void unlock_data()
    {
        QTest::addColumn<QList<std::optional<QByteArray>>>("answers");
        QTest::addColumn<bool>("keyFileNearby");
        QTest::addColumn<bool>("unlocked");
        QTest::newRow("right password") << QList<std::optional<QByteArray>>{QByteArray("pw")} << false << true;
        QTest::newRow("wrong password") << QList<std::optional<QByteArray>>{QByteArray("pW")} << false << false;
        QTest::newRow("cancelled") << QList<std::optional<QByteArray>>{std::nullopt} << false << false;
        QTest::newRow("key file nearby") << QList<std::optional<QByteArray>>{} << true << true;
    }

    void unlock()
    {
        QFETCH(QList<std::optional<QByteArray>>, answers);
        QFETCH(bool, keyFileNearby);
        QFETCH(bool, unlocked);
        const QString keyFile = m_program.file(QStringLiteral("lock.kvky"));
        QFile::remove(keyFile);
        if (keyFileNearby) {
            QVERIFY(writeKeyFile(keyFile, "pw"));
        }
        auto window = openWindow();
        QVERIFY(window);
        window->settings().checkForPasswordFile = keyFileNearby;
        DatabaseWindow *child = window->activeChild();
        // Find, a window of its own beside the main window, goes out of sight with the rest.
        child->selectElement(child->tree().firstRoot());
        child->openFind();
        child->selectElement(cardOf(child));
        QVERIFY(child->findDialog()->isVisible());
        QCOMPARE(child->findChild<QLineEdit *>(QStringLiteral("EdtPassword"))->text(), QStringLiteral("pin-1234"));

        window->menus().MenLock->trigger();
        QVERIFY(window->isLocked());
        QVERIFY(hiddenBehindLock(*window));
        // The secrets are out of the editors, the commands off, the count-down stopped.
        QVERIFY(child->findChild<QLineEdit *>(QStringLiteral("EdtPassword"))->text().isEmpty());
        QVERIFY(!child->actions().MenSave->isEnabled());
        QVERIFY(!child->actions().MenAddKey->isEnabled());
        QVERIFY(!window->menus().MenOptions->isEnabled());
        QVERIFY(!window->menus().TlbMain->isEnabled());
        QVERIFY(!window->lockCountdown().isRunning());
        QVERIFY(!window->statusBar()->isVisible());
        QVERIFY(!child->findDialog()->isVisible());

        MessageAnswers messages;
        PasswordAnswers passwords(answers);
        window->lockPanel().passwordButton()->click();
        QCOMPARE(passwords.asked(), int(answers.size()));
        QVERIFY(messages.requests.isEmpty()); // a wrong password says nothing
        QCOMPARE(window->isLocked(), !unlocked);
        QCOMPARE(hiddenBehindLock(*window), !unlocked);
        QCOMPARE(child->findDialog()->isVisible(), unlocked);
        if (unlocked) {
            QCOMPARE(child->findChild<QLineEdit *>(QStringLiteral("EdtPassword"))->text(), QStringLiteral("pin-1234"));
            QVERIFY(child->actions().MenSave->isEnabled());
            QVERIFY(window->menus().MenOptions->isEnabled());
            QCOMPARE(window->folderPane().isVisible(), window->menus().MenShowFolder->isChecked());
        }
    }

    // A never-saved database cannot be locked: its password could not unlock it.
    void unsavedDatabaseIsNotLocked()
    {
        auto window = m_program.window();
        QVERIFY(start(*window));
        window->menus().MenLock->trigger();
        QVERIFY(!window->isLocked());
        QVERIFY(!window->lockPanel().isVisible());
    }

    // The count-down locks while a name and a password are being typed; both are in the
    // database after unlocking, which still has to be saved.
    void countdownLocksWithoutLosingTyping()
    {
        auto window = openWindow();
        QVERIFY(window);
        DatabaseWindow *child = window->activeChild();
        auto *password = child->findChild<QLineEdit *>(QStringLiteral("EdtPassword"));
        auto *name = child->findChild<QLineEdit *>(QStringLiteral("EdtName"));
        window->settings().hidePass = false;
        child->applySettings();
        password->setFocus();
        password->selectAll();
        QTest::keyClicks(password, QStringLiteral("new-pin"));
        name->setFocus();
        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("Visa"));

        window->settings().lock = true;
        window->settings().lockInterval = "1";
        window->applySettings();
        window->restartLockCountdown();
        for (int second = 0; second < 30; ++second) {
            window->lockCountdown().tick();
        }
        QTest::mouseClick(child->findChild<ElementTreeView *>()->viewport(), Qt::LeftButton); // a minute again
        QCOMPARE(window->lockCountdown().seconds(), 60);
        for (int second = 0; second < 59; ++second) {
            window->lockCountdown().tick();
        }
        QVERIFY(!window->isLocked());
        window->lockCountdown().tick();
        QVERIFY(window->isLocked());
        QVERIFY(name->text().isEmpty());

        PasswordAnswers answers({QByteArray("pw")});
        QVERIFY(window->unlock());
        QCOMPARE(cardOf(child)->name(), QByteArray("Visa"));
        QCOMPARE(cardOf(child)->data().Detail, QByteArray("new-pin"));
        QVERIFY(child->isModified());
        QCOMPARE(password->text(), QStringLiteral("new-pin"));
        QVERIFY(window->lockCountdown().isRunning());
    }

    // The screen lock and going to the tray lock as their settings say; exiting while a
    // changed database is locked asks for the password before the save question.
    void sessionTrayAndExit_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("setting");
        QTest::addColumn<bool>("locks");
        QTest::newRow("screen lock, followed") << "screen" << true << true;
        QTest::newRow("screen lock, ignored") << "screen" << false << false;
        QTest::newRow("to the tray, locking") << "tray" << true << true;
        QTest::newRow("to the tray, not locking") << "tray" << false << false;
    }

    void sessionTrayAndExit()
    {
        QFETCH(QString, how);
        QFETCH(bool, setting);
        QFETCH(bool, locks);
        auto window = openWindow();
        QVERIFY(window);
        DatabaseWindow *child = window->activeChild();
        child->renameElement(cardOf(child), "Visa");
        window->settings().lockOnScreenLock = setting;
        window->settings().lockOnTray = setting;
        if (how == QLatin1String("screen")) {
            emit window->screenLockWatcher().sessionLocked();
        } else {
            window->sendToTray(); // no tray here: minimised instead of hidden
            QVERIFY(window->isMinimized());
        }
        QCOMPARE(window->isLocked(), locks);
        window->restoreFromTray();
        QCOMPARE(window->lockPanel().isVisible(), locks);

        window->secretClipboard().copy(QStringLiteral("pin-1234"));
        PasswordAnswers answers(locks ? QList<std::optional<QByteArray>>{QByteArray("pw")}
                                      : QList<std::optional<QByteArray>>{});
        MessageAnswers messages({MessageBox::Button::No});
        window->exitFromTray();
        QCOMPARE(answers.asked(), locks ? 1 : 0);
        QCOMPARE(messages.requests.size(), 1); // the save question, answered No
        QVERIFY(!window->isVisible());
        QVERIFY(QGuiApplication::clipboard()->text().isEmpty()); // the copied PIN went with it
    }

    // Sent to the tray at start-up, the program opens its start-up file only when it
    // comes back.
    void startupFileWaitsForTheFirstRestore()
    {
        Program program;
        QVERIFY(writeFile(program.settingsFile(), "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<InitFile>\r\n  <DefaultDB>"
                                                      + m_database.toUtf8()
                                                      + "</DefaultDB>\r\n  <SendToTrayOnStartup>1</SendToTrayOnStartup>\r\n"
                                                        "</InitFile>\r\n"));
        auto window = program.window();
        QVERIFY(start(*window));
        QVERIFY(window->databaseWindows().isEmpty());
        QCOMPARE(window->deferredStartupFile(), m_database);
        QVERIFY(QTest::qWaitFor([&window] { return window->isMinimized(); }, 5000));

        PasswordAnswers answers({QByteArray("pw")});
        window->restoreFromTray();
        QCOMPARE(answers.asked(), 1);
        QVERIFY(window->activeChild());
        QCOMPARE(window->activeChild()->filePath(), m_database);
        QVERIFY(window->deferredStartupFile().isEmpty());
    }
};

VAULTBASE_TEST(MainWindowLockTest)
#include "MainWindowLockTest.moc"
