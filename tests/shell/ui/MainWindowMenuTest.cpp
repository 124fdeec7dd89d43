#include "MainWindowTestKit.h"

#include "document/KeyFile.h"
#include "shell/LanguageStore.h"
#include "shell/Version.h"
#include "shell/ui/HelpTexts.h"
#include "shell/ui/MainMenus.h"
#include "shell/ui/RecentMenu.h"
#include "shell/ui/HelpWindow.h"

#include <QAction>
#include <QDesktopServices>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>

using namespace mainwintest;

namespace {

// Takes the addresses the program hands to the desktop instead of a browser or viewer.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    UrlCatcher()
    {
        for (const char *scheme : {"https", "file"}) {
            QDesktopServices::setUrlHandler(QLatin1String(scheme), this, "open");
        }
    }
    ~UrlCatcher() override
    {
        for (const char *scheme : {"https", "file"}) {
            QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
        }
    }
    QList<QUrl> opened;

public slots:
    void open(const QUrl &url) { opened.append(url); }
};

QStringList menuBarTitles(MainWindow &window)
{
    QStringList titles;
    for (QAction *action : window.menuBar()->actions()) {
        titles.append(action->text());
    }
    return titles;
}

} // namespace

// The menu bar, the tool bar, the recent-files menu and the help summary.
class MainWindowMenuTest : public QObject
{
    Q_OBJECT

private slots:
    void theMenuBarFollowsTheActiveWindow()
    {
        Program program;
        auto window = program.window();
        QVERIFY(start(*window));
        QCOMPARE(menuBarTitles(*window), QStringList({QStringLiteral("File"), QStringLiteral("Edit"),
                                                       QStringLiteral("Elements"), QStringLiteral("Options"),
                                                       QStringLiteral("Window"), QStringLiteral("Language"),
                                                       QStringLiteral("?")}));
        // The database window's File menu shows the main window's own commands.
        QMenu *childFile = window->activeChild()->menus().first();
        QVERIFY(childFile->actions().contains(window->menus().MenNew));
        QVERIFY(childFile->actions().contains(window->menus().MenExit));
        QVERIFY(childFile->actions().contains(window->menus().recentFiles->menu()->menuAction()));

        window->closeAllWindows();
        QTRY_VERIFY(window->databaseWindows().isEmpty());
        QCOMPARE(menuBarTitles(*window), QStringList({QStringLiteral("File"), QStringLiteral("Options"),
                                                       QStringLiteral("Window"), QStringLiteral("Language"),
                                                       QStringLiteral("?")}));
        QCOMPARE(window->menuBar()->actions().first(), window->menus().MenFile->menuAction());
        // Without a database window the tool bar's database commands do nothing.
        for (QAction *forwarding : window->menus().forwarding) {
            QVERIFY2(!forwarding->isEnabled(), qPrintable(forwarding->objectName()));
        }
        window->menus().MenNew->trigger();
        QCOMPARE(menuBarTitles(*window).size(), 7);
    }

