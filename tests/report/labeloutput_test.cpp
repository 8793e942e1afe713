#include "platform/emfpicture.h"
#include "report/band.h"
#include "report/label.h"
#include "report/report.h"
#include "report/reportprinter.h"
#include "report/reportrun.h"
#include "tests/support/fakeprinter.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace report;
using testsupport::emfTexts;
using testsupport::FakePrinter;

namespace {

/// One band at the 10 mm margins with one "宋体" 9 pt label, run into a fake 600-dpi printer
/// (unprintable edges of 100 device pixels) or into the page store.
struct LabelReport
{
    FakePrinter device;
    TReport report;
    std::unique_ptr<TReportPrinter> printer;
    TReportBand* band = new TReportBand(&report);
    TReportLabel* label = new TReportLabel(band);

    LabelReport()
    {
        band->size().setUnits(TReportUnit::Native);
        band->size().setHeight(400);
        label->setFont(TReportFont::fromPoints(QStringLiteral("宋体"), 9));
        label->setBounds(92, 10, 13, 17);
    }

    TReportPrinter& run(TReportDestination destination)
    {
        printer = std::make_unique<TReportPrinter>(&report, device);
        printer->setDestination(destination);
        GenerateReport(report, *printer);
        return *printer;
    }

    platform::EmfPicture page(TReportDestination destination)
    {
        TReportPrinter& printer = run(destination);
        if (destination == rdPrinter)
            return device.pages().at(0);
        return *printer.GetPage(1);
    }

    /// The label's box on paper, in 0.1 mm.
    long double boxLeft() const
    {
        return 100 + label->size().tenths(TReportPrintableSize::LeftIndex);
    }
    long double boxTop() const
    {
        return 100 + label->size().tenths(TReportPrintableSize::TopIndex);
    }
};

QImage played(const platform::EmfPicture& page)
{
    QImage image(page.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    page.play(painter, QRect(QPoint(0, 0), page.size()));
    return image;
}

} // namespace

TEST(LabelOutput, ACentredLabelKeepsItsCentreOnThePrinterAndMovesBackOnTheNextCaption)
{
    LabelReport r;
    r.label->setAlignment(taCenter);
    r.label->setCaption(QStringLiteral("12"));
    EXPECT_EQ(r.label->left(), 92);
    r.label->setLeft(92);
    r.label->setCaption(QStringLiteral("5"));
    ASSERT_EQ(r.label->left(), 95);
    ASSERT_EQ(r.label->width(), 7);

    const platform::EmfPicture page = r.page(rdPrinter);
    // Measured by the printer the digit is 6 pixels wide; (7 − 6) div 2 = 0 keeps Left.
    EXPECT_EQ(r.label->width(), 6);
    EXPECT_EQ(r.label->left(), 95);
    const auto texts = emfTexts(page);
    ASSERT_EQ(texts.size(), 1u);
    // Centred at Size left + 7 / 2 = 98.5 report pixels from the band's left edge.
    const long double centre = 100 + 98.5L * 254 / 96;
    // The printer's origin lies 100 device pixels inside the sheet's corner.
    EXPECT_EQ(texts[0].x, roundHalfEven(centre * 600 / 254 - 100));
    EXPECT_EQ(texts[0].y, roundHalfEven((100 + 10 * 254.0L / 96) * 600 / 254 - 100));

    r.label->setLeft(92);
    r.label->setCaption(QStringLiteral("12"));
    EXPECT_EQ(r.label->left(), 89); // 92 + (6 − 13) div 2
}

TEST(LabelOutput, LinesPrintWhileTheyFitTheBox)
{
    struct Case
    {
        const char* name;
        bool autoSize;
        int width; // -1: just wide enough for "ab "
        int height;
        const char* caption;
        std::vector<std::pair<const char*, int>> lines; // text and line index
    };
    const Case cases[] = {
        // A 12-pixel cell is 31.75 tenths: a second line needs 63.5 > 44.98 + 1.
        {"second line of a 17-pixel label", true, 13, 17, "1\r\n2", {{"1", 0}}},
        {"two lines in a taller box", true, 13, 30, "1\r\n2", {{"1", 0}, {"2", 1}}},
        {"two words wrap", false, -1, 30, "ab cd", {{"ab ", 0}, {"cd", 1}}},
        {"the over-wide word is cut", false, 19, 30, "abcdefgh", {{"ab", 0}}},
        {"only line breaks print nothing", true, 13, 17, "\r\n\r\n", {}},
    };
    for (const Case& c : cases) {
        LabelReport r;
        r.label->setAutoSize(c.autoSize);
        const int width = c.width < 0 ? r.label->MeasureText(QStringLiteral("ab ")) : c.width;
        r.label->setBounds(20, 10, width, c.height);
        r.label->setCaption(QString::fromUtf8(c.caption));
        const long double left = r.boxLeft();
        const long double top = r.boxTop();
        TReportPrinter& printer = r.run(rdPageStore);
        const auto texts = emfTexts(*printer.GetPage(1));
        ASSERT_EQ(texts.size(), c.lines.size()) << c.name;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            EXPECT_EQ(texts[i].text, QString::fromUtf8(c.lines[i].first)) << c.name;
            EXPECT_EQ(texts[i].x, printer.DeviceX(left)) << c.name;
            EXPECT_EQ(texts[i].y, printer.DeviceY(top + c.lines[i].second * 31.75L)) << c.name;
        }
    }
}

