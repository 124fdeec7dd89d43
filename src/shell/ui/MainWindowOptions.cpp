// The main window's options: the Settings command and what confirming the options
// dialog applies, the start-up entry, and the folder pane.

#include "MainWindow.h"

#include "DatabaseWindows.h"
#include "FolderPane.h"
#include "LockCountdown.h"
#include "MainMenus.h"
#include "OptionsDialog.h"
#include "OptionsTexts.h"
#include "PaneSplitter.h"
#include "RecentMenu.h"
#include "dbwindow/DatabaseWindow.h"
#include "shell/AutostartEntry.h"
#include "shell/StartupFile.h"
#include "widgets/MessageBox.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMdiArea>

// --- Options dialog ---

void MainWindow::showOptions()
{
    if (m_locked) {
        return;
    }
    m_options->load(m_settings, AutostartEntry().exists());
    if (m_options->exec() == QDialog::Accepted) {
        confirmOptions();
    }
}

// Everything the dialog shows applies at once; the settings file keeps it unless the
// user asked not to store settings (turning that on is itself stored) or the program
// runs on a carried database.
void MainWindow::confirmOptions()
{
    const bool storedBefore = !m_settings.noIniSave;
    m_options->store(m_settings);
    m_settings.defaultDb = StartupFile::resolve(m_settings.defaultDb);
    applySettings();
    if (m_settings.lock) {
        m_countdown->restart(m_settings.lockInterval);
        m_countdown->restore(true);
    }
    if (!m_portable && (storedBefore || !m_settings.noIniSave)) {
        saveSettings();
    }
    updateStartupEntry();
    askToLoadStartupFile();
}

void MainWindow::updateStartupEntry()
{
    const AutostartEntry entry;
    const bool wanted = m_options->startupEntryWanted();
    if (wanted == entry.exists()) {
        return;
    }
    if (!entry.setPresent(wanted, QCoreApplication::applicationFilePath())) {
        MessageBox::show(this, m_language, MessageBox::Type::Warning,
                         m_language.uiText(optionsTexts(), "m_aMStartupEntryFailed") + entry.path());
    }
}

// A changed start-up file that exists and is not the active database may be opened
// now. One that does not exist yet is asked about at a later confirm, once it does.
void MainWindow::askToLoadStartupFile()
{
    const QString path = m_settings.defaultDb;
    if (path == m_seenStartupFile || (!path.isEmpty() && !QFileInfo(path).isFile())) {
        return;
    }
    m_seenStartupFile = path;
    if (path.isEmpty()) {
        return;
    }
    DatabaseWindow *child = activeChild();
    if (child && QFileInfo(child->filePath()) == QFileInfo(path)) {
        return;
    }
    const QString question = m_language.uiText(optionsTexts(), "m_aMLoadPwdFile").replace(QLatin1String("%s"), path);
    if (MessageBox::show(this, m_language, MessageBox::Type::Information, question,
                         MessageBox::Button::Yes | MessageBox::Button::No)
        == MessageBox::Button::Yes) {
        openDatabase(path);
    }
}

// --- Folder pane ---

void MainWindow::buildFolderPane()
{
    m_folderPane = new FolderPane(*m_menus->recentFolders, m_mainSplitter);
    m_mainSplitter->insertWidget(0, m_folderPane);
    m_folderPane->hide();

    MainMenus &m = *m_menus;
    connect(m.MenShowFolder, &QAction::toggled, this, &MainWindow::setFolderPaneShown);
    connect(m.MenRefreshFolder, &QAction::triggered, m_folderPane, &FolderPane::refresh);
    connect(m.recentFolders, &RecentMenu::chosen, this, [this](const QString &folder) {
        m_menus->MenShowFolder->setChecked(true);
        m_folderPane->showFolder(folder, true);
    });
    connect(m_folderPane, &FolderPane::fileOpened, this, [this](const QString &path) { openPickedFile(path); });
    connect(m_folderPane, &FolderPane::activity, this, &MainWindow::restartLockCountdown);
}

void MainWindow::loadFolderPaneSettings()
{
    m_folderPane->setTreeHeight(m_settings.folderHeight);
    m_mainSplitter->setPaneSize(m_settings.folderWidth);
    m_menus->MenShowFolder->setChecked(m_settings.showFolder);
    setFolderPaneShown(m_settings.showFolder);
    if (!m_settings.startupFolder.isEmpty() && QFileInfo(m_settings.startupFolder).isDir()) {
        m_folderPane->showStartupFolderSoon(m_settings.startupFolder);
    }
    m_seenStartupFile = m_settings.defaultDb;
}

void MainWindow::setFolderPaneShown(bool shown)
{
    if (m_menus->MenShowFolder->isChecked() != shown) {
        m_menus->MenShowFolder->setChecked(shown); // comes back here through toggled
        return;
    }
    m_settings.showFolder = shown;
    m_folderPane->setVisible(shown);
    m_mainSplitter->setPaneSize(m_mainSplitter->paneSize()); // back at its width
}
