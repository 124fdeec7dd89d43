// The main window from its first showing to its closing: start-up, settings, languages,
// the instance record, dropped files and the exit.

#include "MainWindow.h"

#include "DatabaseWindows.h"
#include "FolderPane.h"
#include "LockCountdown.h"
#include "LanguageMenu.h"
#include "LockPanel.h"
#include "TrayIcon.h"
#include "MainMenus.h"
#include "OpenTexts.h"
#include "PaneSplitter.h"
#include "RecentMenu.h"
#include "dbwindow/DatabaseWindow.h"
#include "dbwindow/TextFont.h"
#include "document/AttachedDatabase.h"
#include "document/ClipboardFormat.h"
#include "platform/CodePage.h"
#include "shell/DesktopCommandLine.h"
#include "shell/ExitCleanup.h"
#include "shell/InstallationRecord.h"
#include "shell/InstanceChannel.h"
#include "shell/LanguageList.h"
#include "shell/MainWindowTexts.h"
#include "shell/WindowPos.h"
#include "tools/SecretClipboard.h"
#include "widgets/LanguageApplier.h"
#include "widgets/MessageBox.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include <utility>

namespace {

qint32 ownHandle()
{
    return qint32(QCoreApplication::applicationPid());
}

} // namespace

// --- Start-up ---

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (event->spontaneous()) {
        return;
    }
    if (m_firstShowDone) {
        writeInstanceRecord();
        return;
    }
    m_firstShowDone = true;
    startUp();
}

// Runs while the window is about to appear, so the stored place and language apply
// before it is seen; what may ask for a password follows once it is shown.
void MainWindow::startUp()
{
    buildLanguageMenu({});
    findCarriedDatabase();
    QString candidate;
    // The desktop entry's "New database" asks for a new database, not the start-up file.
    const bool newDatabase = m_arguments.value(0) == QLatin1String(DesktopCommandLine::NewDatabase);
    if (!m_portable) {
        candidate = newDatabase ? QString() : m_arguments.value(0);
        if (!m_storageFromSavePath) {
            InstallationRecord::update(m_paths, *m_clock);
        }
    }
    loadSettings();
    if (!m_settings.defaultDb.isEmpty() && candidate.isEmpty() && !newDatabase) {
        candidate = m_settings.defaultDb;
    }
    QTimer::singleShot(0, this, [this, candidate] {
        // The channel and the record come first, so that a second start during a
        // password question finds this program.
        writeInstanceRecord();
        if (m_portable) {
            openCarriedDatabase(std::exchange(m_carriedCiphertext, {}), QCoreApplication::applicationFilePath());
        } else if (!candidate.isEmpty() && QFileInfo::exists(candidate) && m_settings.sendToTrayOnStartup) {
            // Opened when the program first comes back from the tray.
            m_deferredStartupFile = candidate;
        } else if (!candidate.isEmpty() && QFileInfo::exists(candidate)) {
            openPickedFile(candidate);
        } else {
            newStartupDatabase();
            if (!candidate.isEmpty()) {
                MessageBox::show(this, m_language, MessageBox::Type::Warning,
                                 m_language.uiText(openMessageTexts(), "m_aMStartupFileMissing") + candidate);
            }
        }
        if (m_settings.sendToTrayOnStartup) {
            m_minimizeAtStart = true;
            m_startupMinimize->start();
        }
        m_startupFinished = true;
        emit startupFinished();
    });
}

// A database carried in the program's own file makes the program portable: its
// settings and instance record live beside it, a portable copy brings its language.
void MainWindow::findCarriedDatabase()
{
    std::optional<CarriedDatabase> carried = findAttachedDatabase(QCoreApplication::applicationFilePath());
    if (!carried) {
        return;
    }
    enterCarriedMode(*carried);
    m_carriedCiphertext = carried->ciphertext;
    m_storage = m_paths.portableStorageFolder().folder;
    m_storageFromSavePath = false;
    m_instance = InstanceFile(StoragePaths::instanceFile(m_storage));
}

// A new, unnamed database with one folder and one key, as the user would make it.
void MainWindow::newStartupDatabase()
{
    DatabaseWindow *child = newDatabaseWindow();
    if (!child) {
        return;
    }
    child->addElement(NewElement::Folder, false);
    child->addElement(NewElement::Key, false);
    child->setModified(false);
}

