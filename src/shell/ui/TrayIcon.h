#pragma once

#include <QObject>

class QAction;
class QMenu;
class QSystemTrayIcon;

// The program's icon in the notification area (TryTray) with its menu PopTray: "Show",
// "Lock", a separator and "Exit". Its picture says whether the program is locked; its
// hint names the active database.
class TrayIcon : public QObject
{
    Q_OBJECT

public:
    explicit TrayIcon(QObject *parent = nullptr);
    ~TrayIcon() override;

    // True when the desktop has a notification area to show the icon in.
    static bool isAvailable();

    void setShown(bool shown);
    bool isShown() const { return m_shown; }
    void setLocked(bool locked);
    void setHint(const QString &hint);
    QString hint() const;
    QMenu *menu() const { return m_menu; }
    QAction *showAction() const { return m_show; }
    QAction *lockAction() const { return m_lock; }
    QAction *exitAction() const { return m_exit; }

signals:
    // A click on the icon, or "Show".
    void restoreRequested();
    void lockRequested();
    void exitRequested();

private:
    QSystemTrayIcon *m_icon;
    QMenu *m_menu;
    QAction *m_show;
    QAction *m_lock;
    QAction *m_exit;
    bool m_shown = false;
};
