#pragma once

#include <QByteArray>
#include <QObject>

#include <functional>
#include <optional>

class QLabel;
class QTimer;

// The lock count-down of the main window: the seconds until the program locks itself
// (-1: none), counted down once a second by TimExpire and shown in LblTime while a
// database that can be locked (it has a file name and a password) is active.
class LockCountdown : public QObject
{
    Q_OBJECT

public:
    // Asked at each tick: nothing without an active database window, else whether that
    // window can be locked.
    using ActiveWindow = std::function<std::optional<bool>()>;

    LockCountdown(QLabel *label, ActiveWindow activeWindow, QObject *parent = nullptr);

    int seconds() const { return m_seconds; }
    bool isRunning() const;

    // Activity: "LockInterval" minutes again (10 when it is no number; 0 gives 60 seconds).
    void restart(const QByteArray &interval);
    // After a database was opened: the interval's seconds, running exactly when the lock is on.
    void set(const QByteArray &interval, bool lockOn);
    // No automatic lock.
    void switchOff();

    // For dialogs that must not be interrupted: stops and says whether it was running.
    bool stop();
    void restore(bool wasRunning);

    // One second passed.
    void tick();

signals:
    // The count-down reached 0 with a lockable database active.
    void expired();

private:
    QLabel *m_label;
    QTimer *m_timer;
    ActiveWindow m_activeWindow;
    int m_seconds = -1;
};
