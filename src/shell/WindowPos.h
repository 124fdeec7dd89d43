#pragma once

#include <QByteArray>

// The main window's place as the settings key "WindowPos" holds it: "Maximized", or
// left;top;width;height.
struct WindowPos
{
    bool maximized = false;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const WindowPos &) const = default;

    // The first place, before one is stored: two thirds of the screen's free area in
    // each direction, centred in it.
    static WindowPos firstPlace(int areaLeft, int areaTop, int areaWidth, int areaHeight);

    // Applies a stored text: empty changes nothing and gives false; "Maximized" sets
    // maximized; anything else is scanned as "%d;%d;%d;%d" and the numbers read so far
    // replace left, top, width and height in that order.
    bool apply(const QByteArray &text);

    QByteArray toText() const;
};
