#pragma once

#include <QSize>

// The print preview's zoom and the size of the page image it shows.
namespace PreviewZoom {

inline constexpr double Step = 1.2;

// One step in: times 1.2 unless that reaches 2. One step out: divided by 1.2 while the
// result stays above 0.5. A refused step keeps the zoom.
double in(double zoom);
double out(double zoom);

// The page image for a scroll area of this size: a landscape page takes zoom times the
// area's width, a portrait one zoom times its height; the other side follows the page's
// proportions (ratio = short side / long side).
QSize imageSize(QSize area, double zoom, bool landscape, double ratio);

} // namespace PreviewZoom
