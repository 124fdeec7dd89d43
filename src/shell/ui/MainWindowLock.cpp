// The program's lock (the lock panel in place of the databases, unlocked by the password
// again), the tray icon, the screen lock of the desktop session, the start-up in the
// tray, and the activity that restarts the lock count-down.

#include "MainWindow.h"

#include "DatabaseWindows.h"
#include "LockCountdown.h"
#include "LockPanel.h"
#include "MainMenus.h"
#include "PaneSplitter.h"
#include "ScreenLockWatcher.h"
#include "TrayIcon.h"
#include "dbwindow/DatabaseWindow.h"
#include "document/KeyFile.h"
#include "tools/SecretClipboard.h"
#include "tools/ui/GeneratorDialog.h"
#include "tools/ui/PasswordDialog.h"
#include "widgets/Icons.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

void MainWindow::buildLock()
{
    m_lockPanel = new LockPanel(m_centre);
    m_centre->addWidget(m_lockPanel);
    m_tray = new TrayIcon(this);
    m_screenLock = new ScreenLockWatcher(this);
    m_secretClipboard = new SecretClipboard(QGuiApplication::clipboard(), this);
    m_generator->setSecretClipboard(m_secretClipboard);
    m_startupMinimize = new QTimer(this);
    m_startupMinimize->setObjectName(QStringLiteral("TimStartupMinimize"));
    m_startupMinimize->setInterval(250);

    connect(m_lockPanel, &LockPanel::passwordRequested, this, &MainWindow::unlock);
    connect(m_menus->MenLock, &QAction::triggered, this, &MainWindow::lock);
    connect(m_menus->PopTabsLock, &QAction::triggered, this, &MainWindow::lock);
    connect(m_countdown, &LockCountdown::expired, this, [this] {
        if (canLock()) {
            lock();
            return;
        }
        restartLockCountdown();
        m_countdown->restore(m_settings.lock);
    });
    connect(m_tray, &TrayIcon::restoreRequested, this, &MainWindow::restoreFromTray);
    connect(m_tray, &TrayIcon::lockRequested, this, &MainWindow::lock);
    connect(m_tray, &TrayIcon::exitRequested, this, &MainWindow::exitFromTray);
    connect(m_screenLock, &ScreenLockWatcher::sessionLocked, this, [this] {
        if (m_settings.lockOnScreenLock) {
            lock();
        }
    });
    connect(m_startupMinimize, &QTimer::timeout, this, &MainWindow::onStartupMinimize);
    m_menus->TlbMain->installEventFilter(this);
}

// --- Lock ---

bool MainWindow::canLock() const
{
    const DatabaseWindow *child = activeChild();
    return child && !child->filePath().isEmpty() && !child->password().isEmpty();
}

void MainWindow::lock()
{
    if (m_locked || !canLock()) {
        return;
    }
    // What is being typed goes into the documents while the commands still run.
    const QList<DatabaseWindow *> windows = databaseWindows();
    for (DatabaseWindow *child : windows) {
        child->commitPendingEdits();
    }
    m_locked = true;
    for (DatabaseWindow *child : windows) {
        child->lockViews();
    }
    m_centre->setCurrentWidget(m_lockPanel);
    hideWindowsForLock();
    m_password->clearFields();
    m_password->setDatabaseFileName({});
    m_tray->setLocked(true);
    m_menus->LblTime->clear();
    m_countdown->stop();
    statusBar()->hide();
    setCommandsLocked(true);
    m_lockPanel->setPicture(Icons::application());
    m_lockPanel->passwordButton()->setFocus();
}

