#include "RecentList.h"

#include <QFileInfo>

#include <utility>

bool RecentList::accepts(const QString &path) const
{
    if (m_deactivated || path.isEmpty()) {
        return false;
    }
    if (m_kind == Kind::Folders) {
        return QFileInfo(path).isDir();
    }
    return !path.contains(QLatin1String("portable.tmp"), Qt::CaseInsensitive);
}

bool RecentList::add(const QString &path, bool toTop)
{
    if (!accepts(path)) {
        return false;
    }
    m_paths.removeAll(path);
    if (m_paths.size() >= MaxEntries) {
        m_paths.removeAt(MaxEntries - 1);
    }
    if (toTop) {
        m_paths.prepend(path);
    } else {
        m_paths.append(path);
    }
    return true;
}

void RecentList::load(const QStringList &paths)
{
    // Stored entries were taken while the list was active; the flag stops only new ones.
    const bool deactivated = std::exchange(m_deactivated, false);
    m_paths.clear();
    for (const QString &path : paths) {
        add(path, false);
    }
    m_deactivated = deactivated;
}
