#pragma once

#include <QtGlobal>

// Lengths of the defaults are given for a 96 pixels-per-inch screen and grow with
// denser screens; the fraction is dropped.
constexpr int scaleForDpi(int n, int pixelsPerInch)
{
    if (pixelsPerInch <= 96) {
        return n;
    }
    return int(qint64(n) * pixelsPerInch / 96);
}
