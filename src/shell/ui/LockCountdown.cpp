#include "LockCountdown.h"

#include "shell/LockInterval.h"

#include <QLabel>
#include <QTimer>

LockCountdown::LockCountdown(QLabel *label, ActiveWindow activeWindow, QObject *parent)
    : QObject(parent), m_label(label), m_timer(new QTimer(this)), m_activeWindow(std::move(activeWindow))
{
    m_timer->setObjectName(QStringLiteral("TimExpire"));
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &LockCountdown::tick);
}

bool LockCountdown::isRunning() const
{
    return m_timer->isActive();
}

void LockCountdown::restart(const QByteArray &interval)
{
    m_seconds = LockInterval::delaySeconds(interval);
}

void LockCountdown::set(const QByteArray &interval, bool lockOn)
{
    m_seconds = LockInterval::minutes(interval) * 60;
    if (lockOn) {
        m_timer->start();
    } else {
        m_timer->stop();
    }
}

void LockCountdown::switchOff()
{
    m_seconds = -1;
    m_timer->stop();
    m_label->clear();
}

bool LockCountdown::stop()
{
    const bool wasRunning = m_timer->isActive();
    m_timer->stop();
    return wasRunning;
}

void LockCountdown::restore(bool wasRunning)
{
    if (wasRunning) {
        m_timer->start();
    }
}

void LockCountdown::tick()
{
    const std::optional<bool> lockable = m_activeWindow();
    if (!lockable) {
        return;
    }
    if (m_seconds == -1 || !*lockable) {
        m_label->clear();
        m_timer->stop();
        return;
    }
    --m_seconds;
    if (m_seconds != 0) {
        m_label->setText(QStringLiteral("\n - %1 - ").arg(m_seconds));
        return;
    }
    m_label->clear();
    m_timer->stop();
    emit expired();
}
