#pragma once

#include <QString>
#include <QStringList>

// The rules of the two recent lists of the main window (databases and folders), newest
// first, at most 16 entries each. The menus show what the list holds; the list decides
// what it takes.
class RecentList
{
public:
    enum class Kind { Files, Folders };

    static constexpr int MaxEntries = 16;

    explicit RecentList(Kind kind) : m_kind(kind) {}

    Kind kind() const { return m_kind; }
    const QStringList &paths() const { return m_paths; }
    bool isEmpty() const { return m_paths.isEmpty(); }

    // A deactivated list keeps its entries but takes no new ones.
    bool isDeactivated() const { return m_deactivated; }
    void setDeactivated(bool on) { m_deactivated = on; }

    // Takes path unless the list is deactivated, the path names the temporary file of a
    // carried database ("portable.tmp", any case), or (folders) the folder does not
    // exist. The same path already listed goes first; a full list drops its 16th entry.
    // The path goes to the top, or (toTop false, a list read back in order) to the end.
    // True when the list changed.
    bool add(const QString &path, bool toTop = true);

    // Fills the list from stored entries, newest first, by the same rules.
    void load(const QStringList &paths);

    void clear() { m_paths.clear(); }

private:
    bool accepts(const QString &path) const;

    Kind m_kind;
    bool m_deactivated = false;
    QStringList m_paths;
};
