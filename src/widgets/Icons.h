#pragma once

#include <QIcon>

// The program's icons. Commands take the desktop's icon theme (Adwaita when the desktop
// names none) and fall back to the style's standard icons; the element kinds of the
// tree and the commands that add them are drawn here, so they look alike at 16 and 24
// pixels whatever the theme.
namespace Icons {

enum class Command {
    New,
    Open,
    Save,
    SaveAs,
    Close,
    Print,
    PrintPreview,
    Properties,
    Find,
    FindEntry,
    Replace,
    AddKey,
    AddEntry,
    AddFolder,
    AddSubfolder,
    AddFile,
    AddTable,
    Remove,
    Cut,
    Copy,
    Paste,
    Generate,
    KeyFileOpen,
    KeyFileSave,
    Lock,
    Options,
    Help,
    Info,
    Exit,
};

enum class Element { Folder, OpenFolder, Entry, Key, File, Table };

QIcon command(Command command);
QIcon element(Element element);

// The application's own icon (a key on a vault door), for window titles and the tray.
QIcon application();

} // namespace Icons
