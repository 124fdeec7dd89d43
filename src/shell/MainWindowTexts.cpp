#include "MainWindowTexts.h"

namespace {

constexpr LanguageText kMainTexts[] = {
    // Words shortcut texts are built from.
    {"m_aMenScShift", "Shift"},
    {"m_aMenScCtrl", "Ctrl"},
    {"m_aMenScAlt", "Alt"},
    {"m_aMenScDelete", "Del"},
    {"m_aMenScInsert", "Ins"},
    {"m_aMenScF", "F"},
    // Menu captions.
    {"MenFile", "File"},
    {"MenNew", "New"},
    {"MenOpen", "Open"},
    {"MenRecentFiles", "Recent"},
    {"MenDeactivate", "Deactivate"},
    {"MenClear", "Clear list"},
    {"MenRecentFolders", "Recent folders"},
    {"MenExit", "Exit"},
    {"MenOptions", "Options"},
    {"MenChangePassword", "Change password"},
    {"MenSettings", "Settings"},
    {"MenPasswordGenerator", "Password generator"},
    {"MenLock", "Lock program"},
    {"MenShowFolder", "Show folder"},
    {"MenRefreshFolder", "Refresh"},
    {"MenWindow", "Window"},
    {"MenOneInstance", "Only one program window"},
    {"MenAllowMultiple", "Allow multiple"},
    {"MenNextWin", "Next window"},
    {"MenLastWin", "Previous window"},
    {"MenTileVertical", "Tile vertically"},
    {"MenTileHorizontal", "Tile horizontally"},
    {"MenCascade", "Cascade"},
    {"MenLanguage", "Language"},
    {"MenUsage", "Help"},
    {"MenInfo", "Info"},
    {"MenLicense", "License"},
    {"MenReadMe", "Changes"},
    {"MenCheckUpdate", "Check for update"},
    // Folder-pane sort menu and tray menu.
    {"PopSortBy", "Sort by"},
    {"PopSortNameAscending", "Name ascending"},
    {"PopSortNameDescending", "Name descending"},
    {"PopSortTypeAscending", "Type ascending"},
    {"PopSortTypeDecending", "Type descending"},
    {"PopSortSizeAscending", "Size ascending"},
    {"PopSortSizeDescending", "Size descending"},
    {"PopSortDateAscending", "Date ascending"},
    {"PopSortDateDescending", "Date descending"},
    {"PopTrayShow", "Show"},
    {"PopTrayLock", "Lock"},
    {"PopTrayExit", "Exit"},
    // Messages and words kept for all windows.
    {"m_aMWrongPassword", "Wrong password!"},
    {"m_aMDiscardChanges", "Save changes to '%s'"},
    {"m_aMNoKeySearch", "No search within key!"},
    {"m_aMSearchFailed", "Search string not found: "},
    {"m_aMEntryFailed", "No matching entry found: "},
    {"m_aMDoubleName", "Duplicate entry name: "},
    {"m_aMNewKey", "New key"},
    {"m_aMNewFolder", "New folder"},
    {"m_aMNewEntry", "New entry"},
    {"m_aMUnnamed", "Unnamed"},
    {"m_aMDelete", "Are you sure to delete '%s'?"},
    {"m_aMOpenFileFilter", "Password file(*.kvdb)|*.kvdb|All files (*.*)|*.*"},
    {"m_aMFileFilter", "Password file(*.kvdb)|*.kvdb"},
    {"m_aMContFilter", "%s-file (*%s)|*%s"},
    {"m_aMExeFilter", "Portable password file (*.exe)|*.exe"},
    {"m_aMAllFilter", "All files (*.*)|*.*"},
    {"m_aMClipboardData",
     "The clipboard still contains Brightway Vaultbase-entry data. Do you want to clear the clipboard?"},
    {"m_aMExportFilter", "HTML files (*.htm)|*.htm|Text files (*.txt)|*.txt"},
    {"m_aMDateCreated", "Created: "},
    {"m_aMDateModified", "Modified: "},
    {"m_aMNo", "No"},
    {"m_aMYes", "Yes"},
    {"m_aMYesToAll", "Yes to all"},
    {"m_aMNoToAll", "No to all"},
    {"m_aMCancel", "Cancel"},
    {"m_aMError", "Error"},
    {"m_aMInformation", "Information"},
    {"m_aMConfirmation", "Confirmation"},
    {"m_aMWarning", "Warning"},
};

constexpr ShortcutText kMainShortcuts[] = {
    {"MenNew", "Ctrl+N"},
    {"MenOpen", "Ctrl+O"},
    {"MenExit", "Ctrl+Q"},
    {"MenLock", "Ctrl+L"},
    {"MenPasswordGenerator", "F12"},
    {"MenRefreshFolder", "F5"},
    {"MenUsage", "F1"},
};

constexpr LanguageText kChildTexts[] = {
    {"LblPassword", "Password"},
    {"MenSave", "Save"},
    {"MenPrint", "Print"},
    {"MenProperties", "Properties"},
    {"MenFind", "Find"},
    {"MenFindEntry", "Find entry"},
    {"MenAddKey", "Add key"},
    {"MenRemoveEntry", "Remove entry"},
    {"MenAddEntry", "Add entry"},
    {"MenAddFolder", "Add folder"},
    {"MenAddSubfolder", "Add subfolder"},
    {"MenAddFile", "Add file"},
    {"MenAddTable", "Add table"},
    {"MenClose", "Close"},
};

constexpr BorrowedText kBorrowed[] = {
    {"BtnPassword", "LblPassword", BorrowedText::Caption},
    {"TbSave", "MenSave", BorrowedText::Hint},
    {"TbPrint", "MenPrint", BorrowedText::Hint},
    {"TbProperties", "MenProperties", BorrowedText::Hint},
    {"TbFind", "MenFind", BorrowedText::Hint},
    {"TbFindEntry", "MenFindEntry", BorrowedText::Hint},
    {"TbAddKey", "MenAddKey", BorrowedText::Hint},
    {"TbRemoveEntry", "MenRemoveEntry", BorrowedText::Hint},
    {"PopKeyAddEntry", "MenAddEntry", BorrowedText::Caption},
    {"PopKeyAddFolder", "MenAddFolder", BorrowedText::Caption},
    {"PopKeyAddSubfolder", "MenAddSubfolder", BorrowedText::Caption},
    {"PopKeyAddFile", "MenAddFile", BorrowedText::Caption},
    {"PopKeyAddTable", "MenAddTable", BorrowedText::Caption},
    {"PopTabsClose", "MenClose", BorrowedText::Caption},
};

constexpr LanguageSection kMainSection{"FrmMain.", kMainTexts, kMainShortcuts};
constexpr LanguageSection kChildSection{"FrmChild.", kChildTexts};

} // namespace

const LanguageSection &mainWindowTexts()
{
    return kMainSection;
}

const LanguageSection &mainWindowChildTexts()
{
    return kChildSection;
}

std::span<const BorrowedText> mainWindowBorrowedTexts()
{
    return kBorrowed;
}
