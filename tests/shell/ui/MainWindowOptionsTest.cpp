#include "MainWindowTestKit.h"

#include "shell/FileListModel.h"
#include "shell/ui/FolderPane.h"
#include "shell/ui/LockCountdown.h"
#include "shell/ui/MainMenus.h"
#include "shell/ui/OptionsDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeView>

using namespace mainwintest;

namespace {

// Does something in the options dialog once it is shown modally, then ends it with OK
// or Cancel; false when the dialog never came (the test fails then).
bool runOptions(MainWindow &window, std::function<void(OptionsDialog &)> act, bool ok = true)
{
    const QPointer<vaultbase::test::ModalAnswerer> answer =
        vaultbase::test::whenModal<OptionsDialog>([act = std::move(act), ok](OptionsDialog *dialog) {
            act(*dialog);
            ok ? dialog->accept() : dialog->reject();
        });
    window.menus().MenSettings->trigger();
    // Ended here: act may capture the caller's locals.
    const bool answered = answer && answer->answered() == 1;
    if (answer) {
        answer->finish();
    }
    return answered;
}

template<typename T>
T *control(OptionsDialog &dialog, const char *name)
{
    return dialog.findChild<T *>(QLatin1String(name));
}

void tick(OptionsDialog &dialog, const char *name, bool on)
{
    control<QCheckBox>(dialog, name)->setChecked(on);
}

QByteArray entry(const QByteArray &key, const QByteArray &value)
{
    return "  <" + key + ">" + value + "</" + key + ">\r\n";
}

} // namespace

// The options dialog and the folder pane in the main window: what OK applies and
// stores, what Cancel leaves, the start-up entry and file, and the pane's settings.
class MainWindowOptionsTest : public QObject
{
    Q_OBJECT

private slots:
    // No answerer outlives its test function.
    void cleanup() { vaultbase::test::finishModalAnswers(); }

    // The start-up entry goes into a configuration folder of the test's own.
    void initTestCase()
    {
        m_savedConfigHome = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
    }

    void cleanupTestCase()
    {
        if (m_savedConfigHome.isNull()) {
            qunsetenv("XDG_CONFIG_HOME");
        } else {
            qputenv("XDG_CONFIG_HOME", m_savedConfigHome);
        }
    }

    void okAppliesEverythingAndStoresIt()
    {
        Program program;
        auto window = program.window();
        QVERIFY(start(*window));
        const QString startupEntry = m_config.filePath(QStringLiteral("autostart/vaultbase.desktop"));
        QVERIFY(runOptions(*window, [](OptionsDialog &dialog) {
            tick(dialog, "ChkShowStatusBar", false);
            tick(dialog, "ChkAddToStartup", true);
            tick(dialog, "ChkLock", true);
            control<QComboBox>(dialog, "CbbLock")->setEditText(QStringLiteral("0"));
        }));
        QVERIFY(!window->statusBar()->isVisibleTo(window.get()));
        QCOMPARE(window->lockCountdown().seconds(), 60);
        QVERIFY(window->lockCountdown().isRunning());
        QVERIFY(readAll(startupEntry).contains(autostartExec()));
        const QByteArray stored = readAll(program.settingsFile());
        QVERIFY(stored.contains(entry("ShowStatusBar", "0")));
        QVERIFY(stored.contains(entry("LockInterval", "0")));

        // The entry's presence ticks the box; turning off storing is itself stored, and
        // what follows is not.
        bool ticked = false;
        QVERIFY(runOptions(*window, [&ticked](OptionsDialog &dialog) {
            ticked = control<QCheckBox>(dialog, "ChkAddToStartup")->isChecked();
            tick(dialog, "ChkAddToStartup", false);
            tick(dialog, "ChkNoIniSave", true);
        }));
        QVERIFY(ticked);
        QVERIFY(!QFile::exists(startupEntry));
        QVERIFY(readAll(program.settingsFile()).contains(entry("NoIniSave", "1")));
        QVERIFY(runOptions(*window, [](OptionsDialog &dialog) { tick(dialog, "ChkShowButtons", false); }));
        QVERIFY(!window->menus().TlbMain->isVisibleTo(window.get()));
        QVERIFY(readAll(program.settingsFile()).contains(entry("ChkShowButtons", "1")));
    }

