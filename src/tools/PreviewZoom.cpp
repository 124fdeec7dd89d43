#include "PreviewZoom.h"

namespace PreviewZoom {

double in(double zoom)
{
    const double next = zoom * Step;
    return next < 2.0 ? next : zoom;
}

double out(double zoom)
{
    const double next = zoom / Step;
    return next > 0.5 ? next : zoom;
}

QSize imageSize(QSize area, double zoom, bool landscape, double ratio)
{
    if (landscape) {
        const int width = int(zoom * area.width());
        return {width, int(width * ratio)};
    }
    const int height = int(zoom * area.height());
    return {int(height * ratio), height};
}

} // namespace PreviewZoom
