#include "InstallationRecord.h"

#include "InitFileStore.h"
#include "ShellFiles.h"
#include "StoragePaths.h"
#include "Version.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"

#include <QDir>
#include <QFileInfo>

namespace InstallationRecord {

bool isCurrent(const QString &path, const QByteArray &versionText)
{
    InitFileStore store(InitFileStore::Plain);
    return store.load(path) && store.getText("Version") == versionText;
}

bool write(const QString &path, const QString &programFolder, const QByteArray &versionText,
           const QDateTime &now)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        return false;
    }
    bool ok = false;
    QByteArray folder = CodePage::fromUnicode(programFolder, &ok);
    if (!ok) {
        folder.clear(); // a folder the code page cannot carry is left out, not altered
    }
    InitFileStore store(InitFileStore::Plain);
    store.setText("InstallationDirectory", folder);
    store.setText("LanguageFile", ShellFiles::Languages);
    store.setText("IniFile", ShellFiles::Settings);
    store.setText("Version", versionText);
    store.setText("InstallDate", now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1());
    return store.save(path);
}

bool update(const StoragePaths &paths, const Clock &clock)
{
    const QString path = paths.installationFile();
    if (isCurrent(path, Version::Text)) {
        return true;
    }
    return write(path, paths.programFolder(), Version::Text, clock.now());
}

} // namespace InstallationRecord
