#include "ScreenLockWatcher.h"

namespace {

// Empty service and path: the signal from whichever program and object sends it, since
// screen savers register under various names and the session's object path varies.
bool connectSignal(QDBusConnection &bus, const char *interface, const char *name, QObject *receiver,
                   const char *slot)
{
    return bus.isConnected() &&
           bus.connect(QString(), QString(), QLatin1String(interface), QLatin1String(name), receiver, slot);
}

} // namespace

ScreenLockWatcher::ScreenLockWatcher(QObject *parent) : QObject(parent)
{
    listen(QDBusConnection::sessionBus(), QDBusConnection::systemBus());
}

ScreenLockWatcher::ScreenLockWatcher(const QDBusConnection &session, const QDBusConnection &system, QObject *parent)
    : QObject(parent)
{
    listen(session, system);
}

void ScreenLockWatcher::listen(QDBusConnection session, QDBusConnection system)
{
    bool any = connectSignal(session, "org.freedesktop.ScreenSaver", "ActiveChanged", this,
                             SLOT(onScreenSaverActive(bool)));
    any |= connectSignal(session, "org.gnome.ScreenSaver", "ActiveChanged", this, SLOT(onScreenSaverActive(bool)));
    any |= connectSignal(system, "org.freedesktop.login1.Session", "Lock", this, SLOT(onSessionLock()));
    any |= connectSignal(system, "org.freedesktop.login1.Manager", "PrepareForSleep", this,
                         SLOT(onPrepareForSleep(bool)));
    m_listening = any;
}

void ScreenLockWatcher::onScreenSaverActive(bool active)
{
    if (active) {
        emit sessionLocked();
    }
}

void ScreenLockWatcher::onSessionLock()
{
    emit sessionLocked();
}

void ScreenLockWatcher::onPrepareForSleep(bool start)
{
    if (start) {
        emit sessionLocked();
    }
}
