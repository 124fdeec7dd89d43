#pragma once

#include <QDBusConnection>
#include <QObject>

// Listens on D-Bus for the desktop session locking the screen or the machine going to
// sleep: the screen savers' ActiveChanged(true) on the session bus, and the login
// manager's Session.Lock and Manager.PrepareForSleep(true) on the system bus. Where a bus
// is not there, that half listens to nothing.
class ScreenLockWatcher : public QObject
{
    Q_OBJECT

public:
    explicit ScreenLockWatcher(QObject *parent = nullptr);
    // Listens on the given buses (tests pass a private session bus).
    ScreenLockWatcher(const QDBusConnection &session, const QDBusConnection &system, QObject *parent = nullptr);

    // True when at least one bus was reached.
    bool isListening() const { return m_listening; }

signals:
    void sessionLocked();

private slots:
    void onScreenSaverActive(bool active);
    void onSessionLock();
    void onPrepareForSleep(bool start);

private:
    void listen(QDBusConnection session, QDBusConnection system);

    bool m_listening = false;
};
