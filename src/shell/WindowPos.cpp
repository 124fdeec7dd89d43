#include "WindowPos.h"

#include <limits>

namespace {

// One "%d" of scanf: white space, a sign, at least one digit; saturates.
bool scanInteger(const QByteArray &text, qsizetype &at, int &out)
{
    qsizetype i = at;
    while (i < text.size() && (text.at(i) == ' ' || (text.at(i) >= '\t' && text.at(i) <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text.at(i) == '+' || text.at(i) == '-')) {
        negative = text.at(i) == '-';
        ++i;
    }
    const qsizetype digits = i;
    qint64 value = 0;
    constexpr qint64 limit = qint64(std::numeric_limits<int>::max()) + 1;
    for (; i < text.size() && text.at(i) >= '0' && text.at(i) <= '9'; ++i) {
        value = qMin(value * 10 + (text.at(i) - '0'), limit);
    }
    if (i == digits) {
        return false;
    }
    out = negative ? int(-value) : int(qMin(value, limit - 1));
    at = i;
    return true;
}

} // namespace

WindowPos WindowPos::firstPlace(int areaLeft, int areaTop, int areaWidth, int areaHeight)
{
    WindowPos pos;
    pos.width = qMax(0, areaWidth) * 2 / 3;
    pos.height = qMax(0, areaHeight) * 2 / 3;
    pos.left = areaLeft + (qMax(0, areaWidth) - pos.width) / 2;
    pos.top = areaTop + (qMax(0, areaHeight) - pos.height) / 2;
    return pos;
}

bool WindowPos::apply(const QByteArray &text)
{
    if (text.isEmpty()) {
        return false;
    }
    if (text == "Maximized") {
        maximized = true;
        return true;
    }
    int *fields[] = {&left, &top, &width, &height};
    qsizetype at = 0;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (at >= text.size() || text.at(at) != ';') {
                break;
            }
            ++at;
        }
        int value = 0;
        if (!scanInteger(text, at, value)) {
            break;
        }
        *fields[i] = value;
    }
    maximized = false;
    return true;
}

QByteArray WindowPos::toText() const
{
    if (maximized) {
        return "Maximized";
    }
    return QByteArray::number(left) + ';' + QByteArray::number(top) + ';' + QByteArray::number(width)
        + ';' + QByteArray::number(height);
}
