#include "StoragePaths.h"

#include "InitFileStore.h"
#include "ShellFiles.h"
#include "platform/CodePage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString absoluteFolder(const QString &folder)
{
    return StoragePaths::withSlash(QDir::cleanPath(QDir(folder).absolutePath()));
}

// A name from one of the program's files, relative to folder unless absolute; files
// written on Windows separate folders with backslashes.
QString inFolder(const QString &folder, const QString &name)
{
    QString local = name;
    local.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir::cleanPath(QDir(folder).absoluteFilePath(local));
}

// A system-wide folder qualifies when our folder in it, or the folder itself, can be
// written to; creating it is left to the writer.
bool canWriteBelow(const QString &base)
{
    const QFileInfo ours(base + QStringLiteral("/Brightway/Vaultbase"));
    if (ours.exists()) {
        return ours.isDir() && ours.isWritable();
    }
    const QFileInfo brand(base + QStringLiteral("/Brightway"));
    if (brand.exists()) {
        return brand.isDir() && brand.isWritable();
    }
    const QFileInfo info(base);
    return info.isDir() && info.isWritable();
}

} // namespace

StoragePaths::StoragePaths(const QString &programFolder, const QString &userDataBase, const QString &commonDataBase)
    : m_program(absoluteFolder(programFolder))
    , m_userBase(absoluteFolder(userDataBase))
    , m_commonBase(absoluteFolder(commonDataBase))
{
}

StoragePaths StoragePaths::system()
{
    const QString user = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QString common = user;
    const QStringList all = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    for (const QString &candidate : all) {
        if (QDir::cleanPath(candidate) != QDir::cleanPath(user) && canWriteBelow(candidate)) {
            common = candidate;
            break;
        }
    }
    return StoragePaths(QCoreApplication::applicationDirPath(), user, common);
}

QString StoragePaths::savePathFile() const
{
    return m_program + QLatin1String(ShellFiles::SavePath);
}

QString StoragePaths::languagesFile() const
{
    return dataFile(QLatin1String(ShellFiles::Languages));
}

QString StoragePaths::licenseFile() const
{
    return dataFile(QLatin1String(ShellFiles::License));
}

QString StoragePaths::readMeFile() const
{
    return dataFile(QLatin1String(ShellFiles::ReadMe));
}

QString StoragePaths::installationFile() const
{
    return installationFolder() + QLatin1String(ShellFiles::Installation);
}

QString StoragePaths::inProgramFolder(const QString &name) const
{
    return inFolder(m_program, name);
}

QString StoragePaths::dataFile(const QString &name) const
{
    const QString beside = inProgramFolder(name);
    if (QFileInfo::exists(beside)) {
        return beside;
    }
    const QString shared = inFolder(shareFolder(), name);
    return QFileInfo::exists(shared) ? shared : beside;
}

QString StoragePaths::shareFolder() const
{
    return withSlash(QDir::cleanPath(m_program + QStringLiteral("../share/vaultbase")));
}

StoragePaths::Storage StoragePaths::storageFolder() const
{
    InitFileStore savePath(InitFileStore::Plain);
    if (savePath.load(savePathFile())) {
        const QByteArray value = savePath.getText("ApplicationStorage");
        if (!value.isEmpty()) {
            const QString folder = inProgramFolder(CodePage::toUnicode(value));
            if (QFileInfo(folder).isDir()) {
                return {withSlash(folder), true};
            }
        }
    }
    // Never an error: when the folder cannot be made, saving there fails quietly later.
    QDir().mkpath(userDataFolder());
    return {userDataFolder(), false};
}

QString StoragePaths::settingsFile(const QString &storageFolder)
{
    return withSlash(storageFolder) + QLatin1String(ShellFiles::Settings);
}

QString StoragePaths::instanceFile(const QString &storageFolder)
{
    return withSlash(storageFolder) + QLatin1String(ShellFiles::Instance);
}

QString StoragePaths::withSlash(const QString &folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}
