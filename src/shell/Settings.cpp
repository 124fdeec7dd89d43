#include "Settings.h"

#include "InitFileStore.h"
#include "ScaleForDpi.h"
#include "WindowPos.h"
#include "platform/CodePage.h"

#include <QFileInfo>

namespace {

QString pathFrom(const QByteArray &bytes)
{
    return CodePage::toUnicode(bytes);
}

// A path the code page cannot carry is not stored at all: an altered path would name
// another file.
QByteArray pathBytes(const QString &path)
{
    bool ok = false;
    const QByteArray bytes = CodePage::fromUnicode(path, &ok);
    return ok ? bytes : QByteArray();
}

// A list is read with get text, then get next until an empty value; only entries that
// still exist are kept, in the order read.
template<typename Exists>
QStringList readList(InitFileStore &store, const QByteArray &key, Exists exists)
{
    QStringList list;
    for (QByteArray value = store.getText(key); !value.isEmpty(); value = store.getNext(key)) {
        const QString path = pathFrom(value);
        if (exists(path)) {
            list.append(path);
        }
    }
    return list;
}

void writeList(InitFileStore &store, const QByteArray &key, const QStringList &paths)
{
    for (const QString &path : paths) {
        const QByteArray bytes = pathBytes(path);
        if (!bytes.isEmpty()) {
            store.setText(key, bytes);
        }
    }
}

void readFont(Settings &s, InitFileStore &store, const SettingsEnvironment &env)
{
    s.font = env.baseFont;
    if (s.useFontSettings) {
        s.font.name = store.getText("FontDefName", s.font.name);
        s.font.color = store.getInteger("FontDefColor", s.font.color);
        s.font.charset = store.getInteger("FontDefCharset", s.font.charset);
        if (s.useFontHeight) {
            s.font.height = store.getInteger("FontDefHeight", s.font.height);
        }
        s.font.pitch = store.getInteger("FontDefPitch", s.font.pitch);
    }
    s.font.size = FontNumbers::sizeFromHeight(s.font.height, env.pixelsPerInch);
}

} // namespace

Settings Settings::defaults(const SettingsEnvironment &env)
{
    Settings s;
    s.folderWidth = scaleForDpi(200, env.pixelsPerInch);
    s.folderHeight = scaleForDpi(200, env.pixelsPerInch);
    s.windowTreeWidth = scaleForDpi(225, env.pixelsPerInch);
    s.font = env.baseFont;
    s.font.size = FontNumbers::sizeFromHeight(s.font.height, env.pixelsPerInch);
    s.windowPos = WindowPos::firstPlace(env.screenLeft, env.screenTop, env.screenWidth, env.screenHeight).toText();
    return s;
}

bool Settings::load(const QString &path, const SettingsEnvironment &env)
{
    InitFileStore store(InitFileStore::Xml);
    const bool loaded = store.load(path);
    read(store, env);
    return loaded;
}

void Settings::read(InitFileStore &store, const SettingsEnvironment &env)
{
    const Settings d = defaults(env);
    defaultDb = pathFrom(store.getText("DefaultDB", pathBytes(d.defaultDb)));
    hidePass = store.getFlag("HidePass", d.hidePass);
    editHiddenPass = store.getFlag("EditHiddenPass", d.editHiddenPass);
    alwaysAskForPassword = store.getFlag("AlwaysAksForPassword", d.alwaysAskForPassword);
    showDialogPassword = store.getFlag("ShowDialogPassword", d.showDialogPassword);
    checkForPasswordFile = store.getFlag("CheckForPasswordFile", d.checkForPasswordFile);
    lock = store.getFlag("Lock", d.lock);
    lockInterval = store.getText("LockInterval", d.lockInterval);
    deleteTempFiles = store.getFlag("DeleteTempFiles", d.deleteTempFiles);
    showStatusBar = store.getFlag("ShowStatusBar", d.showStatusBar);
    showButtons = store.getFlag("ChkShowButtons", d.showButtons);
    hideCreateDate = store.getFlag("HideCreateDate", d.hideCreateDate);
    richText = store.getFlag("RichText", d.richText);
    smallIcons = store.getFlag("SmallIcons", d.smallIcons);
    showTrayIcon = store.getFlag("ShowTrayIcon", d.showTrayIcon);
    lockOnTray = store.getFlag("LockOnTray", d.lockOnTray);
    sendToTrayOnClose = store.getFlag("SendToTrayOnClose", d.sendToTrayOnClose);
    sendToTrayOnStartup = store.getFlag("SendToTrayOnStartup", d.sendToTrayOnStartup);
    setNewEntry = store.getFlag("SetNewEntry", d.setNewEntry);
    newEntryValue = store.getText("NewEntryValue", d.newEntryValue);
    backgroundColor = store.getInteger("BackgroundColor", d.backgroundColor);
    checksum = store.getInteger("Checksum", d.checksum);
    noIniSave = store.getFlag("NoIniSave", d.noIniSave);
    allowMultipleWindows = store.getFlag("AllowMultipleWindows", d.allowMultipleWindows);
    showFolder = store.getFlag("ShowFolder", d.showFolder);
    folderWidth = store.getInteger("FolderWidth", d.folderWidth);
    folderHeight = store.getInteger("FolderHeight", d.folderHeight);
    fileTypes = store.getText("FileTypes", d.fileTypes);
    startupFolder = pathFrom(store.getText("StartupFolder", pathBytes(d.startupFolder)));
    languageName = store.getText("LanguageName", d.languageName);
    useBuildInFont = store.getFlag("UseBuildInFont", d.useBuildInFont);
    useFontSettings = store.getFlag("UseFontSettings", d.useFontSettings);
    useFontHeight = store.getFlag("UseFontHeight", d.useFontHeight);
    readFont(*this, store, env);
    windowPos = store.getText("WindowPos", d.windowPos);
    windowTreeWidth = store.getInteger("WindowTreeWidth", d.windowTreeWidth);
    recentDb = readList(store, "RecentDB", [](const QString &p) { return QFileInfo(p).isFile(); });
    deactivateRecentDb = store.getFlag("DeactivateRecentDB", d.deactivateRecentDb);
    recentFolder = readList(store, "RecentFolder", [](const QString &p) { return QFileInfo(p).isDir(); });
    deactivateRecentFolder = store.getFlag("DeactivateRecentFolder", d.deactivateRecentFolder);
    saveBinary = store.getFlag("SaveBinary", d.saveBinary);
    clipboardClearSeconds = store.getInteger("ClipboardClearSeconds", d.clipboardClearSeconds);
    lockOnScreenLock = store.getFlag("LockOnScreenLock", d.lockOnScreenLock);
}

