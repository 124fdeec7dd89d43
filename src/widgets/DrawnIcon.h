#pragma once

#include <QIcon>

#include <functional>

class QPainter;

// An icon drawn with QPainter at whatever size is asked for, on a 16 x 16 design grid
// scaled to the size. Disabled icons are drawn faded.
using IconPainter = std::function<void(QPainter &painter)>;
QIcon drawnIcon(IconPainter painter);

// An icon with a small emblem (a second drawing) in its lower right quarter; the base
// may be any icon, themed or drawn.
QIcon withEmblem(const QIcon &base, IconPainter emblem);
