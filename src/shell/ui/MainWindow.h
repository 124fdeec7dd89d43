#pragma once

#include "dbwindow/MainServices.h"
#include "shell/InstanceFile.h"
#include "shell/LanguageStore.h"
#include "shell/Settings.h"
#include "shell/StoragePaths.h"
#include "shell/TempFiles.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <memory>

class DatabaseWindows;
class FolderPane;
class LockCountdown;
class LockPanel;
class ScreenLockWatcher;
class SecretClipboard;
class TrayIcon;
class QStackedWidget;
class QTimer;
class OptionsDialog;
class PasswordLoop;
class InstanceServer;
class MainMenus;
class PaneSplitter;
class QLabel;
class GeneratorDialog;
class HelpWindow;
class InfoDialog;
class PasswordDialog;
class DatabaseWindow;
struct CarriedDatabase;

// What the main window starts from: its folders, what the settings' defaults depend on,
// the command line (after the program name) and the clock.
struct MainWindowSetup
{
    StoragePaths paths;
    SettingsEnvironment environment;
    QStringList arguments;
    const Clock *clock = nullptr; // the system clock when null
};

// The program's main window: the menus, the tool bar TlbMain, the status line PnlBottom
// and the database windows in the document area. It opens and closes databases, keeps
// the recent lists, applies languages and settings, answers second starts, and offers
// the database windows what they ask of it (MainServices).
//
// The first showing runs the start-up: language menu, installation record, settings,
// instance record and the start-up database (command-line file, else "DefaultDB", else
// a new unnamed database with one folder and one key). startupFinished() follows.
class MainWindow : public QMainWindow, public MainServices
{
    Q_OBJECT

public:
    explicit MainWindow(MainWindowSetup setup, QWidget *parent = nullptr);
    ~MainWindow() override;

    // --- Database windows ---
    DatabaseWindow *activeChild() const;
    QList<DatabaseWindow *> databaseWindows() const;
    // A new database window (path may be empty). With "Allow multiple" unchecked the
    // open window is closed first, with its save question; null when it refused.
    DatabaseWindow *newDatabaseWindow();
    // The password loop: asks for the password (a key file beside the database may
    // answer the first time) until the file loads or the dialog is cancelled.
    bool openIntoWindow(const QString &path, DatabaseWindow *child);
    // A new window with the file opened in it (the window already showing it, activated),
    // or null (the window closed again).
    DatabaseWindow *openDatabase(const QString &path);
    // True while a password is being asked for a file.
    bool isOpening() const;

    // --- Commands ---
    void newDatabase();
    void openDatabaseFromDialog();
    // Opens a picked file (Open, Recent, a drop, the command line): a file already open
    // activates its window; a name not ending in ".kvdb" is first searched for a database
    // carried at its end; every other file is opened as a database.
    DatabaseWindow *openPickedFile(const QString &path);
    // The window showing the file at path (compared as canonical paths), or null.
    DatabaseWindow *windowOfFile(const QString &path) const;
    void changePassword();
    void showGenerator();
    void showHelp();
    void showInfo();
    void checkForUpdate();
    // Settings: the options dialog; OK applies and keeps what it shows.
    void showOptions();
    // Show folder: the folder pane and its splitter shown exactly when checked.
    void setFolderPaneShown(bool shown);
    // Files dropped on the window, in the order dropped: a ".kvdb" file opens and ends the
    // list; the others are attached to the active window, or, with none, the first opens.
    void dropFiles(const QStringList &paths);

    // --- Languages ---
    // Rebuilds the Language menu and applies the wanted language (or the list's
    // default when empty, English when not listed).
    void buildLanguageMenu(const QByteArray &wanted);
    // Applies the language of that Languages.ini entry (-1: the built-in English).
    void chooseLanguage(qsizetype index);
    // Applies the current language's texts to this window and every database window.
    void applyLanguage();

    // --- Settings ---
    // Applies the held settings to this window and every database window.
    void applySettings();
    // Copies what this window holds into the settings and writes the settings file.
    bool saveSettings();
    // The settings file of the storage folder.
    QString settingsFile() const;

    // --- Parts, for the windows that use them and for tests ---
    MainMenus &menus() const { return *m_menus; }
    HelpWindow &helpWindow();
    InfoDialog &infoWindow();
    OptionsDialog &optionsDialog() { return *m_options; }
    FolderPane &folderPane() const { return *m_folderPane; }
    const StoragePaths &paths() const { return m_paths; }
    QString statusText() const;
    bool isStartupFinished() const { return m_startupFinished; }
    // Running on a carried database (a portable copy, or a file with an attached database,
    // found at start-up or opened): the Language menu is hidden, a portable copy's language
    // applies, and confirming the options stores no settings.
    bool isCarriedMode() const { return m_portable; }