bool MainWindow::unlock()
{
    DatabaseWindow *child = activeChild();
    if (!m_locked || !child) {
        return !m_locked;
    }
    QByteArray entered;
    std::optional<QByteArray> nearby;
    if (m_settings.checkForPasswordFile) {
        nearby = keyFilePasswordFor(child->filePath());
    }
    if (nearby && *nearby == child->password()) {
        entered = *nearby;
    } else {
        const bool timerWasRunning = stopLockTimer();
        m_password->clearFields();
        m_password->setDatabaseFileName(child->filePath());
        const bool accepted = m_password->exec() == QDialog::Accepted;
        entered = m_password->password();
        m_password->clearFields();
        restoreLockTimer(timerWasRunning);
        if (!accepted) {
            return false;
        }
    }
    if (entered != child->password()) {
        return false;
    }
    m_lockPanel->clearPicture();
    m_locked = false;
    for (const QPointer<QWidget> &window : std::as_const(m_hiddenByLock)) {
        if (window) {
            window->show();
        }
    }
    m_hiddenByLock.clear();
    m_countdown->set(m_settings.lockInterval, m_settings.lock);
    m_centre->setCurrentWidget(m_mainSplitter);
    setCommandsLocked(false);
    for (DatabaseWindow *window : databaseWindows()) {
        window->unlockViews();
    }
    statusBar()->setVisible(m_settings.showStatusBar);
    m_tray->setLocked(false);
    child->setFocus();
    openHandedOverFiles();
    return true;
}

// The tool bar and the Language, Options and Window menus; the database windows switch
// their own commands.
void MainWindow::setCommandsLocked(bool locked)
{
    m_menus->TlbMain->setEnabled(!locked);
    for (QMenu *menu : {m_menus->MenLanguage, m_menus->MenOptions, m_menus->MenWindow}) {
        menu->setEnabled(!locked);
    }
    updateForwarding();
}

// Windows of their own that show database contents (the print preview, Find) go out of
// sight too; a modal dialog is left alone, since hiding it would end it and lose its input.
void MainWindow::hideWindowsForLock()
{
    m_hiddenByLock.clear();
    const QList<QWidget *> windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window == this || !window->isVisible() || window->isModal() || window->parentWidget() == nullptr) {
            continue;
        }
        if (window->parentWidget()->window() != this) {
            continue;
        }
        // An open pop-up menu closes for good; it would make no sense after the password.
        if (window->windowType() == Qt::Popup) {
            window->close();
            continue;
        }
        window->hide();
        m_hiddenByLock.append(window);
    }
}

// --- Tray ---

void MainWindow::setTrayHint(const QString &text)
{
    m_tray->setHint(text);
}

QString MainWindow::trayHint() const
{
    return m_tray->hint();
}

void MainWindow::sendToTray()
{
    if (m_tray->isShown() && TrayIcon::isAvailable()) {
        hide();
    } else {
        // Hidden without an icon to bring it back, the program would be lost to the user.
        showMinimized();
    }
    if (m_settings.lockOnTray) {
        lock();
    }
}

void MainWindow::restoreFromTray()
{
    showNormal();
    raise();
    activateWindow();
    openDeferredStartupFile();
}

void MainWindow::exitFromTray()
{
    m_exitRequested = true;
    if (!close()) {
        m_exitRequested = false;
    }
}

// Minimising while the tray icon shows goes to the tray; coming back from a minimised
// start opens the start-up file that waited for it.
void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) {
        return;
    }
    if (isMinimized()) {
        if (m_tray->isShown() && TrayIcon::isAvailable()) {
            QTimer::singleShot(0, this, [this] {
                hide();
                if (m_settings.lockOnTray) {
                    lock();
                }
            });
        }
        return;
    }
    // Not inside the event: opening asks for the password in a loop of its own.
    QTimer::singleShot(0, this, &MainWindow::openDeferredStartupFile);
}

void MainWindow::onStartupMinimize()
{
    m_startupMinimize->stop();
    if (m_minimizeAtStart) {
        sendToTray();
    }
    m_minimizeAtStart = false;
}

void MainWindow::openDeferredStartupFile()
{
    if (m_deferredStartupFile.isEmpty() || !QFileInfo::exists(m_deferredStartupFile) ||
        !m_settings.sendToTrayOnStartup) {
        return;
    }
    const QString path = std::exchange(m_deferredStartupFile, {});
    openPickedFile(path);
}

// --- Activity ---

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    restartLockCountdown();
    QMainWindow::keyPressEvent(event);
}

void MainWindow::mousePressEvent(QMouseEvent *event)
{
    restartLockCountdown();
    QMainWindow::mousePressEvent(event);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_menus->TlbMain && event->type() == QEvent::MouseButtonPress) {
        restartLockCountdown();
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::anyModified() const
{
    const QList<DatabaseWindow *> windows = databaseWindows();
    return std::any_of(windows.cbegin(), windows.cend(), [](const DatabaseWindow *child) { return child->isModified(); });
}
