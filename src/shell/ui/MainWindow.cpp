#include "MainWindow.h"

#include "DatabaseWindows.h"
#include "FileDropFilter.h"
#include "InfoTexts.h"
#include "LanguageMenu.h"
#include "LockCountdown.h"
#include "MainMenus.h"
#include "OptionsDialog.h"
#include "PaneSplitter.h"
#include "PasswordLoop.h"
#include "RecentMenu.h"
#include "HelpWindow.h"
#include "InfoDialog.h"
#include "dbwindow/DatabaseWindow.h"
#include "platform/Clock.h"
#include "shell/InstanceChannel.h"
#include "shell/UpdatePage.h"
#include "shell/WindowPos.h"
#include "tools/ui/GeneratorDialog.h"
#include "tools/ui/PasswordDialog.h"
#include "widgets/Icons.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

MainWindow::MainWindow(MainWindowSetup setup, QWidget *parent)
    : QMainWindow(parent)
    , m_paths(std::move(setup.paths))
    , m_environment(std::move(setup.environment))
    , m_arguments(std::move(setup.arguments))
    , m_clock(setup.clock ? setup.clock : &SystemClock::instance())
    , m_settings(Settings::defaults(m_environment))
    , m_instance(QString())
    , m_server(new InstanceServer(this))
{
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QLatin1String(ProgramName));
    setWindowIcon(Icons::application());

    const StoragePaths::Storage storage = m_paths.storageFolder();
    m_storage = storage.folder;
    m_storageFromSavePath = storage.fromSavePath;
    m_instance = InstanceFile(StoragePaths::instanceFile(m_storage));

    // The folder pane goes left of the document area once the menus exist.
    // The document area, or the lock panel in its place while locked.
    m_centre = new QStackedWidget(this);
    setCentralWidget(m_centre);
    m_mainSplitter = new PaneSplitter(Qt::Horizontal, m_centre);
    m_mainSplitter->setObjectName(QStringLiteral("SptMain"));
    m_centre->addWidget(m_mainSplitter);
    auto *area = new QMdiArea(m_mainSplitter);
    area->setObjectName(QStringLiteral("PnlWindows"));
    m_mainSplitter->addWidget(area);
    m_windows = new DatabaseWindows(area, this);
    m_menus = new MainMenus(this);
    m_windows->setTabMenu(m_menus->PopTabs);
    m_windows->setTabbed(m_menus->MenAllowMultiple->isChecked());

    statusBar()->setObjectName(QStringLiteral("PnlBottom"));
    m_status = new QLabel(statusBar());
    m_status->setObjectName(QStringLiteral("LblStatus"));
    m_status->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_status->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(m_status, 1);

    m_countdown = new LockCountdown(
        m_menus->LblTime,
        [this]() -> std::optional<bool> {
            DatabaseWindow *child = activeChild();
            if (!child) {
                return std::nullopt;
            }
            return !child->filePath().isEmpty() && !child->password().isEmpty();
        },
        this);

    // The long-lived dialogs; the password dialog uses the generator.
    m_generator = std::make_unique<GeneratorDialog>(m_language, this);
    m_password = std::make_unique<PasswordDialog>(
        m_language, m_settings, *m_generator,
        [this]() -> std::optional<QString> {
            if (DatabaseWindow *child = activeChild()) {
                return child->filePath();
            }
            return std::nullopt;
        },
        this);
    m_passwordLoop = std::make_unique<PasswordLoop>(*m_password, m_language, m_settings, this);
    m_help = std::make_unique<HelpWindow>(m_language, this);
    m_info = std::make_unique<InfoDialog>(m_language, this);
    m_options = std::make_unique<OptionsDialog>(m_language, m_environment, this);
    buildFolderPane();
    buildLock();

    m_menus->MenLicense->setVisible(QFileInfo::exists(m_paths.licenseFile()));
    m_menus->MenReadMe->setVisible(QFileInfo::exists(m_paths.readMeFile()));

    auto *drops = new FileDropFilter(this);
    connect(drops, &FileDropFilter::filesDropped, this, &MainWindow::dropFiles);

    const WindowPos place = WindowPos::firstPlace(m_environment.screenLeft, m_environment.screenTop,
                                                  m_environment.screenWidth, m_environment.screenHeight);
    move(place.left, place.top);
    resize(place.width, place.height);
    keepOnScreen();

    connectCommands();
    rebuildMenuBar();
}

