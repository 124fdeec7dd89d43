#include "ExportPaths.h"

#include <QFileInfo>

ExportTarget exportTargetOf(const QString &chosenPath)
{
    const QFileInfo info(chosenPath);
    const QString name = info.fileName();
    // The extension is the text from the last dot of the name on, as the save dialog sees it.
    const qsizetype dot = name.lastIndexOf(u'.');
    ExportTarget target;
    target.folder = info.path();
    target.baseName = dot < 0 ? name : name.left(dot);
    target.extension = dot < 0 ? QString() : name.mid(dot).toLower();
    return target;
}

QByteArray safePathComponent(QByteArrayView name)
{
    if (name.isEmpty() || name == "." || name == "..") {
        return "_";
    }
    QByteArray safe = name.toByteArray();
    safe.replace('/', '_');
    safe.replace('\0', '_');
    return safe;
}

QByteArray fileNameWithoutFolder(QByteArrayView storedName)
{
    const qsizetype cut = std::max(storedName.lastIndexOf('\\'), storedName.lastIndexOf('/'));
    return storedName.sliced(cut + 1).toByteArray();
}
