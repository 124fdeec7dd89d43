#include "ChildTexts.h"

namespace {

constexpr LanguageText kTexts[] = {
    // Menus of the menu bar.
    {"MenFile", "File"},
    {"MenSave", "Save"},
    {"MenSaveAs", "Save as ..."},
    {"MenPortable", "Create portable"},
    {"MenAttachToFile", "Attach to file"},
    {"MenPrint", "Print"},
    {"MenPrintAll", "Print all"},
    {"MenPrintPreview", "Print preview"},
    {"MenClose", "Close"},
    {"MenCloseAll", "Close all"},
    {"MenExport", "Export"},
    {"MenExportSingle", "Export selected"},
    {"MenExportAll", "Export all"},
    {"MenExportAllFiles", "Export all as single files"},
    {"MenExportAllFilesFolders", "Export all as single files (create folders)"},
    {"MenExportFileEntries", "Export all file entries only"},
    {"MenProperties", "Properties"},
    {"MenEdit", "Edit"},
    {"MenCut", "Cut"},
    {"MenCopy", "Copy"},
    {"MenPaste", "Paste"},
    {"MenSelectAll", "Select all"},
    {"MenFind", "Find"},
    {"MenFindNext", "Find next"},
    {"MenElements", "Elements"},
    {"MenAddKey", "Add key"},
    {"MenAddEntry", "Add entry"},
    {"MenAddFile", "Add file"},
    {"MenAddTable", "Add table"},
    {"MenAddFolder", "Add folder"},
    {"MenAddSubfolder", "Add subfolder"},
    {"MenRemoveEntry", "Delete"},
    {"MenChangeEntry", "Change name"},
    {"MenCutEntry", "Cut"},
    {"MenCopyEntry", "Copy"},
    {"MenPasteEntry", "Paste"},
    {"MenFindEntry", "Find entry"},
    {"MenFindNextEntry", "Find next entry"},
    // The tree's pop-up menu.
    {"PopAddKey", "Add key"},
    {"PopAddEntry", "Add entry"},
    {"PopAddFolder", "Add folder"},
    {"PopAddSubfolder", "Add subfolder"},
    {"PopAddFile", "Add file"},
    {"PopAddTable", "Add table"},
    {"PopRemoveEntry", "Delete"},
    {"PopChangeEntry", "Change name"},
    {"PopCutEntry", "Cut"},
    {"PopCopyEntry", "Copy"},
    {"PopPasteEntry", "Paste"},
    // The rich editors' pop-up menu.
    {"PopRdtCut", "Cut"},
    {"PopRdtCopy", "Copy"},
    {"PopCopyPlain", "Copy (plain text)"},
    {"PopRdtPaste", "Paste"},
    {"PopRdtSelectAll", "Select all"},
    // Controls.
    {"LblText", "Username/Description"},
    {"LblPassword", "Password/PIN"},
    {"LblComment", "Comment"},
    {"BtnCopy", "Copy"},
    {"BtnCopyUserName", "Copy"},
    {"BtnView", "View"},
    {"BtnSave", "Save"},
    {"LblTableColumns", "Columns"},
    {"LblTableRows", "Rows"},
    {"LblTableWidth", "Width"},
    // Messages of this window's own.
    {"m_aMNameEmpty", "A name cannot be empty."},
    {"m_aMNameSeparator", "A name cannot contain '<>': "},
    {"m_aMFileMissing", "The file does not exist: "},
    {"m_aMFileNotRead", "The file cannot be read: "},
    {"m_aMFileTooLarge", "The file is too large for a file element (at most 1 GB): "},
    {"m_aMFileNameNotStored", "The file name cannot be stored in a database: "},
    {"m_aMReadingFile", "Reading file ..."},
    {"m_aMFileNotWritten", "The file could not be written: "},
    {"m_aMSaveFailed", "The database could not be saved to '%s'."},
    {"m_aMFolderMissing", "The folder does not exist."},
    {"m_aMFolderReadOnly", "The folder is write-protected."},
    {"m_aMFileReadOnly", "The file is write-protected."},
    {"m_aMDiskProblem", "The disk may be full or the file may be in use."},
};

constexpr ShortcutText kShortcuts[] = {
    {"MenSave", "Ctrl+S"},
    {"MenPrint", "Ctrl+P"},
    {"MenProperties", "Ctrl+I"},
    {"MenSelectAll", "Ctrl+A"},
    {"MenFind", "Ctrl+F"},
    {"MenFindNext", "F3"},
    {"MenAddKey", "Alt+K"},
    {"MenAddEntry", "Alt+E"},
    {"MenAddFile", "Shift+Alt+F"},
    {"MenAddTable", "Alt+T"},
    {"MenAddFolder", "Ctrl+Alt+F"},
    {"MenAddSubfolder", "Ctrl+Alt+S"},
    {"MenChangeEntry", "F2"},
    {"MenFindEntry", "Alt+F"},
    {"MenFindNextEntry", "Alt+F3"},
};

constexpr LanguageSection kSection{"FrmChild.", kTexts, kShortcuts};

} // namespace

const LanguageSection &childWindowTexts()
{
    return kSection;
}