MainWindow::~MainWindow()
{
    // The database windows use this window's services while they go.
    const QList<QMdiSubWindow *> windows = m_windows->area()->subWindowList();
    qDeleteAll(windows);
}

void MainWindow::connectCommands()
{
    MainMenus &m = *m_menus;
    connect(m.MenNew, &QAction::triggered, this, &MainWindow::newDatabase);
    connect(m.MenOpen, &QAction::triggered, this, &MainWindow::openDatabaseFromDialog);
    connect(m.MenExit, &QAction::triggered, this, &QWidget::close);
    connect(m.recentFiles, &RecentMenu::chosen, this, [this](const QString &path) {
        if (QFileInfo::exists(path)) {
            openPickedFile(path);
        }
    });
    connect(m.MenChangePassword, &QAction::triggered, this, &MainWindow::changePassword);
    connect(m.MenPasswordGenerator, &QAction::triggered, this, &MainWindow::showGenerator);
    connect(m.MenAllowMultiple, &QAction::triggered, this, &MainWindow::onAllowMultipleToggled);
    connect(m.MenOneInstance, &QAction::triggered, this, &MainWindow::onOneInstanceToggled);
    connect(m.MenNextWin, &QAction::triggered, m_windows, &DatabaseWindows::activateNext);
    connect(m.MenLastWin, &QAction::triggered, m_windows, &DatabaseWindows::activatePrevious);
    connect(m.MenTileVertical, &QAction::triggered, m_windows, &DatabaseWindows::tileVertically);
    connect(m.MenTileHorizontal, &QAction::triggered, m_windows, &DatabaseWindows::tileHorizontally);
    connect(m.MenCascade, &QAction::triggered, m_windows, &DatabaseWindows::cascade);
    connect(m.languages, &LanguageMenu::chosen, this, &MainWindow::chooseLanguage);
    connect(m.MenUsage, &QAction::triggered, this, &MainWindow::showHelp);
    connect(m.MenInfo, &QAction::triggered, this, &MainWindow::showInfo);
    connect(m.MenCheckUpdate, &QAction::triggered, this, &MainWindow::checkForUpdate);
    connect(m.MenSettings, &QAction::triggered, this, &MainWindow::showOptions);
    connect(m.MenLicense, &QAction::triggered, this, [this] { openProgramFile(m_paths.licenseFile()); });
    connect(m.MenReadMe, &QAction::triggered, this, [this] { openProgramFile(m_paths.readMeFile()); });
    for (QAction *action : std::as_const(m.forwarding)) {
        connect(action, &QAction::triggered, this, [this, action] { forwardToChild(action->data().toString()); });
    }
    connect(m.PopTabsClose, &QAction::triggered, this, [this] {
        if (DatabaseWindow *child = activeChild()) {
            m_windows->close(child, true);
        }
    });
    connect(m_windows, &DatabaseWindows::activeChanged, this, &MainWindow::onActiveChanged);
    // Queued: opening a handed-over file asks for a password in a loop of its own.
    connect(m_server, &InstanceServer::argumentReceived, this, &MainWindow::onArgumentReceived, Qt::QueuedConnection);
    connect(m_server, &InstanceServer::bringToFrontRequested, this, &MainWindow::onBringToFront, Qt::QueuedConnection);
}

// --- Database windows and the menu bar ---

bool MainWindow::isOpening() const
{
    return m_passwordLoop->isAsking();
}

DatabaseWindow *MainWindow::activeChild() const
{
    return m_windows->active();
}

QList<DatabaseWindow *> MainWindow::databaseWindows() const
{
    return m_windows->windows();
}

void MainWindow::onActiveChanged(DatabaseWindow *child)
{
    rebuildMenuBar();
    updateForwarding();
    if (!child) {
        setStatusText({});
        return;
    }
    // The status line shows the dates of the active window's element, not the last one's.
    child->showSelectedStatus();
    setTrayHint(child->caption());
    restartLockCountdown();
}

