#include "tools/assetgen/artwork.h"
#include "tools/assetgen/layout.h"

#include <QFontMetrics>
#include <QPainter>

namespace assetgen {

namespace {

void label(QPainter& p, QPoint client, const QFont& font, const QString& text)
{
    p.setFont(font);
    const QFontMetrics fm(font);
    p.drawText(QPointF(client.x() - kPictureLeft, client.y() - kPictureTop + fm.ascent()), text);
}

} // namespace

QImage composeSample(const QImage& cheque)
{
    QImage image = cheque.convertToFormat(QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(Qt::black);

    // Issued 2024-03-01 to 北京某某科技有限公司 for 10010.01 yuan.
    const QFont s12 = songti(12);
    label(p, spot::stubYear, windowFont(), QStringLiteral("2024"));
    label(p, spot::stubMonth, windowFont(), QStringLiteral("3"));
    label(p, spot::stubDay, windowFont(), QStringLiteral("1"));
    label(p, spot::stubShortName, s12, QStringLiteral("某某科技"));
    label(p, spot::stubAmount, s12, QStringLiteral("￥10010.01"));
    label(p, spot::stubPurpose, s12, QStringLiteral("货款"));
    label(p, spot::bodyYear, s12, QStringLiteral("贰零贰肆"));
    label(p, spot::bodyMonth, s12, QStringLiteral("零叁"));
    label(p, spot::bodyDay, s12, QStringLiteral("零壹"));
    label(p, spot::bank, s12, QStringLiteral("中国某某银行某某支行"));
    label(p, spot::account, s12, QStringLiteral("1234567890123"));
    label(p, spot::payee, s12, QStringLiteral("北京某某科技有限公司"));
    label(p, spot::capitals, songti(16, true), QStringLiteral("壹万零壹拾元零壹分"));
    label(p, spot::bodyPurpose, s12, QStringLiteral("货款"));

    const QString cells[] = {{},
                             {},
                             {},
                             QStringLiteral("￥"),
                             QStringLiteral("1"),
                             QStringLiteral("0"),
                             QStringLiteral("0"),
                             QStringLiteral("1"),
                             QStringLiteral("0"),
                             QStringLiteral("0"),
                             QStringLiteral("1")};
    const QFont grid = songti(14, true);
    for (std::size_t i = 0; i < spot::gridLefts.size(); ++i)
        label(p, QPoint(spot::gridLefts[i], spot::gridTop), grid, cells[i]);

    // Two window labels also lie over the picture; the artwork must leave room for them.
    p.setPen(Qt::blue);
    label(p, {352, 24}, songti(14, true), QStringLiteral("* 适合各个银行(不仅建行)支票打印 *"));
    label(p, {664, 296}, songti(13), QStringLiteral("访问 Quillmark 官方主页"));
    p.end();
    return image;
}

} // namespace assetgen
