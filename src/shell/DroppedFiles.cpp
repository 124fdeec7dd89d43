#include "DroppedFiles.h"

namespace DroppedFiles {

bool isDatabasePath(const QString &path)
{
    return path.endsWith(QLatin1String(".kvdb"), Qt::CaseInsensitive);
}

QList<Step> plan(const QStringList &paths)
{
    QList<Step> steps;
    for (const QString &path : paths) {
        if (path.isEmpty()) {
            continue;
        }
        if (isDatabasePath(path)) {
            steps.append({Step::OpenDatabase, path});
            break;
        }
        steps.append({Step::AttachFile, path});
    }
    return steps;
}

} // namespace DroppedFiles
