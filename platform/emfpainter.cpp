#include "platform/emfpainter.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

namespace platform {

namespace {

QFontMetrics metricsOn(const QFont& font, const QPainter& painter)
{
    if (const QPaintDevice* device = painter.device())
        return QFontMetrics(font, device);
    return QFontMetrics(font);
}

} // namespace

PainterCanvas::PainterCanvas(QPainter& painter) : m_painter(painter), m_font(toQFont({}))
{}

void PainterCanvas::setFont(const CanvasFont& font)
{
    m_font = toQFont(font);
}

void PainterCanvas::textOut(int x, int y, const QString& text)
{
    if (text.isEmpty())
        return;
    const QFontMetrics fm = metricsOn(m_font, m_painter);
    const int width = fm.horizontalAdvance(text);
    int left = x;
    if ((m_textAlign & TA_CENTER) == TA_CENTER)
        left = x - width / 2;
    else if (m_textAlign & TA_RIGHT)
        left = x - width;
    int baseline = y + fm.ascent();
    if ((m_textAlign & TA_BASELINE) == TA_BASELINE)
        baseline = y;
    else if (m_textAlign & TA_BOTTOM)
        baseline = y - fm.descent();
    if (m_bkMode == BkMode::Opaque)
        m_painter.fillRect(QRect(left, baseline - fm.ascent(), width, fm.ascent() + fm.descent()),
                           m_bkColor);
    m_painter.setFont(m_font);
    m_painter.setPen(m_textColor);
    m_painter.drawText(QPoint(left, baseline), text);
}

void PainterCanvas::fillRect(int left, int top, int right, int bottom, QColor color)
{
    if (right <= left || bottom <= top)
        return;
    m_painter.fillRect(QRect(left, top, right - left, bottom - top), color);
}

void PainterCanvas::line(int x1, int y1, int x2, int y2, QColor color, int width)
{
    QPen pen(color);
    pen.setWidth(std::max(0, width));
    pen.setCapStyle(Qt::FlatCap);
    const bool antialiased = m_painter.testRenderHint(QPainter::Antialiasing);
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setPen(pen);
    m_painter.drawLine(x1, y1, x2, y2);
    m_painter.setRenderHint(QPainter::Antialiasing, antialiased);
}

void PainterCanvas::stretchDraw(int left, int top, int right, int bottom, const QImage& image)
{
    if (image.isNull() || right <= left || bottom <= top)
        return;
    m_painter.drawImage(QRect(left, top, right - left, bottom - top), image);
}

QSize PainterCanvas::textExtent(const QString& text) const
{
    const QFontMetrics fm = metricsOn(m_font, m_painter);
    return {fm.horizontalAdvance(text), fm.ascent() + fm.descent()};
}

} // namespace platform