    void tabsMarkChangesAndTheStatusLineFollowsTheActiveWindow()
    {
        Program program;
        auto window = program.window();
        QVERIFY(start(*window));
        DatabaseWindow *first = window->activeChild();
        ElementNode *key = first->tree().nodeAt(1);
        key->data().Modified = "2001-02-03 04:05:06";
        first->selectElement(key);
        const QString firstStatus = QStringLiteral("Modified: 2001-02-03 04:05:06  ");
        QCOMPARE(window->statusText(), firstStatus);
        window->newDatabase();
        DatabaseWindow *second = window->activeChild();
        QCOMPARE(window->statusText(), QString());

        // The "*" of a modified window, in its tab.
        QTabBar *tabs = window->findChild<QTabBar *>(QStringLiteral("PgcWindows"));
        QVERIFY(tabs);
        first->setModified(true);
        QCOMPARE(tabs->tabText(0), QStringLiteral("Unnamed*"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("Unnamed"));
        first->setModified(false);
        QCOMPARE(tabs->tabText(0), QStringLiteral("Unnamed"));

        // "Next window", then closing a tab: the active window's dates, never the last one's.
        window->menus().MenNextWin->trigger();
        QTRY_COMPARE(window->activeChild(), first);
        QCOMPARE(window->statusText(), firstStatus);
        window->menus().PopTabsClose->trigger();
        QTRY_COMPARE(window->activeChild(), second);
        QCOMPARE(window->statusText(), QString());
    }

    void theToolBarInItsOrderWithIconsEverywhere()
    {
        Program program;
        auto window = program.window();
        QVERIFY(start(*window));
        auto *bar = window->findChild<QToolBar *>(QStringLiteral("TlbMain"));
        QStringList order;
        for (QAction *action : bar->actions()) {
            order.append(action->isSeparator() ? QStringLiteral("|") : action->objectName());
            if (!action->isSeparator() && !action->objectName().isEmpty()) {
                QVERIFY2(!action->icon().isNull(), qPrintable(action->objectName()));
                QVERIFY2(!action->toolTip().isEmpty(), qPrintable(action->objectName()));
            }
        }
        QCOMPARE(order.mid(0, 12), QStringList({QStringLiteral("TbNew"), QStringLiteral("TbOpen"),
                                                QStringLiteral("TbSave"), QStringLiteral("TbPrint"),
                                                QStringLiteral("TbProperties"), QStringLiteral("|"),
                                                QStringLiteral("TbFind"), QStringLiteral("TbFindEntry"),
                                                QStringLiteral("|"), QStringLiteral("TbAddKey"),
                                                QStringLiteral("TbRemoveEntry"), QStringLiteral("|")}));
        auto *addKey = qobject_cast<QToolButton *>(bar->widgetForAction(window->findChild<QAction *>(QStringLiteral("TbAddKey"))));
        QVERIFY(addKey && addKey->menu());
        QStringList items;
        for (QAction *item : addKey->menu()->actions()) {
            items.append(item->text());
            QVERIFY(!item->icon().isNull());
        }
        QCOMPARE(items, QStringList({QStringLiteral("Add entry"), QStringLiteral("Add folder"),
                                     QStringLiteral("Add subfolder"), QStringLiteral("Add file"),
                                     QStringLiteral("Add table")}));
        // PopKey adds beside the selected key, as the window's own command would.
        DatabaseWindow *child = window->activeChild();
        const int before = child->tree().count();
        addKey->menu()->actions().at(0)->trigger();
        QCOMPARE(child->tree().count(), before + 1);
    }

    void seventeenFilesInTheRecentMenuLeaveSixteen()
    {
        Program program;
        auto window = program.window();
        QVERIFY(start(*window));
        window->settings().checkForPasswordFile = true;
        window->menus().MenAllowMultiple->trigger(); // one window at a time
        QVERIFY(writeKeyFile(program.file(QStringLiteral("Default.kvky")), "pw"));
        QStringList paths;
        for (int i = 0; i < 17; ++i) {
            paths.append(program.file(QStringLiteral("db%1.kvdb").arg(i, 2, 10, QLatin1Char('0'))));
            QVERIFY(writeDatabase(paths.last(), "pw"));
            QVERIFY(window->openPickedFile(paths.last()));
        }
        RecentMenu &recent = *window->menus().recentFiles;
        QList<QAction *> entries = recent.entryActions();
        QCOMPARE(entries.size(), 16);
        QCOMPARE(entries.first()->text(), QStringLiteral("db16.kvdb"));
        QCOMPARE(entries.first()->toolTip(), paths.at(16));
        QCOMPARE(entries.last()->toolTip(), paths.at(1)); // the first one opened dropped out

        // Reopening from the menu moves the entry to the top, without a duplicate.
        entries.at(10)->trigger(); // db06
        QCOMPARE(window->activeChild()->filePath(), paths.at(6));
        entries = recent.entryActions();
        QCOMPARE(entries.size(), 16);
        QCOMPARE(entries.first()->toolTip(), paths.at(6));
        QCOMPARE(recent.list().paths().count(paths.at(6)), 1);

        // A vanished file does nothing; a deactivated list takes nothing new.
        QVERIFY(QFile::remove(paths.at(5)));
        recent.entryActions().at(11)->trigger();
        QCOMPARE(window->activeChild()->filePath(), paths.at(6));
        recent.deactivateAction()->trigger();
        QVERIFY(window->openPickedFile(paths.at(0)));
        QCOMPARE(recent.list().paths().first(), paths.at(6));
        recent.clearAction()->trigger();
        QVERIFY(recent.entryActions().isEmpty());
    }

    void helpMenuOpensTheProgramFilesAndTheUpdatePage()
    {
        Program program;
        const QString license = program.paths.licenseFile();
        QVERIFY(writeFile(license, "License text"));
        auto window = program.window();
        QVERIFY(start(*window));
        // "License.txt" is there, "ReadMe.txt" is not.
        QVERIFY(window->menus().MenLicense->isVisible());
        QVERIFY(!window->menus().MenReadMe->isVisible());
        UrlCatcher catcher;
        window->menus().MenLicense->trigger();
        window->menus().MenCheckUpdate->trigger();
        QCOMPARE(catcher.opened.size(), 2);
        QCOMPARE(catcher.opened.at(0), QUrl::fromLocalFile(license));
        QCOMPARE(catcher.opened.at(1).toString(),
                 QStringLiteral("https://www.brightway.example/pages/c_vaulto.php?lang=ENG&progvers=")
                     + QLatin1String(Version::Number));
    }

    void everyMenuCommandHasAHelpEntry()
    {
        Program program;
        auto window = program.window();
        QVERIFY(start(*window));
        QStringList missing;
        const LanguageSection &help = helpWindowTexts();
        for (QAction *top : window->menuBar()->actions()) {
            if (top->menu() == window->menus().MenLanguage) {
                QVERIFY(help.english("MenLanguage"));
                continue;
            }
            for (QAction *item : top->menu()->actions()) {
                const QString name = item->menu() ? item->menu()->objectName() : item->objectName();
                if (!item->isSeparator() && !help.english(name.toLatin1())) {
                    missing.append(name);
                }
            }
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char(' '))));
        const QString summary = window->helpWindow().summaryHtml();
        QVERIFY(summary.contains(QStringLiteral("<b>Open (Ctrl+O)</b>")));
        QVERIFY(summary.contains(QStringLiteral("Tile vertically")));
    }
};

VAULTBASE_TEST(MainWindowMenuTest)
#include "MainWindowMenuTest.moc"
