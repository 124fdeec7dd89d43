#pragma once

#include <QDateTime>

// Where the program reads the current local time. Code that stamps or names things
// takes a Clock so tests can fix the time; the program uses SystemClock.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    static const SystemClock &instance()
    {
        static const SystemClock clock;
        return clock;
    }
};

class FixedClock final : public Clock
{
public:
    explicit FixedClock(QDateTime time) : m_time(std::move(time)) {}
    QDateTime now() const override { return m_time; }
    void set(QDateTime time) { m_time = std::move(time); }
    void advanceSeconds(qint64 seconds) { m_time = m_time.addSecs(seconds); }

private:
    QDateTime m_time;
};
