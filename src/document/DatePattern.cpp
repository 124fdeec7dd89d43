#include "DatePattern.h"

#include "platform/Clock.h"

namespace {

QByteArray twoDigits(int value)
{
    return QByteArray::number(value % 100).rightJustified(2, '0');
}

} // namespace

QByteArray expandDatePattern(QByteArray pattern, const QDateTime &time)
{
    const QDate date = time.date();
    const QTime clockTime = time.time();
    pattern.replace("%YYYY", QByteArray::number(date.year()).rightJustified(4, '0'));
    pattern.replace("%YY", twoDigits(date.year()));
    pattern.replace("%MM", twoDigits(date.month()));
    pattern.replace("%DD", twoDigits(date.day()));
    pattern.replace("%HH", twoDigits(clockTime.hour()));
    pattern.replace("%NN", twoDigits(clockTime.minute()));
    pattern.replace("%SS", twoDigits(clockTime.second()));
    return pattern;
}

QByteArray expandDatePattern(QByteArray pattern, const Clock &clock)
{
    return expandDatePattern(std::move(pattern), clock.now());
}

QByteArray newElementName(const QByteArray &defaultName, bool setNewEntry, const QByteArray &pattern,
                          const Clock &clock)
{
    if (setNewEntry && !pattern.isEmpty()) {
        return expandDatePattern(pattern, clock);
    }
    return defaultName;
}
