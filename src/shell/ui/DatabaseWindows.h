#pragma once

#include <QList>
#include <QObject>

class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTabBar;
class DatabaseWindow;

// The database windows of the main window, each in a sub-window of the document area
// (a QMdiArea). While "Allow multiple" is checked the area shows a tab strip with
// movable tabs (the strip's pop-up menu is PopTabs); otherwise its one window fills it.
// Closing a sub-window asks its database window first (canClose).
class DatabaseWindows : public QObject
{
    Q_OBJECT

public:
    DatabaseWindows(QMdiArea *area, QObject *parent = nullptr);

    QMdiArea *area() const { return m_area; }

    // Puts the window into a new sub-window, shows it filling the area and activates it.
    void add(DatabaseWindow *child);

    DatabaseWindow *active() const;
    // Makes the window the active one (its tab the current tab).
    void activate(DatabaseWindow *child);
    // In the order they were made.
    QList<DatabaseWindow *> windows() const;
    int count() const;

    // Closes the window's sub-window. With ask, the window is asked first (canClose)
    // and may refuse; true when it is gone.
    bool close(DatabaseWindow *child, bool ask = true);
    // Asks every window in turn, first to last; stops at the first refusal. The windows
    // answered No lose their modified flag only when every window agreed.
    bool canCloseAll();
    // Closes every window, last first, without asking.
    void closeAllWithoutAsking();
    // Closes every window, last first, asking each; stops at the first refusal.
    bool closeAll();

    // The tab strip shown (tabbed view) or not (one window filling the area).
    void setTabbed(bool tabbed);
    bool isTabbed() const;
    QTabBar *tabBar() const;
    void setTabMenu(QMenu *menu);
    // Each sub-window (and tab) takes its window's caption again (after a language change).
    void refreshCaptions();

    void activateNext();
    void activatePrevious();
    // Side by side, one column each.
    void tileVertically();
    // One above the other, one row each.
    void tileHorizontally();
    void cascade();

signals:
    // The active database window changed (null when none is left).
    void activeChanged(DatabaseWindow *child);
    // A window is gone (its object is being destroyed).
    void windowClosed(DatabaseWindow *child);

private:
    QMdiSubWindow *subWindowOf(const DatabaseWindow *child) const;
    void onSubWindowActivated(QMdiSubWindow *window);
    void installTabMenu();
    void tile(Qt::Orientation orientation);

    QMdiArea *m_area;
    QMenu *m_tabMenu = nullptr;
    DatabaseWindow *m_lastActive = nullptr;
};
