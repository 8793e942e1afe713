#include "tools/assetgen/artwork.h"
#include "tools/assetgen/layout.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>

namespace assetgen {

namespace {

constexpr QRgb kPaper = 0xffeef7f2;
constexpr QRgb kWave = 0xffcfe7db;
constexpr QRgb kRosette = 0xffd8ece2;
constexpr QRgb kRule = 0xff3f8a76;
constexpr QRgb kInk = 0xff1f5a4d;
constexpr QRgb kSignature = 0xff7aa89a;

constexpr int kWidth = 850;
constexpr int kHeight = 301;

// Every caption is placed relative to the label it introduces, so moving a label moves its box.
int picX(QPoint client)
{
    return client.x() - kPictureLeft;
}

int picY(QPoint client)
{
    return client.y() - kPictureTop;
}

// A label draws its text with the top of the font's ascent at its top edge.
int baselineOf(QPoint client, const QFont& font)
{
    return picY(client) + QFontMetrics(font).ascent();
}

int advance(const QFont& font, const QString& text)
{
    return QFontMetrics(font).horizontalAdvance(text);
}

void caption(QPainter& p, const QFont& font, qreal x, qreal baseline, const QString& text)
{
    p.setFont(font);
    p.setPen(QColor(kInk));
    p.drawText(QPointF(x, baseline), text);
}

void centred(QPainter& p, const QFont& font, qreal left, qreal right, qreal baseline,
             const QString& text)
{
    caption(p, font, (left + right - advance(font, text)) / 2, baseline, text);
}

// Characters spread evenly from left to right, the way printed forms justify short captions.
void spread(QPainter& p, const QFont& font, qreal left, qreal right, qreal baseline,
            const QString& text)
{
    const qsizetype n = text.size();
    if (n < 2) {
        caption(p, font, left, baseline, text);
        return;
    }
    const QFontMetrics fm(font);
    qreal inked = 0;
    for (const QChar c : text)
        inked += fm.horizontalAdvance(c);
    const qreal gap = (right - left - inked) / static_cast<qreal>(n - 1);
    qreal x = left;
    for (const QChar c : text) {
        caption(p, font, x, baseline, QString(c));
        x += fm.horizontalAdvance(c) + gap;
    }
}

// Whole-pixel rules: the half-pixel offset keeps a one-pixel pen on one row of pixels.
void hline(QPainter& p, int x1, int x2, int y, qreal width = 1)
{
    p.setPen(QPen(QColor(kRule), width));
    p.drawLine(QPointF(x1, y + 0.5), QPointF(x2 + 1, y + 0.5));
}

void vline(QPainter& p, int x, int y1, int y2, qreal width = 1)
{
    p.setPen(QPen(QColor(kRule), width));
    p.drawLine(QPointF(x + 0.5, y1), QPointF(x + 0.5, y2 + 1));
}

void frame(QPainter& p, const QRect& r)
{
    p.setPen(QPen(QColor(kRule), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
}

// Interlaced waves in a faint tint: the security background of a cheque, with no meaning.
void guilloche(QPainter& p, const QRect& area, qreal period)
{
    p.save();
    p.setClipRect(area);
    p.setPen(QPen(QColor(kWave), 0.6));
    p.setBrush(Qt::NoBrush);
    const qreal mid = area.center().y();
    const qreal amplitude = area.height() * 0.46;
    constexpr int strands = 18;
    for (int k = 0; k < strands; ++k) {
        const qreal phase = 2 * std::numbers::pi * k / strands;
        QPainterPath path;
        for (int x = area.left(); x <= area.right() + 2; x += 2) {
            const qreal t = x / period;
            const qreal envelope = 0.6 + 0.4 * std::cos(x / (period * 5.0) + phase / 3);
            const qreal y = mid + amplitude * envelope * std::sin(t + phase);
            if (x == area.left())
                path.moveTo(x, y);
            else
                path.lineTo(x, y);
        }
        p.drawPath(path);
    }
    p.restore();
}

void rosette(QPainter& p, QPointF centre, qreal radius)
{
    p.save();
    p.setPen(QPen(QColor(kRosette), 0.7));
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    constexpr int steps = 1440;
    for (int i = 0; i <= steps; ++i) {
        const qreal t = 2 * std::numbers::pi * i / steps;
        const qreal r = radius * (0.62 + 0.38 * std::cos(13 * t) * std::cos(3 * t));
        const QPointF at(centre.x() + r * std::cos(t), centre.y() + r * std::sin(t) * 0.8);
        if (i == 0)
            path.moveTo(at);
        else
            path.lineTo(at);
    }
    p.drawPath(path);
    p.restore();
}

void perforation(QPainter& p, int x)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(kSignature));
    for (int y = 6; y < kHeight - 4; y += 6)
        p.drawEllipse(QPointF(x + 0.5, y + 0.5), 1.1, 1.1);
    p.restore();
}

void drawStub(QPainter& p)
{
    const QRect stub(5, 5, 202, 291);
    guilloche(p, stub.adjusted(1, 1, -1, -1), 23);
    frame(p, stub);

    const QFont title = songti(14, true);
    const QFont text = songti(12);
    const QFont small = songti(10);
    centred(p, title, stub.left(), stub.right(), 27, QStringLiteral("现金支票存根"));
    hline(p, 14, 198, 34);

    caption(p, text, 14, 54, QStringLiteral("支票号码"));
    hline(p, 66, 198, 56);
    caption(p, text, 14, 76, QStringLiteral("附加信息"));
    for (int y : {96, 116, 136, 156})
        hline(p, 14, 198, y);

    // Field rows: each holds one mock-up label, the captions share its baseline.
    const QFont labelFont = songti(12);
    const int dateBase = baselineOf(spot::stubYear, windowFont());
    const int rowTop = dateBase - 14;
    const int rows[] = {rowTop, picY(spot::stubShortName) - 3, picY(spot::stubAmount) - 3,
                        picY(spot::stubPurpose) - 3, picY(spot::stubPurpose) + 17};
    for (int y : rows)
        hline(p, 10, 202, y);
    const int captionRight = picX(spot::stubShortName) - 3;
    vline(p, captionRight, rows[0], rows[4]);
    spread(p, text, 14, captionRight - 5, dateBase, QStringLiteral("出票日期"));
    spread(p, text, 14, captionRight - 5, baselineOf(spot::stubShortName, labelFont),
           QStringLiteral("收款人"));
    spread(p, text, 14, captionRight - 5, baselineOf(spot::stubAmount, labelFont),
           QStringLiteral("金额"));
    spread(p, text, 14, captionRight - 5, baselineOf(spot::stubPurpose, labelFont),
           QStringLiteral("用途"));

    // 年, 月 and 日 follow the widest figures: a four-digit year, two-digit month and day.
    const QFont figures = windowFont();
    caption(p, small, picX(spot::stubYear) + advance(figures, QStringLiteral("0000")) + 1, dateBase,
            QStringLiteral("年"));
    caption(p, small, picX(spot::stubMonth) + advance(figures, QStringLiteral("00")) + 2, dateBase,
            QStringLiteral("月"));
    caption(p, small, picX(spot::stubDay) + advance(figures, QStringLiteral("00")) + 2, dateBase,
            QStringLiteral("日"));

    caption(p, text, 14, 278, QStringLiteral("单位主管"));
    caption(p, text, 116, 278, QStringLiteral("会计"));
}

void drawGrid(QPainter& p, int top, int headerBottom, int bottom)
{
    // A cell's text starts at the label's left; the box starts a little before it so that a
    // digit sits in the middle and "￥" still fits.
    const auto& lefts = spot::gridLefts;
    int edges[12];
    for (std::size_t i = 0; i < lefts.size(); ++i)
        edges[i] = lefts[i] - kPictureLeft - 3;
    edges[11] = edges[10] + 15;

    const QFont head = songti(10);
    const QString units = QStringLiteral("亿千百十万千百十元角分");
    for (int i = 0; i < 11; ++i)
        centred(p, head, edges[i] + 1, edges[i + 1], top + 13, units.mid(i, 1));
    hline(p, edges[0], edges[11], headerBottom);
    for (int i = 0; i <= 11; ++i) {
        // The yuan-jiao line is drawn heavier, as the decimal point of the row.
        vline(p, edges[i], top, bottom, i == 9 ? 1.6 : 1);
    }
}

void drawBody(QPainter& p)
{
    const QRect body(217, 5, 628, 291);
    guilloche(p, body.adjusted(1, 1, -1, -1), 31);
    rosette(p, QPointF(body.center().x() + 20, 196), 88);
    frame(p, body);

    const QFont text = songti(12);
    const QFont labelFont = songti(12);
    const int left = 238;
    const int right = 838;

    // Title with the double rule under it, clear of the slogan the window lays over the top.
    const QFont title = songti(22, true);
    const QString titleText = QStringLiteral("现金支票");
    const int titleLeft = 470;
    spread(p, title, titleLeft, titleLeft + 118, 50, titleText);
    hline(p, titleLeft - 6, titleLeft + 124, 54);
    hline(p, titleLeft - 6, titleLeft + 124, 56);
    caption(p, text, 700, 47, QStringLiteral("支票号码"));
    hline(p, 750, right, 49);

    // 出票日期（大写） 年 月 日 …… 付款行名称
    const int dateBase = baselineOf(spot::bodyYear, labelFont);
    const QString dateCaption = QStringLiteral("出票日期（大写）");
    caption(p, text, picX(spot::bodyYear) - 4 - advance(text, dateCaption), dateBase, dateCaption);
    const int yearEnd = picX(spot::bodyYear) + advance(labelFont, QStringLiteral("贰零贰肆"));
    // 月 and 日 follow the longest month and day in capitals.
    const auto widest = [&](std::initializer_list<QString> texts) {
        int w = 0;
        for (const QString& t : texts)
            w = std::max(w, advance(labelFont, t));
        return w;
    };
    const int monthEnd =
        picX(spot::bodyMonth) +
        widest({QStringLiteral("零壹拾"), QStringLiteral("壹拾壹"), QStringLiteral("壹拾贰")});
    const int dayEnd =
        picX(spot::bodyDay) +
        widest({QStringLiteral("贰拾玖"), QStringLiteral("零叁拾"), QStringLiteral("叁拾壹")});
    caption(p, text, yearEnd + 4, dateBase, QStringLiteral("年"));
    caption(p, text, monthEnd + 4, baselineOf(spot::bodyMonth, labelFont), QStringLiteral("月"));
    caption(p, text, dayEnd + 4, baselineOf(spot::bodyDay, labelFont), QStringLiteral("日"));
    const int dateRule = picY(spot::bodyMonth) + 14;
    hline(p, picX(spot::bodyYear) - 2, yearEnd + 2, dateRule);
    hline(p, picX(spot::bodyMonth) - 2, monthEnd + 2, dateRule);
    hline(p, picX(spot::bodyDay) - 2, dayEnd + 2, dateRule);

    const int rightCaptions = picX(spot::bank) - 2;
    const QString bankCaption = QStringLiteral("付款行名称：");
    const QString accountCaption = QStringLiteral("出票人账号：");
    caption(p, text, rightCaptions - advance(text, bankCaption), dateBase, bankCaption);
    hline(p, picX(spot::bank) - 2, right, dateRule);
    caption(p, text, rightCaptions - advance(text, accountCaption),
            baselineOf(spot::account, labelFont), accountCaption);
    hline(p, picX(spot::account) - 2, right, picY(spot::account) + 15);

    // 收款人
    const QString payeeCaption = QStringLiteral("收款人：");
    caption(p, text, picX(spot::payee) - 4 - advance(text, payeeCaption),
            baselineOf(spot::payee, labelFont), payeeCaption);
    hline(p, picX(spot::payee) - 2, rightCaptions - advance(text, accountCaption) - 10,
          picY(spot::payee) + 14);

    // The table: amount in capitals and the digit grid, then the purpose.
    const int gridRight = spot::gridLefts.back() - kPictureLeft - 3 + 15;
    const int tableTop = picY(spot::capitals) - 11;
    const int amountBottom = picY({0, spot::gridTop}) + 19;
    const int purposeBottom = picY(spot::bodyPurpose) + 17;
    hline(p, left, gridRight, tableTop);
    hline(p, left, gridRight, amountBottom);
    hline(p, left, gridRight, purposeBottom);
    vline(p, left, tableTop, purposeBottom);
    vline(p, gridRight, tableTop, purposeBottom);

    const int capitalsCell = picX(spot::capitals) - 6;
    vline(p, capitalsCell, tableTop, amountBottom);
    centred(p, text, left, capitalsCell, tableTop + 17, QStringLiteral("人民币"));
    centred(p, text, left, capitalsCell, tableTop + 33, QStringLiteral("（大写）"));
    drawGrid(p, tableTop, picY({0, spot::gridTop}) - 3, amountBottom);

    const QString purposeCaption = QStringLiteral("用途：");
    const int purposeBase = baselineOf(spot::bodyPurpose, labelFont);
    caption(p, text, picX(spot::bodyPurpose) - 4 - advance(text, purposeCaption), purposeBase,
            purposeCaption);
    const int passwordCell = spot::gridLefts.front() - kPictureLeft - 3;
    const int passwordCaption = passwordCell - 56;
    vline(p, passwordCaption, amountBottom, purposeBottom);
    vline(p, passwordCell, amountBottom, purposeBottom);
    centred(p, text, passwordCaption, passwordCell, purposeBase, QStringLiteral("密码"));

    // Payment term, printed upright down the margin beside the table.
    const QString term = QStringLiteral("本支票付款期限十天");
    const QFont termFont = songti(11);
    for (qsizetype i = 0; i < term.size(); ++i)
        caption(p, termFont, 222, tableTop + 12 + 13 * static_cast<int>(i), term.mid(i, 1));

    caption(p, text, left + 4, purposeBottom + 22, QStringLiteral("上列款项请从"));
    caption(p, text, left + 4, purposeBottom + 40, QStringLiteral("我账户内支付"));
    caption(p, text, left + 4, 270, QStringLiteral("出票人签章"));
    caption(p, text, 640, 262, QStringLiteral("复核"));
    caption(p, text, 740, 262, QStringLiteral("记账"));

    QFont mark(QStringLiteral("DejaVu Sans"));
    mark.setPixelSize(9);
    p.setFont(mark);
    p.setPen(QColor(kSignature));
    p.drawText(QPointF(left + 4, 288), QStringLiteral("Quillmark"));
}

} // namespace

QImage drawCheque()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(QColor(kPaper));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawStub(p);
    perforation(p, 212);
    drawBody(p);
    p.end();
    return image;
}

} // namespace assetgen
