#include "TempFiles.h"

#include "StoragePaths.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

QString TempFiles::extensionOf(const QString &fileName)
{
    const qsizetype separator = qMax(qMax(fileName.lastIndexOf(QLatin1Char('/')), fileName.lastIndexOf(QLatin1Char('\\'))),
                                     fileName.lastIndexOf(QLatin1Char(':')));
    const QString name = fileName.mid(separator + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}

QString TempFiles::pathFor(const QString &storageFolder, const QDateTime &now, const QString &fileName)
{
    return StoragePaths::withSlash(storageFolder) + QLatin1String(Prefix)
        + now.toString(QStringLiteral("yyyyMMdd-HHmmss")) + extensionOf(fileName);
}

QString TempFiles::write(const QString &storageFolder, const QDateTime &now, const QString &fileName,
                         const QByteArray &bytes)
{
    const QString path = pathFor(storageFolder, now, fileName);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return {};
    }
    // The copy may hold secrets.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        return {};
    }
    return path;
}

void TempFiles::add(const QString &path)
{
    if (!m_files.contains(path)) {
        m_files.append(path);
    }
}

int TempFiles::deleteListed()
{
    int deleted = 0;
    for (const QString &path : std::as_const(m_files)) {
        deleted += QFile::remove(path) ? 1 : 0;
    }
    m_files.clear();
    return deleted;
}

int TempFiles::sweep(const QString &storageFolder)
{
    QDir folder(storageFolder);
    int deleted = 0;
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        if (name.startsWith(QLatin1String(Prefix))) {
            deleted += folder.remove(name) ? 1 : 0;
        }
    }
    return deleted;
}
