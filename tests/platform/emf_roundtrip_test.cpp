#include "platform/emfpainter.h"
#include "platform/emfpicture.h"
#include "platform/emfrecorder.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace platform;

namespace {

constexpr int PageWidth = 320;
constexpr int PageHeight = 140;

QImage sampleBitmap()
{
    QImage image(4, 2, QImage::Format_RGB32);
    image.fill(qRgb(255, 0, 0));
    image.setPixel(0, 0, qRgb(0, 255, 0));
    image.setPixel(3, 1, qRgb(0, 0, 255));
    return image;
}

// Every kind of call the report engine makes on a page, at k times the size, shifted.
void drawSample(DeviceCanvas& c, int k, QPoint shift = {})
{
    auto x = [&](int v) { return shift.x() + k * v; };
    auto y = [&](int v) { return shift.y() + k * v; };
    c.fillRect(x(10), y(20), x(60), y(40), QColor(0, 0, 255));
    c.setBkMode(BkMode::Transparent);
    c.setTextColor(QColor(200, 10, 20));
    c.setFont({QStringLiteral("宋体"), 12 * k});
    c.setTextAlign(TA_LEFT | TA_TOP);
    c.textOut(x(100), y(30), QStringLiteral("壹万贰仟元整"));
    c.setTextAlign(TA_CENTER | TA_TOP);
    c.textOut(x(200), y(60), QStringLiteral("2024"));
    c.setFont({QStringLiteral("Arial"), 9 * k, 700, true});
    c.setTextAlign(TA_RIGHT | TA_BASELINE);
    c.textOut(x(300), y(90), QStringLiteral("Right"));
    c.setBkMode(BkMode::Opaque);
    c.setBkColor(QColor(255, 255, 0));
    c.setTextAlign(TA_LEFT | TA_BOTTOM);
    c.textOut(x(20), y(120), QStringLiteral("opaque"));
    c.line(x(0), y(130), x(150), y(130), QColor(0, 128, 0), 0);
    c.stretchDraw(x(200), y(100), x(240), y(120), sampleBitmap());
}

QImage blank(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

EmfPicture recordSample()
{
    EmfRecorder recorder(PageWidth, PageHeight, 96);
    drawSample(recorder, 1);
    return recorder.picture();
}

quint32 le32(const QByteArray& bytes, qsizetype offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

} // namespace

TEST(Metafile, PlayingARecordedPageDrawsWhatDrawingDirectlyDraws)
{
    const EmfPicture picture = recordSample();
    struct Case
    {
        int scale;
        QPoint shift;
    };
    for (const Case& c : {Case{1, {0, 0}}, Case{2, {5, 7}}}) {
        SCOPED_TRACE(c.scale);
        const QSize canvasSize(PageWidth * c.scale + 10, PageHeight * c.scale + 10);
        QImage direct = blank(canvasSize);
        {
            QPainter painter(&direct);
            PainterCanvas canvas(painter);
            drawSample(canvas, c.scale, c.shift);
        }
        QImage played = blank(canvasSize);
        {
            QPainter painter(&played);
            picture.play(painter, QRect(c.shift, QSize(PageWidth, PageHeight) * c.scale));
        }
        EXPECT_NE(played, blank(canvasSize));
        EXPECT_EQ(played, direct);
        // The fill covers its left and top edges and stops before its right and bottom ones.
        const auto at = [&](int x, int y) {
            return played.pixel(c.shift.x() + c.scale * x, c.shift.y() + c.scale * y);
        };
        const int lastX = c.shift.x() + c.scale * 60 - 1;
        const int lastY = c.shift.y() + c.scale * 40 - 1;
        EXPECT_EQ(at(10, 20), qRgb(0, 0, 255));
        EXPECT_EQ(played.pixel(lastX, lastY), qRgb(0, 0, 255));
        EXPECT_EQ(at(60, 30), qRgb(255, 255, 255));
        EXPECT_EQ(at(30, 40), qRgb(255, 255, 255));
    }
}

TEST(Metafile, HeaderCarriesSignatureTotalSizeAndThePageFrame)
{
    struct Case
    {
        int width, height, dpi;
    };
    for (const Case& c :
         {Case{794, 1123, 96}, Case{992, 1403, 120}, Case{4961, 7016, 600}, Case{0, 0, 96}}) {
        SCOPED_TRACE(
            QStringLiteral("%1x%2@%3").arg(c.width).arg(c.height).arg(c.dpi).toStdString());
        EmfRecorder recorder(c.width, c.height, c.dpi);
        recorder.textOut(5, 5, QStringLiteral("x"));
        const EmfPicture picture = recorder.picture();
        const QByteArray& bytes = picture.bytes();
        EXPECT_EQ(le32(bytes, 0), 1u);
        EXPECT_EQ(bytes.mid(40, 4), QByteArray(" EMF"));
        EXPECT_EQ(le32(bytes, 48), quint32(bytes.size()));
        EXPECT_EQ(le32(bytes, bytes.size() - 20), 14u); // the end record closes it
        EXPECT_EQ(picture.size(), QSize(c.width, c.height));
        // The frame is in 0.01 mm.
        EXPECT_NEAR(qint32(le32(bytes, 32)), c.width * 2540.0 / c.dpi, 0.5);
        EXPECT_NEAR(qint32(le32(bytes, 36)), c.height * 2540.0 / c.dpi, 0.5);
    }
}

TEST(Metafile, EmptyPagePlaysAsNothing)
{
    const EmfPicture picture = EmfRecorder(0, 0, 96).picture();
    QImage image = blank({20, 20});
    QPainter painter(&image);
    picture.play(painter, QRect(0, 0, 20, 20));
    painter.end();
    EXPECT_EQ(image, blank({20, 20}));
}

TEST(Metafile, StateIsWrittenOnlyWhenADrawingNeedsIt)
{
    EmfRecorder once(100, 100, 96);
    once.setFont({QStringLiteral("Arial"), 12});
    once.setTextColor(Qt::red);
    once.textOut(1, 1, QStringLiteral("a"));
    once.textOut(1, 20, QStringLiteral("b"));
    EmfRecorder twice(100, 100, 96);
    for (int y : {1, 20}) {
        twice.setFont({QStringLiteral("Arial"), 12});
        twice.setTextColor(Qt::red);
        twice.setFont({QStringLiteral("Arial"), 20}); // replaced before any text: never written
        twice.setFont({QStringLiteral("Arial"), 12});
        twice.textOut(1, y, y == 1 ? QStringLiteral("a") : QStringLiteral("b"));
    }
    EXPECT_EQ(twice.picture().bytes(), once.picture().bytes());
}

TEST(Metafile, OtherViewersReadTextsWhereTheyWereWritten)
{
    const QString converter = QStandardPaths::findExecutable(QStringLiteral("emf2svg-conv"));
    if (converter.isEmpty())
        GTEST_SKIP() << "emf2svg-conv is not installed";

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString emf = dir.filePath(QStringLiteral("page.emf"));
    const QString svg = dir.filePath(QStringLiteral("page.svg"));
    {
        QFile f(emf);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(recordSample().bytes());
    }
    QProcess process;
    process.start(converter, {QStringLiteral("-i"), emf, QStringLiteral("-o"), svg});
    ASSERT_TRUE(process.waitForFinished(30000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();

    struct Text
    {
        QString text, anchor, family, fill;
        double x, y, size;
    };
    std::vector<Text> texts;
    QFile f(svg);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&f);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement() || xml.name() != u"text")
            continue;
        const auto a = xml.attributes();
        Text t{{},
               a.value(QStringLiteral("text-anchor")).toString(),
               a.value(QStringLiteral("font-family")).toString(),
               a.value(QStringLiteral("fill")).toString(),
               a.value(QStringLiteral("x")).toDouble(),
               a.value(QStringLiteral("y")).toDouble(),
               a.value(QStringLiteral("font-size")).toDouble()};
        t.text = xml.readElementText();
        texts.push_back(t);
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    ASSERT_EQ(texts.size(), 4u);

    EXPECT_EQ(texts[0].text, QStringLiteral("壹万贰仟元整"));
    EXPECT_EQ(texts[0].family, QStringLiteral("宋体"));
    EXPECT_EQ(texts[0].anchor, QStringLiteral("start"));
    EXPECT_EQ(texts[0].fill.toUpper(), QStringLiteral("#C80A14"));
    EXPECT_EQ(texts[0].x, 100);
    EXPECT_EQ(texts[0].size, 12);
    // Aligned to the top of the cell: the baseline lies inside the cell below it.
    EXPECT_GT(texts[0].y, 30);
    EXPECT_LE(texts[0].y, 30 + 12);

    EXPECT_EQ(texts[1].text, QStringLiteral("2024"));
    EXPECT_EQ(texts[1].anchor, QStringLiteral("middle"));
    EXPECT_EQ(texts[1].x, 200);

    EXPECT_EQ(texts[2].text, QStringLiteral("Right"));
    EXPECT_EQ(texts[2].anchor, QStringLiteral("end"));
    EXPECT_EQ(texts[2].family, QStringLiteral("Arial"));
    EXPECT_EQ(texts[2].size, 9);
    EXPECT_EQ(texts[2].x, 300);
    EXPECT_EQ(texts[2].y, 90); // baseline alignment: exactly the reference point

    EXPECT_EQ(texts[3].text, QStringLiteral("opaque"));
    EXPECT_EQ(texts[3].x, 20);
}