// While a database window is active its File, Edit and Elements menus stand in for
// this window's File menu; Options, Window, Language and "?" follow in either case.
void MainWindow::rebuildMenuBar()
{
    DatabaseWindow *child = activeChild();
    menuBar()->clear();
    if (child) {
        for (QMenu *menu : child->menus()) {
            menuBar()->addMenu(menu);
        }
    } else {
        menuBar()->addMenu(m_menus->MenFile);
    }
    for (QMenu *menu : m_menus->sharedMenus()) {
        menuBar()->addMenu(menu);
    }
}

// The tool bar's database commands follow the state of the active window's commands.
void MainWindow::updateForwarding()
{
    for (const QMetaObject::Connection &connection : std::as_const(m_followed)) {
        disconnect(connection);
    }
    m_followed.clear();
    DatabaseWindow *child = m_locked ? nullptr : activeChild();
    for (QAction *action : std::as_const(m_menus->forwarding)) {
        QAction *target = child ? child->action(action->data().toString()) : nullptr;
        action->setEnabled(target && target->isEnabled());
        if (target) {
            m_followed.append(connect(target, &QAction::enabledChanged, action, &QAction::setEnabled));
        }
    }
}

void MainWindow::forwardToChild(const QString &command)
{
    DatabaseWindow *child = activeChild();
    QAction *target = child ? child->action(command) : nullptr;
    if (target && target->isEnabled()) {
        target->trigger();
    }
}

DatabaseWindow *MainWindow::newDatabaseWindow()
{
    if (!m_menus->MenAllowMultiple->isChecked()) {
        // One database at a time: the open one goes first, and may refuse.
        if (DatabaseWindow *open = activeChild(); open && !m_windows->close(open, true)) {
            return nullptr;
        }
    }
    auto *child = new DatabaseWindow(*this);
    m_windows->add(child);
    child->applySettings();
    return child;
}

void MainWindow::closeAllWindows()
{
    m_windows->closeAll();
}

void MainWindow::onAllowMultipleToggled(bool on)
{
    m_settings.allowMultipleWindows = on;
    m_windows->setTabbed(on);
}

// --- MainServices ---

void MainWindow::setStatusText(const QString &text)
{
    m_status->setText(text);
}

QString MainWindow::statusText() const
{
    return m_status->text();
}

void MainWindow::addRecentFile(const QString &path)
{
    m_menus->recentFiles->add(path, true);
}

PasswordDialog &MainWindow::passwordDialog()
{
    return *m_password;
}

GeneratorDialog &MainWindow::generatorDialog()
{
    return *m_generator;
}

HelpWindow &MainWindow::helpWindow()
{
    return *m_help;
}

InfoDialog &MainWindow::infoWindow()
{
    return *m_info;
}

QAction *MainWindow::newAction()
{
    return m_menus->MenNew;
}

QAction *MainWindow::openAction()
{
    return m_menus->MenOpen;
}

QAction *MainWindow::exitAction()
{
    return m_menus->MenExit;
}

QMenu *MainWindow::recentFilesMenu()
{
    return m_menus->recentFiles->menu();
}

QMenu *MainWindow::recentFoldersMenu()
{
    return m_menus->recentFolders->menu();
}

// --- Lock count-down ---

void MainWindow::restartLockCountdown()
{
    m_countdown->restart(m_settings.lockInterval);
}

void MainWindow::setLockCountdownFromSettings()
{
    m_countdown->set(m_settings.lockInterval, m_settings.lock);
}

bool MainWindow::stopLockTimer()
{
    return m_countdown->stop();
}

void MainWindow::restoreLockTimer(bool wasRunning)
{
    m_countdown->restore(wasRunning);
}

// --- Help menu ---

void MainWindow::showHelp()
{
    m_help->exec();
}

void MainWindow::showInfo()
{
    m_info->exec();
}

void MainWindow::checkForUpdate()
{
    QDesktopServices::openUrl(UpdatePage::url());
}

void MainWindow::openProgramFile(const QString &path)
{
    if (QFileInfo::exists(path)) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    }
}
