#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <vector>

namespace dateedit {

// Rectangles here are screen or client pixels; a rectangle's right and bottom edges are
// x() + width() and y() + height(), just outside it.

struct Monitor
{
    QRect geometry;
    QRect workArea; // the monitor without task bars
};

/// The work area of the monitor nearest to a rectangle: the one it overlaps most, else the
/// closest. An empty rectangle when there is no monitor.
QRect nearestWorkArea(const QRect& rect, const std::vector<Monitor>& monitors);

/// Where the calendar opens for a field: below it, or above it when it fits only there or
/// there is more room there; shifted to stay inside the work area.
QPoint dropDownPosition(const QRect& workArea, const QRect& field, QSize popup, bool rightAligned);

/// The drop-down button's width: the configured one if above 0, else the flat width for a
/// flat field, else the width of a vertical scroll bar.
int editButtonWidth(int configuredWidth, bool flat, int defaultFontTextHeight, int scrollBarWidth);

/// The drop-down button at the right edge of the client area (left for right-to-left
/// reading), as tall as the client area unless that is much taller than the button is wide.
QRect editButtonRect(const QRect& client, int buttonWidth, bool rightToLeft);

/// The field's height with automatic size: the text height plus a border allowance.
int autoSizeHeight(int textHeight, bool flat, bool ctl3D, int borderHeight);

} // namespace dateedit
