#include "HelpTexts.h"

namespace {

constexpr LanguageText kTexts[] = {
    {"Caption", "Help"},
    {"BtnOK", "Close"},
    {"m_aHelpIntro",
     "Brightway Vaultbase keeps passwords, PINs, notes, tables and whole files in a tree of elements inside one "
     "encrypted database file (.kvdb). Every open database has a window of its own. These are the menu commands."},
    {"m_aHeadFile", "File"},
    {"m_aHeadEdit", "Edit"},
    {"m_aHeadElements", "Elements"},
    {"m_aHeadOptions", "Options"},
    {"m_aHeadWindow", "Window"},
    {"m_aHeadLanguage", "Language"},
    {"m_aHeadHelp", "?"},
    // File
    {"MenNew", "New (Ctrl+N): starts a new, unnamed database in a window of its own."},
    {"MenOpen",
     "Open (Ctrl+O): opens a database file (.kvdb) after asking for its password, or the database carried in "
     "another file. With \"Check for password file nearby\" a key file (.kvky) beside the database supplies the "
     "password."},
    {"MenRecentFiles",
     "Recent: the databases opened last, newest first. \"Clear list\" empties the list, \"Deactivate\" stops it "
     "from taking new entries."},
    {"MenRecentFolders", "Recent folders: the folders used last, kept like the recent databases."},
    {"MenSave", "Save (Ctrl+S): writes the database to its file; a new database asks for a file name and a password."},
    {"MenSaveAs", "Save as: writes the database to a new file and goes on with that file."},
    {"MenPortable", "Create portable: writes a copy of the program that carries the database."},
    {"MenAttachToFile", "Attach to file: appends the database to another file, which keeps working as before."},
    {"MenPrint", "Print (Ctrl+P): prints the selected element."},
    {"MenPrintAll", "Print all: prints every element of the database."},
    {"MenPrintPreview", "Print preview: shows the printed pages before printing."},
    {"MenClose", "Close: closes the database window, asking first when it has unsaved changes."},
    {"MenCloseAll", "Close all: closes every database window."},
    {"MenExport", "Export: writes the selected element, all elements or the attached files to HTML or text files."},
    {"MenProperties", "Properties (Ctrl+I): shows the file's size, date, checksum and the strength of its password."},
    {"MenExit", "Exit (Ctrl+Q): closes every database window and ends the program."},
    // Edit
    {"MenCut", "Cut: cuts the selected text of the editor that has the focus."},
    {"MenCopy", "Copy: copies the selected text; in the password field, the whole password."},
    {"MenPaste", "Paste: pastes text into the editor that has the focus."},
    {"MenUndo", "Undo (Ctrl+Z): takes back the last change of the database; in a field being typed in, its typing first."},
    {"MenRedo", "Redo (Ctrl+Y, Ctrl+Shift+Z): makes the change taken back last again."},
    {"MenSelectAll", "Select all (Ctrl+A): selects the whole text of the editor."},
    {"MenFind", "Find (Ctrl+F): searches the texts of the database."},
    {"MenFindNext", "Find next (F3): finds the next place of the text searched last."},
    // Elements
    {"MenAddKey", "Add key (Alt+K): adds a key: user name, password and comment."},
    {"MenAddEntry", "Add entry (Alt+E): adds a text entry."},
    {"MenAddFile", "Add file (Shift+Alt+F): attaches a whole file to the database; files dropped on the window are attached too."},
    {"MenAddTable", "Add table (Alt+T): adds a table."},
    {"MenAddFolder", "Add folder (Ctrl+Alt+F): adds a folder beside the selected element."},
    {"MenAddSubfolder", "Add subfolder (Ctrl+Alt+S): adds a folder inside the selected folder."},
    {"MenRemoveEntry", "Delete: deletes the selected element with everything in it, after asking."},
    {"MenChangeEntry", "Change name (F2): edits the name of the selected element in the tree."},
    {"MenCutEntry", "Cut: moves the selected element with everything in it to the clipboard."},
    {"MenCopyEntry", "Copy: copies the selected element with everything in it to the clipboard."},
    {"MenPasteEntry", "Paste: inserts the elements from the clipboard at the selected place."},
    {"MenFindEntry", "Find entry (Alt+F): searches the names of the elements."},
    {"MenFindNextEntry", "Find next entry (Alt+F3): finds the next element of that name."},
    // Options
    {"MenChangePassword", "Change password: gives the database a new password, used from its next save."},
    {"MenPasswordGenerator", "Password generator (F12): makes a random password and copies it to the clipboard."},
    {"MenLock", "Lock program (Ctrl+L): hides the databases until the password is entered again."},
    {"MenSettings", "Settings: the program's options."},
    {"MenShowFolder", "Show folder: shows or hides the folder pane with the database files of a folder."},
    {"MenRefreshFolder", "Refresh (F5): reads the folder pane's folder again."},
    // Window
    {"MenAllowMultiple", "Allow multiple: several databases open at once, one tab each; when off, opening a database closes the one open."},
    {"MenOneInstance", "Only one program window: a second start hands its files to the running program."},
    {"MenNextWin", "Next window: activates the next database window."},
    {"MenLastWin", "Previous window: activates the previous database window."},
    {"MenTileVertical", "Tile vertically: shows the database windows side by side."},
    {"MenTileHorizontal", "Tile horizontally: shows the database windows one above the other."},
    {"MenCascade", "Cascade: shows the database windows overlapping."},
    // Language
    {"MenLanguage", "Language: the language of the program's texts; the choice is kept for the next start."},
    // ?
    {"MenUsage", "Help (F1): this summary."},
    {"MenLicense", "License: the license of the program."},
    {"MenReadMe", "Changes: what changed from version to version."},
    {"MenCheckUpdate", "Check for update: opens the maker's page that tells whether a newer version exists."},
    {"MenInfo", "Info: the program's name, version and credits."},
};

constexpr const char *kFile[] = {"MenNew",       "MenOpen",     "MenRecentFiles",  "MenRecentFolders",
                                 "MenSave",      "MenSaveAs",   "MenPortable",     "MenAttachToFile",
                                 "MenPrint",     "MenPrintAll", "MenPrintPreview", "MenClose",
                                 "MenCloseAll",  "MenExport",   "MenProperties",   "MenExit"};
constexpr const char *kEdit[] = {"MenCut", "MenCopy", "MenPaste", "MenUndo", "MenRedo", "MenSelectAll", "MenFind", "MenFindNext"};
constexpr const char *kElements[] = {"MenAddKey",      "MenAddEntry",   "MenAddFile",    "MenAddTable",
                                     "MenAddFolder",   "MenAddSubfolder", "MenRemoveEntry", "MenChangeEntry",
                                     "MenCutEntry",    "MenCopyEntry",  "MenPasteEntry", "MenFindEntry",
                                     "MenFindNextEntry"};
constexpr const char *kOptions[] = {"MenChangePassword", "MenPasswordGenerator", "MenLock",
                                    "MenSettings",       "MenShowFolder",        "MenRefreshFolder"};
constexpr const char *kWindow[] = {"MenAllowMultiple",  "MenOneInstance",      "MenNextWin", "MenLastWin",
                                   "MenTileVertical", "MenTileHorizontal", "MenCascade"};
constexpr const char *kLanguage[] = {"MenLanguage"};
constexpr const char *kHelp[] = {"MenUsage", "MenLicense", "MenReadMe", "MenCheckUpdate", "MenInfo"};

constexpr HelpGroup kGroups[] = {
    {"m_aHeadFile", kFile},         {"m_aHeadEdit", kEdit},     {"m_aHeadElements", kElements},
    {"m_aHeadOptions", kOptions},   {"m_aHeadWindow", kWindow}, {"m_aHeadLanguage", kLanguage},
    {"m_aHeadHelp", kHelp},
};

constexpr LanguageSection kSection{"FrmHelp.", kTexts};

} // namespace

const LanguageSection &helpWindowTexts()
{
    return kSection;
}

std::span<const HelpGroup> helpGroups()
{
    return kGroups;
}
