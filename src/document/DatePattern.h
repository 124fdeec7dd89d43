#pragma once

#include <QByteArray>
#include <QDateTime>

class Clock;

// Names of new elements may carry the date: "%YYYY" the four-digit year, "%YY" the
// two-digit year, "%MM" month, "%DD" day, "%HH" hour (24-hour clock), "%NN" minute and
// "%SS" second, each two digits, replaced in that order, every occurrence, case-sensitive.
// So "Entry%%YYYY%MM" on 27 October 2018 gives "Entry%201810".
QByteArray expandDatePattern(QByteArray pattern, const QDateTime &time);
QByteArray expandDatePattern(QByteArray pattern, const Clock &clock);

// The name of a new element: the pattern expanded when the "SetNewEntry" setting is on and
// the pattern is not empty, else the kind's default name.
QByteArray newElementName(const QByteArray &defaultName, bool setNewEntry, const QByteArray &pattern,
                          const Clock &clock);
