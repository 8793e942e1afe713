#include "report/label.h"
#include "report/report.h"
#include "tests/report/environmentscope.h"

#include <gtest/gtest.h>

using namespace report;
using reporttest::EnvironmentScope;

namespace {

using Index = TReportPrintableSize::ValueIndex;

// The label of the stored cheque layout that stands at 52, 181, 49 × 17 pixels.
const std::vector<long double> storedLabel = {44.97916666666667L, 137.5833333333333L,
                                              478.8958333333333L, 129.6458333333333L};

} // namespace

TEST(PrintableBounds, PixelsReplaceOnlyTheTenthsTheyChange)
{
    EnvironmentScope environment(96);
    TReport report;
    TReportBand band(&report);
    TReportLabel label(&band);

    label.setLeft(52);
    EXPECT_NEAR(static_cast<double>(label.size().tenths(Index::LeftIndex)), 137.583333333333, 1e-9);

    label.size().setValues(storedLabel);
    EXPECT_EQ(label.boundsRect(), QRect(52, 181, 49, 17));
    // The same pixel value again keeps the stored tenths exactly, not their recomputation.
    label.setLeft(52);
    EXPECT_EQ(label.size().values(), storedLabel);

    // Moving only Left keeps the other three to the last digit.
    label.setLeft(60);
    EXPECT_EQ(label.size().tenths(Index::HeightIndex), storedLabel[Index::HeightIndex]);
    EXPECT_EQ(label.size().tenths(Index::TopIndex), storedLabel[Index::TopIndex]);
    EXPECT_EQ(label.size().tenths(Index::WidthIndex), storedLabel[Index::WidthIndex]);
    EXPECT_NEAR(static_cast<double>(label.size().tenths(Index::LeftIndex)), 60 * 254.0 / 96, 1e-9);
    EXPECT_EQ(label.left(), 60);
}

TEST(PrintableBounds, TheSameLeftLandsAtTheSamePlaceOnEveryScreen)
{
    // Left 315 from a band printed at the 10 mm margins: 93.34 mm whatever the monitor's
    // resolution; only a size object set to 120 pixels per inch puts it at 76.68 mm.
    struct Case
    {
        int screen;
        int resolution; // 0: the report pixel's own
        double tenths;
    };
    for (const Case c : {Case{96, 0, 933.4375}, Case{120, 0, 933.4375}, Case{144, 0, 933.4375},
                         Case{96, 120, 766.75}}) {
        EnvironmentScope environment(c.screen);
        TReport report;
        TReportBand band(&report);
        TReportLabel label(&band);
        label.size().setResolution(c.resolution);
        label.setLeft(315);
        const long double x = roundHalfEven(report.page().tenths(TReportPage::LeftMarginIndex)) +
                              label.size().tenths(Index::LeftIndex);
        EXPECT_NEAR(static_cast<double>(x), c.tenths, 1e-9) << c.screen << " " << c.resolution;
    }
}

TEST(PrintableBounds, SizeChangesMoveThePixels)
{
    EnvironmentScope environment(96);
    TReport report;
    TReportBand band(&report);
    TReportLabel label(&band);
    label.size().setUnits(TReportUnit::MM);
    label.size().setLeft(93.34L);
    label.size().setTop(12.91L);
    EXPECT_EQ(label.left(), 353);
    EXPECT_EQ(label.top(), 49);
    // The size moved the label; it did not write its own pixels back.
    EXPECT_DOUBLE_EQ(static_cast<double>(label.size().tenths(Index::LeftIndex)), 933.4);
}

TEST(PrintableBounds, AlignedToItsBand)
{
    EnvironmentScope environment(96);
    TReport report;
    TReportBand band(&report);
    ASSERT_EQ(band.width(), 718);
    TReportLabel label(&band);
    label.setBounds(100, 5, 50, 17);
    label.setAlignment(taRightJustify);
    EXPECT_EQ(label.left(), 100);
    label.setAlignToBand(true);
    EXPECT_EQ(label.left(), 668);
    label.setAlignment(taCenter);
    EXPECT_EQ(label.left(), 334);
    label.setBounds(0, 5, 60, 17);
    EXPECT_EQ(label.left(), 329);
    EXPECT_NEAR(static_cast<double>(label.size().tenths(Index::LeftIndex)), 329 * 254.0 / 96, 1e-9);
}
