#pragma once

#include "FontNumbers.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class InitFileStore;

// What the defaults of the settings depend on: the screen and the main window's font.
struct SettingsEnvironment
{
    int pixelsPerInch = 96;
    int screenWidth = 1024;
    int screenHeight = 768;
    // The base font: the system menu font or the main window's own font (per
    // "UseBuildInFont"), with the main window's font height as its height.
    FontNumbers baseFont;
};

// The program's settings as one record. Load reads every key of the settings file in
// its fixed order with its default; save writes them in the fixed save order. Between
// the two the windows read and change the fields. Texts are the code page's bytes;
// file and folder paths are QString and pass through the code page on their way.
struct Settings
{
    QString defaultDb;                         // "DefaultDB"
    bool hidePass = true;                      // "HidePass"
    bool editHiddenPass = false;               // "EditHiddenPass"
    bool alwaysAskForPassword = false;         // "AlwaysAksForPassword"
    bool showDialogPassword = false;           // "ShowDialogPassword"
    bool checkForPasswordFile = false;         // "CheckForPasswordFile"
    bool lock = false;                         // "Lock"
    QByteArray lockInterval = "10";            // "LockInterval", minutes as typed
    bool deleteTempFiles = true;               // "DeleteTempFiles"
    bool showStatusBar = true;                 // "ShowStatusBar"
    bool showButtons = true;                   // "ChkShowButtons"
    bool hideCreateDate = true;                // "HideCreateDate"
    bool richText = true;                      // "RichText"
    bool smallIcons = false;                   // "SmallIcons"
    bool showTrayIcon = false;                 // "ShowTrayIcon"
    bool lockOnTray = false;                   // "LockOnTray"
    bool sendToTrayOnClose = false;            // "SendToTrayOnClose"
    bool sendToTrayOnStartup = false;          // "SendToTrayOnStartup"
    bool setNewEntry = false;                  // "SetNewEntry"
    QByteArray newEntryValue = "%YYYY-%MM-%DD"; // "NewEntryValue"
    qint32 backgroundColor = 0x00FFFFFF;       // "BackgroundColor", COLORREF
    int checksum = 0;                          // "Checksum"
    bool noIniSave = false;                    // "NoIniSave"
    bool allowMultipleWindows = true;          // "AllowMultipleWindows"
    bool showFolder = false;                   // "ShowFolder"
    int folderWidth = 200;                     // "FolderWidth"
    int folderHeight = 200;                    // "FolderHeight"
    QByteArray fileTypes = "*.kvdb";           // "FileTypes"
    QString startupFolder;                     // "StartupFolder"
    QByteArray languageName;                   // "LanguageName"
    bool useBuildInFont = false;               // "UseBuildInFont"
    bool useFontSettings = true;               // "UseFontSettings"
    bool useFontHeight = false;                // "UseFontHeight"
    FontNumbers font;                          // "FontDefName" ... "FontDefPitch", "FontDefSize"
    QByteArray windowPos;                      // "WindowPos"; see WindowPos
    int windowTreeWidth = 225;                 // "WindowTreeWidth"
    QStringList recentDb;                      // every "RecentDB", newest first
    bool deactivateRecentDb = false;           // "DeactivateRecentDB" (also "DeactivateRecent")
    QStringList recentFolder;                  // every "RecentFolder", newest first
    bool deactivateRecentFolder = false;       // "DeactivateRecentFolder"
    bool saveBinary = true;                    // "SaveBinary"
    // Keys the Windows program does not know, written after all of its own.
    int clipboardClearSeconds = 20;            // "ClipboardClearSeconds"
    bool lockOnScreenLock = true;              // "LockOnScreenLock"

    bool operator==(const Settings &) const = default;

    // Every key at its default.
    static Settings defaults(const SettingsEnvironment &env);

    // Loads the settings file; a missing, empty or malformed file gives the defaults
    // and false. Recent entries that no longer exist are dropped.
    bool load(const QString &path, const SettingsEnvironment &env);
    void read(InitFileStore &store, const SettingsEnvironment &env);

    // Writes every key in the save order into a fresh store and saves it.
    bool save(const QString &path) const;
    void write(InitFileStore &store) const;

    // Whether a path can be kept in the settings file (the code page carries every
    // character). A path that cannot is written as an empty value, and left out of
    // the recent lists, rather than stored altered.
    static bool canStorePath(const QString &path);
};
