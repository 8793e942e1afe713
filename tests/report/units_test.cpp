#include "report/band.h"
#include "report/report.h"
#include "report/reporterror.h"
#include "report/units.h"
#include "tests/report/environmentscope.h"

#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace report;
using reporttest::EnvironmentScope;

namespace {

constexpr long double tolerance = 1e-12L;

const char* unitName(TReportUnit unit)
{
    switch (unit) {
    case TReportUnit::MM:
        return "MM";
    case TReportUnit::Inches:
        return "Inches";
    case TReportUnit::Pixels:
        return "Pixels";
    case TReportUnit::Characters:
        return "Characters";
    case TReportUnit::Native:
        return "Native";
    }
    return "?";
}

} // namespace

TEST(Units, ConvertBothWaysForEveryUnitAtTwoResolutions)
{
    // Characters use the report font: Arial 10 pt at both resolutions.
    struct Case
    {
        int dpi;
        int zoom;
        TReportUnit unit;
        TReportAxis axis;
        long double tenths;
        long double inUnits;
    };
    const auto H = TReportAxis::Horizontal;
    const auto V = TReportAxis::Vertical;
    const Case cases[] = {
        {96, 100, TReportUnit::MM, H, 2100.0L, 210.0L},
        {96, 100, TReportUnit::MM, V, 80.0L, 8.0L},
        {96, 100, TReportUnit::Inches, H, 127.0L, 0.5L},
        {96, 100, TReportUnit::Inches, V, 2794.0L, 11.0L},
        {96, 100, TReportUnit::Native, V, 44.979166L, 44.979166L},
        // One report pixel is 254/96 tenths at 96 pixels per inch, 254/120 at 120.
        {96, 100, TReportUnit::Pixels, H, 137.58333333333333333L, 52.0L},
        {96, 100, TReportUnit::Pixels, V, 44.979166666666666667L, 17.0L},
        {96, 100, TReportUnit::Pixels, H, 833.4375L, 315.0L},
        {120, 100, TReportUnit::Pixels, H, 666.75L, 315.0L},
        {120, 100, TReportUnit::Pixels, V, 2.1166666666666666667L, 1.0L},
        // At 200 % a report pixel covers half the paper.
        {96, 200, TReportUnit::Pixels, H, 68.791666666666666667L, 52.0L},
        {120, 50, TReportUnit::Pixels, V, 4.2333333333333333333L, 1.0L},
        // 80 and 145.3 points per character at 1 pt, over 2.54: 10 characters of a 10 pt font.
        {96, 100, TReportUnit::Characters, H, 800.0L / 2.54L, 10.0L},
        {96, 100, TReportUnit::Characters, V, 1453.0L / 2.54L, 10.0L},
        {120, 100, TReportUnit::Characters, H, 80.0L / 2.54L, 1.0L},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << unitName(c.unit) << " at " << c.dpi << " dpi, zoom "
                                          << c.zoom << ", " << static_cast<double>(c.tenths));
        TReport report;
        TReportBand band(&report);
        TReportBandSize& size = band.size();
        size.setResolution(c.dpi);
        ASSERT_EQ(size.resolution(), c.dpi);
        size.setZoom(c.zoom);
        EXPECT_NEAR(static_cast<double>(size.ToUnits(c.unit, c.tenths, c.axis)),
                    static_cast<double>(c.inUnits), static_cast<double>(tolerance * 1000));
        EXPECT_NEAR(static_cast<double>(size.FromUnits(c.unit, c.inUnits, c.axis)),
                    static_cast<double>(c.tenths), static_cast<double>(tolerance * 1000));
        // The current units are the ones the value accessors use.
        size.setUnits(c.unit);
        EXPECT_EQ(size.ToUnits(c.tenths, c.axis), size.ToUnits(c.unit, c.tenths, c.axis));
        // The object converts by the pure functions at its own scale.
        const TReportUnitScale scale{c.dpi, c.zoom, report.font().size()};
        EXPECT_EQ(ToUnits(c.unit, c.tenths, c.axis, scale), size.ToUnits(c.unit, c.tenths, c.axis));
        EXPECT_EQ(FromUnits(c.unit, c.inUnits, c.axis, scale),
                  size.FromUnits(c.unit, c.inUnits, c.axis));
    }
}

TEST(Units, AReportPixelIsAnInchOver96WhateverTheScreenSays)
{
    for (const int screen : {96, 120, 144}) {
        EnvironmentScope environment(screen);
        TReport report;
        TReportBand band(&report);
        EXPECT_EQ(band.size().resolution(), reportPixelsPerInch) << screen;
        EXPECT_EQ(report.page().resolution(), reportPixelsPerInch) << screen;
        EXPECT_NEAR(static_cast<double>(
                        band.size().FromUnits(TReportUnit::Pixels, 52, TReportAxis::Horizontal)),
                    137.583333333333, 1e-9)
            << screen;
        EXPECT_EQ(TReportFont::fromPoints(QStringLiteral("Arial"), 9).height, 12) << screen;
    }
}

TEST(Units, CharactersWithoutAReportFontAreAnError)
{
    TReportBand band;
    EXPECT_THROW(band.size().ToUnits(TReportUnit::Characters, 100, TReportAxis::Horizontal),
                 EReportError);
    EXPECT_THROW(band.size().FromUnits(TReportUnit::Characters, 1, TReportAxis::Vertical),
                 EReportError);
}

TEST(Units, RoundingSendsHalvesToTheEvenNeighbour)
{
    struct Case
    {
        long double value;
        int rounded;
    };
    const Case cases[] = {
        {0.5L, 0},
        {1.5L, 2},
        {2.5L, 2},
        {3.5L, 4},
        {-0.5L, 0},
        {-1.5L, -2},
        {-2.5L, -2},
        {2.4999999999L, 2},
        {2.5000000001L, 3},
        {-2.5000000001L, -3},
        {764.104166L, 764},
        {793.700787L, 794},   // A4 width at 96 pixels per inch
        {1122.519685L, 1123}, // A4 length
        {std::numeric_limits<long double>::quiet_NaN(), 0},
        {1e30L, INT_MAX},
        {-1e30L, INT_MIN},
        {std::numeric_limits<long double>::infinity(), INT_MAX},
    };
    for (const Case& c : cases)
        EXPECT_EQ(roundHalfEven(c.value), c.rounded) << static_cast<double>(c.value);
}

TEST(Units, MultiplyDivideRoundsHalvesAwayFromZero)
{
    struct Case
    {
        int a, b, c, result;
    };
    const Case cases[] = {
        {9, 96, 72, 12},  // 9 pt is 12 pixels at 96 pixels per inch
        {10, 96, 72, 13}, // 13.33
        {11, 96, 72, 15}, // 14.67
        {13, 72, 96, 10}, // 9.75: a 13-pixel font is 10 pt
        {3, 1, 2, 2},
        {-3, 1, 2, -2},
        {3, -1, 2, -2},
        {5, 7, 0, -1},
        {INT_MAX, INT_MAX, 1, -1}, // does not fit
    };
    for (const Case& c : cases)
        EXPECT_EQ(mulDiv(c.a, c.b, c.c), c.result) << c.a << " * " << c.b << " / " << c.c;
}