    // --- MainServices ---
    LanguageStore &language() override { return m_language; }
    Settings &settings() override { return m_settings; }
    const Clock &clock() const override { return *m_clock; }
    QString storageFolder() const override { return m_storage; }
    TempFiles &tempFiles() override { return m_tempFiles; }
    bool loadingGuard() const override { return m_loadingGuard; }
    void setLoadingGuard(bool on) override { m_loadingGuard = on; }
    bool isLocked() const override { return m_locked; }
    void restartLockCountdown() override;
    bool stopLockTimer() override;
    void restoreLockTimer(bool wasRunning) override;
    void setStatusText(const QString &text) override;
    void setTrayHint(const QString &text) override;
    void addRecentFile(const QString &path) override;
    int treeWidth() const override { return m_settings.windowTreeWidth; }
    void setTreeWidth(int width) override { m_settings.windowTreeWidth = width; }
    PasswordDialog &passwordDialog() override;
    GeneratorDialog &generatorDialog() override;
    QWidget *dialogParent() override { return this; }
    QAction *newAction() override;
    QAction *openAction() override;
    QAction *exitAction() override;
    QMenu *recentFilesMenu() override;
    QMenu *recentFoldersMenu() override;
    void closeAllWindows() override;

    SecretClipboard &secretClipboard() override { return *m_secretClipboard; }

    // --- Lock and tray (MainWindowLock.cpp) ---
    // The active database window has a file name and a password.
    bool canLock() const;
    // Hides every database behind the lock panel, when canLock(); what is being typed is
    // committed first and stays in the documents.
    void lock();
    // The password again (or the key file nearby): true when the program is unlocked. A
    // wrong or cancelled password leaves it locked without a message.
    bool unlock();
    // To the notification area (minimised where there is none), locking with "LockOnTray".
    void sendToTray();
    void restoreFromTray();
    // The tray menu's Exit: closes even with "SendToTrayOnClose".
    void exitFromTray();
    LockCountdown &lockCountdown() { return *m_countdown; }
    LockPanel &lockPanel() const { return *m_lockPanel; }
    TrayIcon &trayIcon() const { return *m_tray; }
    ScreenLockWatcher &screenLockWatcher() const { return *m_screenLock; }
    QString trayHint() const;
    const QString &deferredStartupFile() const { return m_deferredStartupFile; }

signals:
    void startupFinished();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectCommands();
    void startUp();
    void newStartupDatabase();
    void findCarriedDatabase();
    void writeInstanceRecord();
    void loadSettings();
    void applyWindowPos();
    void keepOnScreen();
    void onActiveChanged(DatabaseWindow *child);
    void rebuildMenuBar();
    void updateForwarding();
    void forwardToChild(const QString &command);
    void onOneInstanceToggled(bool on);
    void onAllowMultipleToggled(bool on);
    void onArgumentReceived(const QString &argument);
    void onBringToFront();
    void bringToFront();
    void openHandedOverFiles();
    void setLockCountdownFromSettings();
    void askToClearClipboard();
    void finishClose();
    void openProgramFile(const QString &path);
    void buildFolderPane();
    void loadFolderPaneSettings();
    void confirmOptions();
    void updateStartupEntry();
    void askToLoadStartupFile();
    DatabaseWindow *openCarriedDatabase(const QByteArray &ciphertext, const QString &carrier);
    void buildLock();
    void setCommandsLocked(bool locked);
    void hideWindowsForLock();
    void onStartupMinimize();
    void openDeferredStartupFile();
    bool anyModified() const;
    void enterCarriedMode(const CarriedDatabase &carried);

    StoragePaths m_paths;
    SettingsEnvironment m_environment;
    QStringList m_arguments;
    const Clock *m_clock;
    QString m_storage;
    bool m_storageFromSavePath = false;
    LanguageStore m_language;
    Settings m_settings;
    TempFiles m_tempFiles;
    InstanceFile m_instance;
    InstanceServer *m_server;

    MainMenus *m_menus;
    DatabaseWindows *m_windows;
    QLabel *m_status;
    LockCountdown *m_countdown;
    std::unique_ptr<PasswordDialog> m_password;
    std::unique_ptr<GeneratorDialog> m_generator;
    std::unique_ptr<PasswordLoop> m_passwordLoop;
    std::unique_ptr<HelpWindow> m_help;
    std::unique_ptr<InfoDialog> m_info;
    std::unique_ptr<OptionsDialog> m_options;
    QStackedWidget *m_centre;
    PaneSplitter *m_mainSplitter;
    LockPanel *m_lockPanel = nullptr;
    TrayIcon *m_tray = nullptr;
    ScreenLockWatcher *m_screenLock = nullptr;
    SecretClipboard *m_secretClipboard = nullptr;
    QTimer *m_startupMinimize = nullptr;
    // Windows beside the main window that the lock hid (the print preview, Find), shown
    // again on unlock.
    QList<QPointer<QWidget>> m_hiddenByLock;
    QString m_deferredStartupFile;
    bool m_minimizeAtStart = false;
    bool m_exitRequested = false;
    FolderPane *m_folderPane = nullptr;
    QList<QMetaObject::Connection> m_followed;

    // The start-up file at the last showing of the options dialog that settled it.
    QString m_seenStartupFile;
    QStringList m_handedOver;
    QByteArray m_carriedCiphertext;
    bool m_portable = false;
    bool m_loadingGuard = false;
    bool m_locked = false;
    bool m_firstShowDone = false;
    bool m_startupFinished = false;
    bool m_settingsLoading = false;
    bool m_closed = false;
};
