#pragma once

#include <QByteArray>

// The automatic lock's delay as "LockInterval" holds it: minutes as the user typed them.
namespace LockInterval {

// The minutes the text stands for: its decimal number (blanks around it allowed), 10
// when it is not a number. A negative number counts as 0, and the minutes are bounded
// so that their seconds always fit.
int minutes(const QByteArray &text);

// The delay after activity or a confirmed options dialog: the minutes in seconds, and
// 60 seconds when that is 0.
int delaySeconds(const QByteArray &text);

} // namespace LockInterval
