#pragma once

#include "platform/errors.h"

#include <QColor>
#include <QFont>
#include <QSize>
#include <QString>

class QImage;

namespace platform {

// Text alignment flags, as SetTextAlign takes them: one horizontal and one vertical value or-ed.
inline constexpr quint32 TA_LEFT = 0;
inline constexpr quint32 TA_RIGHT = 2;
inline constexpr quint32 TA_CENTER = 6;
inline constexpr quint32 TA_TOP = 0;
inline constexpr quint32 TA_BOTTOM = 8;
inline constexpr quint32 TA_BASELINE = 24;

/// Whether text output paints the background colour behind the characters.
enum class BkMode : quint32
{
    Transparent = 1,
    Opaque = 2,
};

/// A font as a device context selects it.
struct CanvasFont
{
    QString face;
    int pixelHeight = 12; // character height in device pixels, internal leading excluded
    int weight = 400;     // 100 to 900; 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    friend bool operator==(const CanvasFont&, const CanvasFont&) = default;
};

/// The Qt font that draws and measures a canvas font; both canvases use it, so a recorded
/// page measures exactly as it later plays.
QFont toQFont(const CanvasFont& font);

/// A malformed metafile: a length, offset or count that does not fit.
class EMetafileError : public EError
{
public:
    using EError::EError;
};

/// A drawing surface addressed in whole device pixels, with the text model of the report
/// engine: a text's reference point is placed by the text alignment, text never clips.
/// Rectangles are given as left, top, right, bottom with right and bottom excluded.
class DeviceCanvas
{
public:
    virtual ~DeviceCanvas() = default;

    virtual void setFont(const CanvasFont& font) = 0;
    virtual void setTextColor(QColor color) = 0;
    virtual void setBkColor(QColor color) = 0;
    virtual void setBkMode(BkMode mode) = 0;
    virtual void setTextAlign(quint32 flags) = 0;

    virtual void textOut(int x, int y, const QString& text) = 0;
    /// Fills with a solid brush; an empty rectangle fills nothing.
    virtual void fillRect(int left, int top, int right, int bottom, QColor color) = 0;
    /// A solid line; width 0 is the thinnest line the device draws.
    virtual void line(int x1, int y1, int x2, int y2, QColor color, int width) = 0;
    /// Draws the whole image stretched into the rectangle.
    virtual void stretchDraw(int left, int top, int right, int bottom, const QImage& image) = 0;

    /// Width (advance) and cell height of a text in the selected font, in device pixels.
    virtual QSize textExtent(const QString& text) const = 0;
};

} // namespace platform
