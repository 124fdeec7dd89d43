#include "OptionsTexts.h"

namespace {

constexpr LanguageText kTexts[] = {
    {"Caption", "Settings"},
    {"TabGeneral", "General settings"},
    {"TabLayout", "Layout settings"},
    {"BtnOK", "OK"},
    {"BtnCancel", "Cancel"},
    // General page.
    {"LblFileName", "Open this file at startup:"},
    {"BtnOpen", "Select"},
    {"ChkHidePass", "Hide password characters"},
    {"ChkPasswordDirectEdit", "Allow direct editing of passwords (no confirmation!)"},
    {"ChkAskForPassword", "Always ask for password"},
    {"ChkShowDialogPassword", "Show password in password-dialog"},
    {"ChkCheckForPasswordFile", "Check for password file nearby (insecure)"},
    {"ChkLock", "Lock program after"},
    {"LblLockMinutes", "min"},
    {"ChkLockOnScreenLock", "Lock program when the screen is locked or the computer sleeps"},
    {"LblClipboardClear", "Clear copied passwords from the clipboard after"},
    {"LblClipboardSeconds", "seconds"},
    {"ChkDeleteTempFiles", "Try to delete temporary files from forced program shutdowns"},
    {"ChkAddToStartup", "Run program on system startup"},
    {"ChkRichText", "Rich-text"},
    {"ChkNewEntry", "Set value for new entries"},
    {"LblFileTypes", "File types"},
    {"BtnFileTypesReset", "Reset"},
    {"LblStartupFolder", "Startup folder"},
    {"BtnStartupFolder", "Select"},
    {"ChkNoIniSave", "Do not store program settings"},
    // Layout page.
    {"ChkShowButtons", "Show buttons"},
    {"ChkShowStatusBar", "Show status bar"},
    {"ChkHideCreateDate", "Hide date of creation"},
    {"ChkSmallIcons", "Small icons"},
    {"ChkShowTrayIcon", "Show tray icon"},
    {"ChkLockOnTray", "Lock on sending to system-tray"},
    {"ChkSendToTrayOnClose", "Send to system-tray on close"},
    {"ChkSendToTrayOnStartup", "Send to system-tray on startup"},
    {"LblFont", "Font"},
    {"BtnResetFont", "Reset"},
    {"LblBackgroundColor", "Background color"},
    {"BtnBackgroundColorReset", "Reset"},
    // Messages.
    {"m_aMLoadPwdFile", "Startup file has been changed to '%s'. Load this file now?"},
    {"m_aMLockApplies", "(counts as %s min)"},
    {"m_aMStartupEntryFailed", "The entry that runs the program on system startup could not be changed: "},
};

constexpr LanguageSection kSection{"FrmOpt.", kTexts};

} // namespace

const LanguageSection &optionsTexts()
{
    return kSection;
}
