#include "tools/assetgen/artwork.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace assetgen {

QImage drawButton(const QString& word)
{
    // JPEG has no transparency: the corners take the colour of the panels the buttons sit on.
    QImage image(260, 72, QImage::Format_RGB32);
    image.fill(QColor(0xf0, 0xf0, 0xf0));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const QRectF bar(4, 4, 252, 62);
    const qreal radius = 18;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 45));
    p.drawRoundedRect(bar.translated(0, 3), radius, radius);

    QLinearGradient fill(0, bar.top(), 0, bar.bottom());
    fill.setColorAt(0, QColor(0x6c, 0xb2, 0xf2));
    fill.setColorAt(0.5, QColor(0x2f, 0x80, 0xd8));
    fill.setColorAt(1, QColor(0x1a, 0x5c, 0xb0));
    p.setPen(QPen(QColor(0x16, 0x4f, 0x96), 2));
    p.setBrush(fill);
    p.drawRoundedRect(bar, radius, radius);

    const QRectF glossRect(bar.left() + 8, bar.top() + 3, bar.width() - 16, bar.height() * 0.42);
    QLinearGradient gloss(0, glossRect.top(), 0, glossRect.bottom());
    gloss.setColorAt(0, QColor(255, 255, 255, 120));
    gloss.setColorAt(1, QColor(255, 255, 255, 18));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawRoundedRect(glossRect, radius - 6, radius - 6);

    // Two characters with a gap between them, centred on the bar.
    const QFont font = songti(40, true);
    const QFontMetrics fm(font);
    const int gap = 18;
    int width = gap * static_cast<int>(word.size() - 1);
    for (const QChar c : word)
        width += fm.horizontalAdvance(c);
    qreal x = bar.center().x() - width / 2.0;
    const qreal baseline = bar.center().y() + (fm.ascent() - fm.descent()) / 2.0;
    p.setFont(font);
    for (const QChar c : word) {
        const QString s(c);
        p.setPen(QColor(0x0e, 0x3a, 0x73, 170));
        p.drawText(QPointF(x + 1.5, baseline + 2), s);
        p.setPen(Qt::white);
        p.drawText(QPointF(x, baseline), s);
        x += fm.horizontalAdvance(c) + gap;
    }
    p.end();
    return image;
}

QImage drawIcon()
{
    QImage image(64, 64, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const QRectF tile(2, 2, 60, 60);
    QLinearGradient back(tile.topLeft(), tile.bottomRight());
    back.setColorAt(0, QColor(0x3f, 0xa3, 0x8c));
    back.setColorAt(1, QColor(0x1c, 0x5c, 0xb0));
    p.setPen(Qt::NoPen);
    p.setBrush(back);
    p.drawRoundedRect(tile, 13, 13);

    // A small cheque: stub on the left, a perforation, a couple of written lines.
    p.save();
    p.translate(30, 38);
    p.rotate(-9);
    const QRectF cheque(-22, -12, 44, 24);
    p.setBrush(QColor(0xee, 0xf7, 0xf2));
    p.setPen(QPen(QColor(0x1f, 0x5a, 0x4d), 1));
    p.drawRoundedRect(cheque, 2, 2);
    p.setPen(QPen(QColor(0x3f, 0x8a, 0x76), 1, Qt::DotLine));
    p.drawLine(QPointF(-10, -11), QPointF(-10, 11));
    p.setPen(QPen(QColor(0x3f, 0x8a, 0x76), 1.4));
    p.drawLine(QPointF(-19, -5), QPointF(-13, -5));
    p.drawLine(QPointF(-19, 1), QPointF(-13, 1));
    p.drawLine(QPointF(-6, -5), QPointF(16, -5));
    p.drawLine(QPointF(-6, 1), QPointF(10, 1));
    p.setPen(QPen(QColor(0xc0, 0x39, 0x2b), 1.4));
    p.drawLine(QPointF(-6, 7), QPointF(4, 7));
    p.restore();

    // The quill, from the upper right down to its nib on the cheque.
    QPainterPath feather;
    feather.moveTo(56, 6);
    feather.cubicTo(44, 6, 30, 18, 27, 36);
    feather.cubicTo(36, 30, 50, 22, 56, 6);
    QLinearGradient vane(56, 6, 27, 36);
    vane.setColorAt(0, QColor(255, 255, 255));
    vane.setColorAt(1, QColor(0xdd, 0xe8, 0xf4));
    p.setPen(QPen(QColor(0x12, 0x3d, 0x70), 1));
    p.setBrush(vane);
    p.drawPath(feather);
    p.setPen(QPen(QColor(0x12, 0x3d, 0x70), 1.2));
    p.drawLine(QPointF(55, 7), QPointF(24, 41));
    p.end();
    return image;
}

} // namespace assetgen
