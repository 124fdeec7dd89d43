#include "LockInterval.h"

#include <limits>

namespace LockInterval {

int minutes(const QByteArray &text)
{
    bool ok = false;
    const int typed = text.trimmed().toInt(&ok);
    if (!ok) {
        return 10;
    }
    // A negative count-down would never reach 0 and the program would never lock.
    constexpr int most = std::numeric_limits<int>::max() / 60;
    return qBound(0, typed, most);
}

int delaySeconds(const QByteArray &text)
{
    const int seconds = minutes(text) * 60;
    return seconds == 0 ? 60 : seconds;
}

} // namespace LockInterval
