#include "StartupFile.h"

#include <QDir>
#include <QFileInfo>

namespace StartupFile {

QString resolve(const QString &typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty() || QDir::isAbsolutePath(text)) {
        return text;
    }
    return QFileInfo(text).absoluteFilePath();
}

} // namespace StartupFile
