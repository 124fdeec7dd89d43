#include "FontNumbers.h"

#include <cstdlib>

namespace {

// a * b / c rounded half away from zero.
int mulDiv(int a, int b, int c)
{
    if (c == 0) {
        return -1;
    }
    const qint64 product = qint64(a) * b;
    const qint64 half = std::llabs(c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const qint64 magnitude = (std::llabs(product) + half) / std::llabs(c);
    return int(negative ? -magnitude : magnitude);
}

} // namespace

int FontNumbers::sizeFromHeight(int height, int pixelsPerInch)
{
    return -mulDiv(height, 72, pixelsPerInch);
}

int FontNumbers::heightFromSize(int size, int pixelsPerInch)
{
    return -mulDiv(size, pixelsPerInch, 72);
}
