#pragma once

#include <QList>
#include <QObject>

class LanguageMenu;
class QAction;
class QLabel;
class QMainWindow;
class QMenu;
class QToolBar;
class QToolButton;
class RecentMenu;

// The main window's commands: the menus File (MenFile), Options (MenOptions), Window
// (MenWindow), Language (MenLanguage) and "?" (MenHelp) with their items, the tool bar
// TlbMain with its add-key drop-down PopKey, and the tab strip's pop-up PopTabs. Every
// command is one QAction whose objectName is its name, so language texts find it.
// Commands of features built later exist and are disabled.
class MainMenus : public QObject
{
    Q_OBJECT

public:
    explicit MainMenus(QMainWindow *window);

    // File
    QMenu *MenFile;
    QAction *MenNew;
    QAction *MenOpen;
    RecentMenu *recentFiles;
    RecentMenu *recentFolders;
    QAction *MenExit;
    // Options
    QMenu *MenOptions;
    QAction *MenChangePassword;
    QAction *MenPasswordGenerator;
    QAction *MenLock;
    QAction *MenSettings;
    QAction *MenShowFolder;
    QAction *MenRefreshFolder;
    // Window
    QMenu *MenWindow;
    QAction *MenAllowMultiple;
    QAction *MenOneInstance;
    QAction *MenNextWin;
    QAction *MenLastWin;
    QAction *MenTileVertical;
    QAction *MenTileHorizontal;
    QAction *MenCascade;
    // Language
    QMenu *MenLanguage;
    LanguageMenu *languages;
    // ?
    QMenu *MenHelp;
    QAction *MenUsage;
    QAction *MenLicense;
    QAction *MenReadMe;
    QAction *MenCheckUpdate;
    QAction *MenInfo;

    // Tool bar: New and Open are the main window's; the others (TbSave, ..., and the
    // PopKey items) forward to the database window's command named in their data
    // ("MenSave", "MenAddEntry", ...).
    QToolBar *TlbMain;
    QAction *TbNew;
    QAction *TbOpen;
    QList<QAction *> forwarding;
    QMenu *PopKey;
    QLabel *LblTime;

    // Tab strip pop-up.
    QMenu *PopTabs;
    QAction *PopTabsClose;
    QAction *PopTabsLock;

    // The menus after the database window's own: Options, Window, Language, "?".
    QList<QMenu *> sharedMenus() const;

private:
    void buildFile(QMainWindow *window);
    void buildOptions(QMainWindow *window);
    void buildWindow(QMainWindow *window);
    void buildHelp(QMainWindow *window);
    void buildToolBar(QMainWindow *window);
    void buildTabMenu(QMainWindow *window);
    QAction *forwardingAction(const char *objectName, const char *command, const QString &text);
};