void MainWindow::writeInstanceRecord()
{
    m_instance.read();
    m_menus->MenOneInstance->setChecked(m_instance.oneInstance());
    m_server->listen(m_storage, ownHandle());
    m_instance.write(ownHandle(), m_instance.oneInstance());
}

void MainWindow::onOneInstanceToggled(bool on)
{
    m_instance.write(ownHandle(), on);
}

// --- Settings ---

QString MainWindow::settingsFile() const
{
    return StoragePaths::settingsFile(m_storage);
}

void MainWindow::loadSettings()
{
    m_settingsLoading = true;
    m_settings.load(settingsFile(), m_environment);
    m_settingsLoading = false;
    m_menus->recentFiles->load(m_settings.recentDb, m_settings.deactivateRecentDb);
    m_menus->recentFolders->load(m_settings.recentFolder, m_settings.deactivateRecentFolder);
    loadFolderPaneSettings();
    if (!m_settings.languageName.isEmpty() && !m_portable) {
        buildLanguageMenu(m_settings.languageName);
    }
    applyWindowPos();
    applySettings();
}

void MainWindow::applySettings()
{
    m_menus->MenAllowMultiple->setChecked(m_settings.allowMultipleWindows);
    m_windows->setTabbed(m_settings.allowMultipleWindows);
    statusBar()->setVisible(m_settings.showStatusBar && !m_locked);
    m_menus->TlbMain->setVisible(m_settings.showButtons);
    m_tray->setShown(m_settings.showTrayIcon);
    m_secretClipboard->setClearSeconds(m_settings.clipboardClearSeconds);
    m_windows->area()->setBackground(TextFont::color(m_settings.backgroundColor, palette()));
    m_folderPane->setFileTypes(m_settings.fileTypes);
    m_folderPane->setLook(TextFont::fromSettings(m_settings, font()),
                          TextFont::color(m_settings.font.color, QApplication::palette()),
                          TextFont::color(m_settings.backgroundColor, QApplication::palette()));
    for (DatabaseWindow *child : databaseWindows()) {
        child->applySettings();
    }
    if (m_settings.lock) {
        setLockCountdownFromSettings();
    } else {
        m_countdown->switchOff();
    }
}

void MainWindow::applyWindowPos()
{
    WindowPos place{false, x(), y(), width(), height()};
    if (!place.apply(m_settings.windowPos)) {
        return;
    }
    if (place.maximized) {
        setWindowState(windowState() | Qt::WindowMaximized);
        return;
    }
    move(place.left, place.top);
    resize(qMax(place.width, 200), qMax(place.height, 150));
    keepOnScreen();
}

// A place on a screen that is gone, or a size beyond the screen (the default size grows
// with the font's dots per inch), would hide part of the window.
void MainWindow::keepOnScreen()
{
    const QScreen *screen = QGuiApplication::screenAt(geometry().center());
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    if (!screen) {
        return;
    }
    // Room for the frame the window manager adds, its title bar above all.
    const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    const QRect room = screen->availableGeometry().adjusted(0, titleBar, -16, -16);
    resize(size().boundedTo(room.size()));
    const int left = qBound(room.left(), x(), qMax(room.left(), room.right() - width()));
    const int top = qBound(room.top(), y(), qMax(room.top(), room.bottom() - height()));
    move(left, top);
}

bool MainWindow::saveSettings()
{
    const WindowPos place{false, x(), y(), width(), height()};
    m_settings.windowPos = isMaximized() ? QByteArray("Maximized") : place.toText();
    m_settings.recentDb = m_menus->recentFiles->list().paths();
    m_settings.deactivateRecentDb = m_menus->recentFiles->list().isDeactivated();
    m_settings.recentFolder = m_menus->recentFolders->list().paths();
    m_settings.deactivateRecentFolder = m_menus->recentFolders->list().isDeactivated();
    m_settings.allowMultipleWindows = m_menus->MenAllowMultiple->isChecked();
    m_settings.showFolder = m_menus->MenShowFolder->isChecked();
    m_settings.folderWidth = m_mainSplitter->paneSize();
    m_settings.folderHeight = m_folderPane->treeHeight();
    // A carried language has no name: the language chosen before stays the stored one.
    if (!m_portable) {
        m_settings.languageName = m_language.currentName();
    }
    return m_settings.save(settingsFile());
}

