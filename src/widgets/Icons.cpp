#include "Icons.h"

#include "DrawnIcon.h"
#include "IconDrawings.h"

#include <QApplication>
#include <QStandardPaths>
#include <QStyle>

namespace {

// Without a desktop that names an icon theme Qt may look only in "hicolor", which holds
// no action icons, or in no folder at all; the Adwaita theme (installed with the
// program's dependencies) fills in from the system's icon folders.
void useAdwaitaWhenNoThemeIsSet()
{
    static const bool done = [] {
        QStringList paths = QIcon::themeSearchPaths();
        for (const QString &folder :
             QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                       QStandardPaths::LocateDirectory)) {
            if (!paths.contains(folder) && !paths.contains(folder + QLatin1Char('/'))) {
                paths.append(folder);
            }
        }
        QIcon::setThemeSearchPaths(paths);
        if (QIcon::fallbackThemeName().isEmpty() || QIcon::fallbackThemeName() == QLatin1String("hicolor")) {
            QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
        }
        if (QIcon::themeName().isEmpty()) {
            QIcon::setThemeName(QStringLiteral("Adwaita"));
        }
        return true;
    }();
    Q_UNUSED(done);
}

QIcon standard(QStyle::StandardPixmap pixmap)
{
    return QApplication::style()->standardIcon(pixmap);
}

QIcon themed(const char *name, QStyle::StandardPixmap fallback)
{
    useAdwaitaWhenNoThemeIsSet();
    const QString full = QString::fromLatin1(name);
    QIcon icon = QIcon::fromTheme(full);
    if (icon.isNull()) {
        icon = QIcon::fromTheme(full + QLatin1String("-symbolic"));
    }
    return icon.isNull() ? standard(fallback) : icon;
}

QIcon drawn(void (*drawing)(QPainter &))
{
    return drawnIcon(drawing);
}

QIcon added(void (*drawing)(QPainter &))
{
    return withEmblem(drawnIcon(drawing), IconDrawings::plusEmblem);
}

} // namespace

namespace Icons {

QIcon command(Command command)
{
    switch (command) {
    case Command::New:
        return themed("document-new", QStyle::SP_FileIcon);
    case Command::Open:
        return themed("document-open", QStyle::SP_DialogOpenButton);
    case Command::Save:
        return themed("document-save", QStyle::SP_DialogSaveButton);
    case Command::SaveAs:
        return themed("document-save-as", QStyle::SP_DialogSaveButton);
    case Command::Close:
        return themed("window-close", QStyle::SP_DialogCloseButton);
    case Command::Print:
        return themed("document-print", QStyle::SP_FileDialogDetailedView);
    case Command::PrintPreview:
        return themed("document-print-preview", QStyle::SP_FileDialogContentsView);
    case Command::Properties:
        return themed("document-properties", QStyle::SP_FileDialogInfoView);
    case Command::Find:
        return themed("edit-find", QStyle::SP_FileDialogContentsView);
    case Command::FindEntry:
        return withEmblem(themed("edit-find", QStyle::SP_FileDialogContentsView), IconDrawings::entry);
    case Command::Replace:
        return themed("edit-find-replace", QStyle::SP_BrowserReload);
    case Command::AddKey:
        return added(IconDrawings::key);
    case Command::AddEntry:
        return added(IconDrawings::entry);
    case Command::AddFolder:
        return added(IconDrawings::folder);
    case Command::AddSubfolder:
        return added(IconDrawings::openFolder);
    case Command::AddFile:
        return added(IconDrawings::file);
    case Command::AddTable:
        return added(IconDrawings::table);
    case Command::Remove:
        return themed("edit-delete", QStyle::SP_TrashIcon);
    case Command::Cut:
        return themed("edit-cut", QStyle::SP_TrashIcon);
    case Command::Copy:
        return themed("edit-copy", QStyle::SP_FileDialogNewFolder);
    case Command::Paste:
        return themed("edit-paste", QStyle::SP_DialogApplyButton);
    case Command::Generate:
        return drawn(IconDrawings::dice);
    case Command::KeyFileOpen:
        return withEmblem(themed("document-open", QStyle::SP_DialogOpenButton), IconDrawings::keyEmblem);
    case Command::KeyFileSave:
        return withEmblem(themed("document-save", QStyle::SP_DialogSaveButton), IconDrawings::keyEmblem);
    case Command::Lock:
        return themed("system-lock-screen", QStyle::SP_BrowserStop);
    case Command::Options:
        return themed("preferences-system", QStyle::SP_FileDialogDetailedView);
    case Command::Help:
        return themed("help-browser", QStyle::SP_DialogHelpButton);
    case Command::Info:
        return themed("help-about", QStyle::SP_MessageBoxInformation);
    case Command::Exit:
        return themed("application-exit", QStyle::SP_DialogCloseButton);
    }
    return {};
}

QIcon element(Element element)
{
    switch (element) {
    case Element::Folder:
        return drawn(IconDrawings::folder);
    case Element::OpenFolder:
        return drawn(IconDrawings::openFolder);
    case Element::Entry:
        return drawn(IconDrawings::entry);
    case Element::Key:
        return drawn(IconDrawings::key);
    case Element::File:
        return drawn(IconDrawings::file);
    case Element::Table:
        return drawn(IconDrawings::table);
    }
    return {};
}

QIcon application()
{
    return drawn(IconDrawings::vault);
}

} // namespace Icons
