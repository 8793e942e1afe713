#pragma once

#include "platform/emf.h"

class QPainter;

namespace platform {

/// Draws straight onto a QPainter (a printer, an image, a widget), in the painter's device
/// pixels. The metafile player draws through it too, so a played page looks exactly like the
/// same calls made directly.
class PainterCanvas final : public DeviceCanvas
{
public:
    explicit PainterCanvas(QPainter& painter);

    void setFont(const CanvasFont& font) override;
    void setTextColor(QColor color) override { m_textColor = color; }
    void setBkColor(QColor color) override { m_bkColor = color; }
    void setBkMode(BkMode mode) override { m_bkMode = mode; }
    void setTextAlign(quint32 flags) override { m_textAlign = flags; }

    void textOut(int x, int y, const QString& text) override;
    void fillRect(int left, int top, int right, int bottom, QColor color) override;
    void line(int x1, int y1, int x2, int y2, QColor color, int width) override;
    void stretchDraw(int left, int top, int right, int bottom, const QImage& image) override;

    QSize textExtent(const QString& text) const override;

private:
    QPainter& m_painter;
    QFont m_font;
    QColor m_textColor = Qt::black;
    QColor m_bkColor = Qt::white;
    BkMode m_bkMode = BkMode::Opaque;
    quint32 m_textAlign = TA_LEFT | TA_TOP;
};

} // namespace platform
