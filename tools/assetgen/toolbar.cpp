#include "tools/assetgen/artwork.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <array>
#include <functional>

namespace assetgen {

namespace {

const QColor kOutline(0x2b, 0x3a, 0x4a);
const QColor kSheet(0xff, 0xff, 0xff);
const QColor kText(0x8a, 0x96, 0xa3);
const QColor kBody(0x9a, 0xa7, 0xb4);
const QColor kBodyDark(0x5d, 0x6b, 0x79);
const QColor kBlue(0x1f, 0x6f, 0xd0);
const QColor kBlueDark(0x12, 0x48, 0x8e);
const QColor kGreen(0x2e, 0x9d, 0x4f);
const QColor kGreenDark(0x1b, 0x69, 0x33);
const QColor kRed(0xd0, 0x36, 0x2c);
const QColor kWood(0xa8, 0x6a, 0x32);
const QColor kWoodDark(0x6b, 0x3f, 0x1a);
const QColor kGold(0xf2, 0xc1, 0x4e);

QPen outlinePen(qreal width = 1)
{
    return QPen(kOutline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A sheet with a folded corner and a few lines of text.
void drawPage(QPainter& p, const QRectF& r, int textLines)
{
    const qreal fold = r.width() * 0.3;
    QPainterPath sheet;
    sheet.moveTo(r.topLeft());
    sheet.lineTo(r.right() - fold, r.top());
    sheet.lineTo(r.right(), r.top() + fold);
    sheet.lineTo(r.bottomRight());
    sheet.lineTo(r.bottomLeft());
    sheet.closeSubpath();
    p.setPen(outlinePen());
    p.setBrush(kSheet);
    p.drawPath(sheet);
    QPainterPath corner;
    corner.moveTo(r.right() - fold, r.top());
    corner.lineTo(r.right() - fold, r.top() + fold);
    corner.lineTo(r.right(), r.top() + fold);
    p.setBrush(QColor(0xdd, 0xe3, 0xea));
    p.drawPath(corner);
    p.setPen(QPen(kText, 1.5));
    const qreal step = (r.height() - fold - 4) / (textLines + 1);
    for (int i = 1; i <= textLines; ++i) {
        const qreal y = r.top() + fold + step * i;
        const qreal right = i == textLines ? r.center().x() : r.right() - 3;
        p.drawLine(QPointF(r.left() + 3, y), QPointF(right, y));
    }
}

// A magnifying glass whose lens is centred at c; the handle points down to the right.
void drawLens(QPainter& p, QPointF c, qreal radius, const std::function<void()>& inside = {})
{
    p.setPen(QPen(kWoodDark, 4.5, Qt::SolidLine, Qt::RoundCap));
    const QPointF handleStart = c + QPointF(radius * 0.72, radius * 0.72);
    p.drawLine(handleStart, handleStart + QPointF(radius * 0.85, radius * 0.85));
    QRadialGradient glass(c - QPointF(radius * 0.3, radius * 0.3), radius * 1.4);
    glass.setColorAt(0, QColor(0xf4, 0xfa, 0xff, 235));
    glass.setColorAt(1, QColor(0xb9, 0xd8, 0xf5, 235));
    p.setBrush(glass);
    p.setPen(QPen(kOutline, 2.2));
    p.drawEllipse(c, radius, radius);
    if (inside)
        inside();
}

void drawPrinter(QPainter& p, bool sheetOut)
{
    // The sheet waiting at the back.
    p.setPen(outlinePen());
    p.setBrush(kSheet);
    p.drawRect(QRectF(8.5, 2.5, 15, 11));
    // The body.
    QLinearGradient body(0, 11, 0, 25);
    body.setColorAt(0, kBody.lighter(125));
    body.setColorAt(1, kBodyDark);
    p.setBrush(body);
    p.drawRoundedRect(QRectF(2.5, 11.5, 27, 13), 2.5, 2.5);
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(25, 15.5), 1.5, 1.5);
    p.setPen(QPen(kOutline, 1.5));
    p.drawLine(QPointF(7, 20.5), QPointF(25, 20.5));
    if (sheetOut) {
        // The printed sheet coming out at the front.
        p.setPen(outlinePen());
        p.setBrush(kSheet);
        QPolygonF out;
        out << QPointF(8, 20.5) << QPointF(24, 20.5) << QPointF(26.5, 30.5) << QPointF(5.5, 30.5);
        p.drawPolygon(out);
        p.setPen(QPen(kBlue, 1.3));
        p.drawLine(QPointF(9.5, 24.5), QPointF(22.5, 24.5));
        p.drawLine(QPointF(9, 27.5), QPointF(18, 27.5));
    }
}

void drawTriangle(QPainter& p, QPointF tip, qreal size, bool pointsRight)
{
    const qreal dir = pointsRight ? 1 : -1;
    QPolygonF t;
    t << tip << QPointF(tip.x() - dir * size, tip.y() - size)
      << QPointF(tip.x() - dir * size, tip.y() + size);
    QLinearGradient fill(0, tip.y() - size, 0, tip.y() + size);
    fill.setColorAt(0, kBlue.lighter(140));
    fill.setColorAt(1, kBlueDark);
    p.setPen(QPen(kBlueDark, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPolygon(t);
}

void drawStop(QPainter& p, qreal x)
{
    p.setPen(QPen(kBlueDark, 1.2));
    p.setBrush(kBlue);
    p.drawRect(QRectF(x, 6.5, 4, 19));
}

void drawLabelText(QPainter& p, const QRectF& r, const QString& text, int pixels, QColor colour)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    font.setBold(true);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(r, Qt::AlignCenter, text);
}

void drawPrint(QPainter& p)
{
    drawPrinter(p, true);
}

void drawExit(QPainter& p)
{
    // The door frame and the door swung open towards us.
    p.setPen(outlinePen());
    p.setBrush(QColor(0x3a, 0x2a, 0x1f));
    p.drawRect(QRectF(10.5, 3.5, 15, 26));
    QPolygonF door;
    door << QPointF(10.5, 3.5) << QPointF(19.5, 6.5) << QPointF(19.5, 31) << QPointF(10.5, 29.5);
    QLinearGradient wood(10, 0, 20, 0);
    wood.setColorAt(0, kWood.lighter(120));
    wood.setColorAt(1, kWoodDark);
    p.setBrush(wood);
    p.drawPolygon(door);
    p.setPen(Qt::NoPen);
    p.setBrush(kGold);
    p.drawEllipse(QPointF(17.5, 18), 1.3, 1.3);
    // The way out.
    QPolygonF arrow;
    arrow << QPointF(2, 14) << QPointF(8, 14) << QPointF(8, 9.5) << QPointF(15, 17)
          << QPointF(8, 24.5) << QPointF(8, 20) << QPointF(2, 20);
    p.setPen(QPen(kGreenDark, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kGreen);
    p.translate(-1, 0);
    p.drawPolygon(arrow);
}

void drawZoomFit(QPainter& p)
{
    drawPage(p, QRectF(3.5, 2.5, 18, 25), 4);
    drawLens(p, QPointF(19, 18), 7);
}

void drawZoomWidth(QPainter& p)
{
    drawPage(p, QRectF(7.5, 2.5, 17, 27), 5);
    // The double arrow across the page, from edge to edge.
    p.setPen(QPen(kBlueDark, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(3, 16), QPointF(29, 16));
    p.setBrush(kBlueDark);
    QPolygonF left;
    left << QPointF(1, 16) << QPointF(6.5, 11.5) << QPointF(6.5, 20.5);
    QPolygonF right;
    right << QPointF(31, 16) << QPointF(25.5, 11.5) << QPointF(25.5, 20.5);
    p.setPen(Qt::NoPen);
    p.drawPolygon(left);
    p.drawPolygon(right);
}

void drawZoom100(QPainter& p)
{
    drawLens(p, QPointF(13, 13), 11, [&p] {
        drawLabelText(p, QRectF(2, 7, 22, 12), QStringLiteral("1:1"), 10, kBlueDark);
    });
}

void drawPrintSetup(QPainter& p)
{
    drawPrinter(p, false);
    // A settings sheet in front, with its ticked boxes.
    p.setPen(outlinePen());
    p.setBrush(kSheet);
    p.drawRect(QRectF(13.5, 15.5, 16, 15));
    for (int i = 0; i < 2; ++i) {
        const qreal y = 19.5 + i * 6;
        p.setPen(QPen(kOutline, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(16, y - 1.5, 3.5, 3.5));
        p.setPen(QPen(kGreen, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF()
                       << QPointF(16.5, y) << QPointF(17.7, y + 1.3) << QPointF(20.5, y - 2.5));
        p.setPen(QPen(kText, 1.5));
        p.drawLine(QPointF(21.5, y + 0.5), QPointF(27, y + 0.5));
    }
}

void drawSave(QPainter& p)
{
    p.setPen(outlinePen());
    p.setBrush(kBlue);
    QPainterPath disk;
    disk.moveTo(4.5, 4.5);
    disk.lineTo(24.5, 4.5);
    disk.lineTo(27.5, 7.5);
    disk.lineTo(27.5, 27.5);
    disk.lineTo(4.5, 27.5);
    disk.closeSubpath();
    p.drawPath(disk);
    p.setBrush(kSheet);
    p.drawRect(QRectF(8.5, 4.5, 14, 9));
    p.setBrush(kBodyDark);
    p.drawRect(QRectF(18, 6, 3, 6));
    p.setBrush(kSheet);
    p.drawRect(QRectF(8.5, 17.5, 15, 10));
    p.setPen(QPen(kText, 1.2));
    p.drawLine(QPointF(10.5, 21), QPointF(21.5, 21));
    p.drawLine(QPointF(10.5, 24), QPointF(21.5, 24));
}

void drawFirstPage(QPainter& p)
{
    drawStop(p, 5.5);
    drawTriangle(p, QPointF(10.5, 16), 9.5, false);
    drawTriangle(p, QPointF(19.5, 16), 9.5, false);
}

void drawNextPage(QPainter& p)
{
    drawTriangle(p, QPointF(24, 16), 11, true);
}

void drawOpen(QPainter& p)
{
    p.setPen(outlinePen());
    p.setBrush(kGold.darker(115));
    QPainterPath back;
    back.moveTo(2.5, 7.5);
    back.lineTo(11.5, 7.5);
    back.lineTo(14, 10.5);
    back.lineTo(26.5, 10.5);
    back.lineTo(26.5, 26.5);
    back.lineTo(2.5, 26.5);
    back.closeSubpath();
    p.drawPath(back);
    drawPage(p, QRectF(8.5, 4.5, 14, 15), 2);
    QPolygonF front;
    front << QPointF(2.5, 26.5) << QPointF(7.5, 14.5) << QPointF(30.5, 14.5) << QPointF(26.5, 26.5);
    QLinearGradient fill(0, 14, 0, 27);
    fill.setColorAt(0, kGold.lighter(115));
    fill.setColorAt(1, kGold);
    p.setPen(outlinePen());
    p.setBrush(fill);
    p.drawPolygon(front);
}

void drawClose(QPainter& p)
{
    drawPage(p, QRectF(4.5, 2.5, 20, 27), 5);
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawEllipse(QPointF(22, 22), 8, 8);
    p.setPen(QPen(Qt::white, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(18.5, 18.5), QPointF(25.5, 25.5));
    p.drawLine(QPointF(25.5, 18.5), QPointF(18.5, 25.5));
}

void drawFind(QPainter& p)
{
    drawPage(p, QRectF(3.5, 2.5, 20, 27), 6);
    drawLens(p, QPointF(19.5, 17.5), 6.5, [&p] {
        p.setPen(QPen(kRed, 1.8));
        p.drawLine(QPointF(16, 17.5), QPointF(23, 17.5));
    });
}

void drawGotoPage(QPainter& p)
{
    drawPage(p, QRectF(3.5, 2.5, 19, 27), 0);
    drawLabelText(p, QRectF(3.5, 8, 17, 16), QStringLiteral("#"), 14, kBodyDark);
    // A bent arrow jumping onto the page.
    p.setPen(QPen(kGreenDark, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath jump;
    jump.moveTo(29, 28);
    jump.cubicTo(29, 20, 26, 15, 19, 15);
    p.drawPath(jump);
    p.setPen(Qt::NoPen);
    p.setBrush(kGreenDark);
    QPolygonF head;
    head << QPointF(15, 15) << QPointF(21, 10) << QPointF(21, 20);
    p.drawPolygon(head);
}

void drawLastPage(QPainter& p)
{
    drawTriangle(p, QPointF(12.5, 16), 9.5, true);
    drawTriangle(p, QPointF(21.5, 16), 9.5, true);
    drawStop(p, 22.5);
}

void drawPreviousPage(QPainter& p)
{
    drawTriangle(p, QPointF(8, 16), 11, false);
}

} // namespace

QImage drawPreviewButtons()
{
    using Draw = void (*)(QPainter&);
    // In the order of the window's image list.
    const std::array<Draw, kPreviewButtonCount> pictures{
        drawPrint,      drawExit, drawZoomFit,   drawZoomWidth, drawZoom100,
        drawPrintSetup, drawSave, drawFirstPage, drawNextPage,  drawOpen,
        drawClose,      drawFind, drawGotoPage,  drawLastPage,  drawPreviousPage,
    };
    QImage strip(kPreviewButtonSize * kPreviewButtonCount, kPreviewButtonSize,
                 QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    for (int i = 0; i < kPreviewButtonCount; ++i) {
        p.save();
        p.setClipRect(i * kPreviewButtonSize, 0, kPreviewButtonSize, kPreviewButtonSize);
        p.translate(i * kPreviewButtonSize, 0);
        pictures[static_cast<std::size_t>(i)](p);
        p.restore();
    }
    p.end();
    return strip;
}

} // namespace assetgen
