#pragma once

#include "shell/RecentList.h"

#include <QObject>

class QAction;
class QMenu;

// A recent list shown as a submenu: its entries (newest first), a separator, "Clear
// list" (MenClear) and the check item "Deactivate" (MenDeactivate). File entries show
// the file name, folder entries the full path; the full path is the hint of both.
class RecentMenu : public QObject
{
    Q_OBJECT

public:
    // The menu gets objectName (MenRecentFiles or MenRecentFolders); it is owned by
    // menuParent, this object by parent.
    RecentMenu(RecentList::Kind kind, const QString &objectName, QWidget *menuParent, QObject *parent = nullptr);

    RecentList &list() { return m_list; }
    const RecentList &list() const { return m_list; }
    QMenu *menu() const { return m_menu; }
    QAction *clearAction() const { return m_clear; }
    QAction *deactivateAction() const { return m_deactivate; }

    // The list rules, then the menu follows; true when the list changed.
    bool add(const QString &path, bool toTop = true);
    void load(const QStringList &paths, bool deactivated);

    // The entry items, top first (the items above the separator).
    QList<QAction *> entryActions() const;

signals:
    void chosen(const QString &path);
    // The list or its "Deactivate" mark changed.
    void changed();

private:
    void rebuild();
    QString captionFor(const QString &path) const;

    RecentList m_list;
    QMenu *m_menu;
    QAction *m_separator;
    QAction *m_clear;
    QAction *m_deactivate;
};