// --- Languages ---

void MainWindow::buildLanguageMenu(const QByteArray &wanted)
{
    const LanguageList list = LanguageList::load(m_paths.languagesFile());
    m_language.applyEnglish();
    const qsizetype index = m_menus->languages->rebuild(list, wanted);
    if (index >= 0) {
        const LanguageList::Entry &entry = list.entries.at(index);
        m_language.apply(m_paths.dataFile(CodePage::toUnicode(entry.file)), entry.name);
    }
    applyLanguage();
}

void MainWindow::chooseLanguage(qsizetype index)
{
    const LanguageList &list = m_menus->languages->list();
    if (index < 0 || index >= list.entries.size()) {
        m_language.applyEnglish();
    } else {
        const LanguageList::Entry &entry = list.entries.at(index);
        m_language.apply(m_paths.dataFile(CodePage::toUnicode(entry.file)), entry.name);
    }
    applyLanguage();
    if (DatabaseWindow *child = activeChild()) {
        child->showSelected();
    }
}

void MainWindow::applyLanguage()
{
    applyLanguageTexts(this, m_language, mainWindowTexts());
    const LanguageSection &childTexts = mainWindowChildTexts();
    for (const BorrowedText &borrowed : mainWindowBorrowedTexts()) {
        auto *action = findChild<QAction *>(QLatin1String(borrowed.control));
        if (!action) {
            continue;
        }
        const QString text = m_language.uiText(childTexts, borrowed.key);
        if (borrowed.role == BorrowedText::Hint) {
            action->setToolTip(text);
        } else {
            action->setText(text);
        }
    }
    m_lockPanel->passwordButton()->setText(m_language.uiText(childTexts, "LblPassword"));
    m_lockPanel->placeChildren();
    m_tray->showAction()->setText(m_language.uiText(mainWindowTexts(), "PopTrayShow"));
    m_tray->lockAction()->setText(m_language.uiText(mainWindowTexts(), "PopTrayLock"));
    m_tray->exitAction()->setText(m_language.uiText(mainWindowTexts(), "PopTrayExit"));
    m_menus->PopTabsLock->setText(m_language.uiText(mainWindowTexts(), "PopTrayLock"));
    m_menus->TbNew->setToolTip(captionOf(m_menus->MenNew->text()));
    m_menus->TbOpen->setToolTip(captionOf(m_menus->MenOpen->text()));
    for (DatabaseWindow *child : databaseWindows()) {
        child->applyLanguage();
    }
    m_windows->refreshCaptions();
}

// --- Closing ---

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_closed) {
        event->accept();
        return;
    }
    if (m_settings.sendToTrayOnClose && !m_exitRequested) {
        event->ignore();
        sendToTray();
        return;
    }
    // Changes behind the lock are asked about only once the password was given again.
    if (m_locked && anyModified()) {
        showNormal();
        if (!unlock()) {
            event->ignore();
            return;
        }
    }
    if (!m_windows->canCloseAll()) {
        event->ignore();
        return;
    }
    askToClearClipboard();
    finishClose();
    event->accept();
}

void MainWindow::askToClearClipboard()
{
    if (!activeChild()) {
        return;
    }
    const QMimeData *clip = QApplication::clipboard()->mimeData();
    if (!clip || !clip->hasFormat(QLatin1String(ClipboardFormat::MimeType))) {
        return;
    }
    const MessageBox::Button answer =
        MessageBox::show(this, m_language, MessageBox::Type::Confirmation,
                         m_language.uiText(mainWindowTexts(), "m_aMClipboardData"),
                         MessageBox::Button::Yes | MessageBox::Button::No);
    if (answer == MessageBox::Button::Yes) {
        QApplication::clipboard()->clear();
    }
}

void MainWindow::finishClose()
{
    m_closed = true;
    m_countdown->stop();
    // A password copied by the program goes with it, unless the user copied since.
    m_secretClipboard->clearIfUnchanged();
    m_windows->closeAllWithoutAsking();
    if (!m_settings.noIniSave) {
        saveSettings();
    }
    ExitCleanup::run(m_storage, m_settings.deleteTempFiles, m_tempFiles, m_instance, ownHandle(),
                     m_menus->MenOneInstance->isChecked());
    m_server->close();
}
