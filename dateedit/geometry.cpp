#include "dateedit/geometry.h"

#include <cmath>
#include <limits>

namespace dateedit {

namespace {

int right(const QRect& r)
{
    return r.x() + r.width();
}

int bottom(const QRect& r)
{
    return r.y() + r.height();
}

qint64 distanceSquared(const QRect& a, const QRect& b)
{
    const qint64 dx = std::max({0, b.x() - right(a), a.x() - right(b)});
    const qint64 dy = std::max({0, b.y() - bottom(a), a.y() - bottom(b)});
    return dx * dx + dy * dy;
}

} // namespace

QRect nearestWorkArea(const QRect& rect, const std::vector<Monitor>& monitors)
{
    const Monitor* best = nullptr;
    qint64 bestOverlap = 0;
    for (const Monitor& m : monitors) {
        const QRect overlap = m.geometry.intersected(rect);
        const qint64 area = static_cast<qint64>(overlap.width()) * overlap.height();
        if (area > bestOverlap) {
            bestOverlap = area;
            best = &m;
        }
    }
    if (!best) {
        qint64 bestDistance = std::numeric_limits<qint64>::max();
        for (const Monitor& m : monitors) {
            const qint64 d = distanceSquared(m.geometry, rect);
            if (d < bestDistance) {
                bestDistance = d;
                best = &m;
            }
        }
    }
    return best ? best->workArea : QRect();
}

QPoint dropDownPosition(const QRect& workArea, const QRect& field, QSize popup, bool rightAligned)
{
    int w = popup.width();
    int h = popup.height();
    const int roomBelow = bottom(workArea) - bottom(field);
    const int roomAbove = field.y() - workArea.y();
    const bool fitsBelow = bottom(workArea) >= bottom(field) + h;
    const bool fitsAbove = field.y() - h >= workArea.y();

    int y = 0;
    if ((!fitsBelow && fitsAbove) || (!fitsAbove && roomBelow < roomAbove)) {
        if (!fitsAbove)
            h = roomAbove;
        y = field.y() - h;
    } else {
        if (!fitsBelow)
            h = roomBelow;
        y = bottom(field);
    }

    int x = rightAligned ? right(field) - w : field.x();
    if (workArea.width() < w)
        w = workArea.width();
    if (x + w > right(workArea))
        x = right(workArea) - w;
    else if (x < workArea.x())
        x = workArea.x();
    return {x, y};
}

int editButtonWidth(int configuredWidth, bool flat, int defaultFontTextHeight, int scrollBarWidth)
{
    if (configuredWidth > 0)
        return configuredWidth;
    if (!flat)
        return scrollBarWidth;
    int width = static_cast<int>(std::lround(defaultFontTextHeight * 2.0 / 3.0));
    if (width % 2 == 0)
        --width;
    return std::min(width, scrollBarWidth);
}

QRect editButtonRect(const QRect& client, int buttonWidth, bool rightToLeft)
{
    int height = client.height();
    // Halves go to the even neighbour, as the platform rounds.
    if (static_cast<int>(std::nearbyint(buttonWidth * 1.5)) < client.height())
        height = buttonWidth;
    const int x = rightToLeft ? client.x() : right(client) - buttonWidth;
    return {x, client.y(), buttonWidth, height};
}

int autoSizeHeight(int textHeight, bool flat, bool ctl3D, int borderHeight)
{
    int borders = 8;
    if (flat && !ctl3D)
        borders = 4;
    else if (flat || !ctl3D)
        borders = 6;
    return textHeight + borders * borderHeight;
}

} // namespace dateedit