    void cancelChangesNothing()
    {
        Program program;
        auto window = program.window();
        QVERIFY(start(*window));
        const Settings before = window->settings();
        QVERIFY(runOptions(
            *window,
            [](OptionsDialog &dialog) {
                for (QCheckBox *box : dialog.findChildren<QCheckBox *>()) {
                    box->click();
                }
                for (QComboBox *box : dialog.findChildren<QComboBox *>()) {
                    box->setEditText(QStringLiteral("5"));
                }
                control<QLineEdit>(dialog, "EdtStartupFileName")->setText(QStringLiteral("/elsewhere.kvdb"));
                dialog.resetFont();
                dialog.chooseBackgroundColor(Qt::red);
            },
            false));
        QVERIFY(window->settings() == before);
        QVERIFY(window->statusBar()->isVisibleTo(window.get()));
        QVERIFY(!QFile::exists(program.settingsFile()));
        QVERIFY(!QFile::exists(m_config.filePath(QStringLiteral("autostart/vaultbase.desktop"))));
    }

    void aChangedStartupFileMayBeOpenedAndAMissingOneIsToldAtStart()
    {
        Program program;
        const QString path = program.file(QStringLiteral("Bank.kvdb"));
        QVERIFY(writeDatabase(path, "pw"));
        {
            auto window = program.window();
            QVERIFY(start(*window));
            MessageAnswers yes({MessageBox::Button::Yes});
            PasswordAnswers password({QByteArray("pw")});
            QVERIFY(runOptions(*window, [&path](OptionsDialog &dialog) {
                control<QLineEdit>(dialog, "EdtStartupFileName")->setText(path);
            }));
            QCOMPARE(yes.texts(), QStringList{QStringLiteral("Startup file has been changed to '%1'. Load this file now?").arg(path)});
            QCOMPARE(window->activeChild()->filePath(), path);
            // Unchanged since: nothing is asked.
            QVERIFY(runOptions(*window, [](OptionsDialog &) {}));
            QCOMPARE(yes.requests.size(), 1);
            QVERIFY(window->close());
        }
        QVERIFY(QFile::remove(path));
        MessageAnswers told;
        auto window = program.window();
        QVERIFY(start(*window));
        QCOMPARE(told.texts(), QStringList{QStringLiteral("The file to open at startup does not exist: ") + path});
        QCOMPARE(window->databaseWindows().size(), 1);
        QVERIFY(window->activeChild()->filePath().isEmpty());
    }

    void folderPaneKeepsItsPlaceAndOpensWhatIsDoubleClicked()
    {
        Program program;
        const QString folder = program.folder(QStringLiteral("databases"));
        QVERIFY(writeDatabase(folder + QStringLiteral("/Bank.kvdb"), "pw"));
        QVERIFY(writeFile(folder + QStringLiteral("/photo.jpg"), "jpeg"));
        QVERIFY(writeFile(program.settingsFile(),
                          "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<InitFile>\r\n" + entry("ShowFolder", "1")
                              + entry("FolderWidth", "250") + entry("FolderHeight", "120")
                              + entry("StartupFolder", folder.toUtf8() + "/") + "</InitFile>\r\n"));
        auto window = program.window();
        QVERIFY(start(*window));
        FolderPane &pane = window->folderPane();
        QVERIFY(pane.isVisible());
        QTRY_COMPARE(pane.width(), 250);
        QCOMPARE(pane.folderTree()->height(), 120);
        QTRY_COMPARE(pane.files().rowCount(), 1); // the start-up folder, shortly after the start
        QCOMPARE(pane.files().rows().first().name, QStringLiteral("Bank.kvdb"));

        QVERIFY(writeDatabase(folder + QStringLiteral("/Cards.kvdb"), "pw", "bob"));
        QTest::keyClick(window.get(), Qt::Key_F5);
        QCOMPARE(pane.files().rowCount(), 2);

        PasswordAnswers password({QByteArray("pw")});
        QTreeView *list = pane.fileList();
        const QModelIndex first = pane.files().index(0, 0);
        const QPoint at = list->visualRect(first).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at); // the first click of the two
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QTRY_COMPARE(window->databaseWindows().size(), 2);
        QCOMPARE(window->activeChild()->filePath(), pane.files().rows().first().path());

        window->menus().MenShowFolder->trigger();
        QVERIFY(!pane.isVisible());
        MessageAnswers no({MessageBox::Button::No});
        QVERIFY(window->close());
        const QByteArray stored = readAll(program.settingsFile());
        for (const QByteArray &kept : {entry("ShowFolder", "0"), entry("FolderWidth", "250"), entry("FolderHeight", "120")}) {
            QVERIFY2(stored.contains(kept), kept.constData());
        }
    }

private:
    static QByteArray autostartExec() { return "Exec=\"" + QCoreApplication::applicationFilePath().toUtf8() + "\""; }

    QTemporaryDir m_config;
    QByteArray m_savedConfigHome;
};

VAULTBASE_TEST(MainWindowOptionsTest)
#include "MainWindowOptionsTest.moc"