TEST(LabelOutput, AnOpaqueLabelPaintsItsBoxATransparentOneDoesNot)
{
    for (const bool transparent : {false, true}) {
        LabelReport r;
        r.label->setColor(Qt::red);
        r.label->setTransparent(transparent);
        r.label->setBounds(20, 10, 40, 17);
        r.label->setCaption(QStringLiteral("1"));
        const QImage image = played(r.page(rdPageStore));
        // Below the 12-pixel character cell, inside the 17-pixel box.
        const QPoint inside(38 + 20 + 1, 38 + 10 + 15);
        EXPECT_EQ(QColor(image.pixel(inside)), transparent ? QColor(Qt::white) : QColor(Qt::red))
            << transparent;
        // The text itself is drawn over the box either way.
        bool ink = false;
        for (int x = 38 + 20; x < 38 + 27; ++x) {
            for (int y = 38 + 10; y < 38 + 22; ++y)
                ink = ink || qGray(image.pixel(x, y)) < 100;
        }
        EXPECT_TRUE(ink) << transparent;
    }
}

TEST(LabelOutput, FramesAreDrawnAroundLabelsAndBands)
{
    LabelReport r;
    TReportFrame frame;
    frame.drawLeft = frame.drawTop = frame.drawRight = frame.drawBottom = true;
    frame.color = Qt::blue;
    frame.width = 1; // 1 pt: round(0.378 × 3.53) = 1 pixel at 96 dpi
    r.label->setFrame(frame);
    r.label->setAutoSize(false);
    r.label->setBounds(20, 10, 40, 17);
    r.label->setCaption(QStringLiteral("1"));
    frame.color = Qt::green;
    r.band->setFrame(frame);
    const long double left = r.boxLeft();
    const long double top = r.boxTop();
    TReportPrinter& printer = r.run(rdPageStore);
    const QImage image = played(*printer.GetPage(1));
    EXPECT_EQ(QColor(image.pixel(38, 60)), QColor(Qt::green));      // band's left side
    EXPECT_EQ(QColor(image.pixel(38 + 10, 38)), QColor(Qt::green)); // band's top side
    // The label's top side runs along its box; its text moved in by the frame's width.
    EXPECT_EQ(QColor(image.pixel(printer.DeviceX(left) + 5, printer.DeviceY(top))),
              QColor(Qt::blue));
    const auto texts = emfTexts(*printer.GetPage(1));
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].x, printer.DeviceX(left + roundHalfEven(254.0L / 72)));
}