bool Settings::save(const QString &path) const
{
    InitFileStore store(InitFileStore::Xml);
    write(store);
    return store.save(path);
}

void Settings::write(InitFileStore &store) const
{
    store.setText("DefaultDB", pathBytes(defaultDb));
    store.setFlag("HidePass", hidePass);
    store.setFlag("EditHiddenPass", editHiddenPass);
    store.setFlag("AlwaysAksForPassword", alwaysAskForPassword);
    store.setFlag("ShowDialogPassword", showDialogPassword);
    store.setFlag("CheckForPasswordFile", checkForPasswordFile);
    store.setFlag("UseBuildInFont", useBuildInFont);
    store.setFlag("UseFontSettings", useFontSettings);
    store.setFlag("UseFontHeight", useFontHeight);
    store.setText("FontDefName", font.name);
    store.setInteger("FontDefColor", font.color);
    store.setInteger("FontDefHeight", font.height);
    store.setInteger("FontDefSize", font.size);
    store.setInteger("FontDefCharset", font.charset);
    store.setInteger("FontDefPitch", font.pitch);
    store.setFlag("Lock", lock);
    store.setText("LockInterval", lockInterval);
    store.setFlag("DeactivateRecent", deactivateRecentDb);
    store.setFlag("DeleteTempFiles", deleteTempFiles);
    store.setFlag("ShowStatusBar", showStatusBar);
    store.setFlag("ChkShowButtons", showButtons);
    store.setFlag("HideCreateDate", hideCreateDate);
    store.setFlag("RichText", richText);
    store.setFlag("SmallIcons", smallIcons);
    store.setFlag("SaveBinary", saveBinary);
    store.setInteger("WindowTreeWidth", windowTreeWidth);
    store.setFlag("ShowTrayIcon", showTrayIcon);
    store.setFlag("LockOnTray", lockOnTray);
    store.setFlag("SendToTrayOnClose", sendToTrayOnClose);
    store.setFlag("SendToTrayOnStartup", sendToTrayOnStartup);
    store.setFlag("SetNewEntry", setNewEntry);
    store.setText("NewEntryValue", newEntryValue);
    store.setInteger("BackgroundColor", backgroundColor);
    store.setInteger("Checksum", checksum);
    store.setFlag("NoIniSave", noIniSave);
    store.setInteger("AllowMultipleWindows", allowMultipleWindows ? 1 : 0);
    store.setFlag("ShowFolder", showFolder);
    store.setInteger("FolderWidth", folderWidth);
    store.setInteger("FolderHeight", folderHeight);
    store.setText("FileTypes", fileTypes);
    store.setText("StartupFolder", pathBytes(startupFolder));
    store.setText("WindowPos", windowPos);
    store.setFlag("DeactivateRecentDB", deactivateRecentDb);
    writeList(store, "RecentDB", recentDb);
    store.setFlag("DeactivateRecentFolder", deactivateRecentFolder);
    writeList(store, "RecentFolder", recentFolder);
    store.setText("LanguageName", languageName);
    store.setInteger("ClipboardClearSeconds", clipboardClearSeconds);
    store.setFlag("LockOnScreenLock", lockOnScreenLock);
}

bool Settings::canStorePath(const QString &path)
{
    return CodePage::canEncode(path);
}
