#include "report/units.h"

#include "platform/environment.h"

#include <climits>
#include <cmath>
#include <cstdint>

namespace report {

namespace {

// Character units of an S-point report font: 80 / S / 2.54 mm across and 145.3 / S / 2.54 mm
// down, the cell the stored layouts were measured in. Millimetres per character.
long double characterMillimetres(TReportAxis axis, int fontPoints)
{
    const long double factor = axis == TReportAxis::Horizontal ? 80.0L : 145.3L;
    const long double points = std::abs(fontPoints);
    return factor / points / 2.54L;
}

} // namespace

int roundHalfEven(long double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<long double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<long double>(INT_MIN))
        return INT_MIN;
    // The default rounding mode, to nearest with ties to even, is exactly the rule; the one
    // instruction costs far less than working the fraction out by hand.
    return static_cast<int>(std::rint(value));
}

int mulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t magnitudeProduct = product < 0 ? -product : product;
    const std::int64_t magnitudeDivisor = c < 0 ? -static_cast<std::int64_t>(c) : c;
    std::int64_t quotient = (magnitudeProduct + magnitudeDivisor / 2) / magnitudeDivisor;
    if ((product < 0) != (c < 0))
        quotient = -quotient;
    if (quotient > INT_MAX || quotient < INT_MIN)
        return -1;
    return static_cast<int>(quotient);
}

TReportUnit defaultUnits()
{
    return platform::regionalSettings().measurementSystem == QLocale::ImperialUSSystem
               ? TReportUnit::Inches
               : TReportUnit::MM;
}

long double ToUnits(TReportUnit unit, long double tenths, TReportAxis axis,
                    const TReportUnitScale& scale)
{
    switch (unit) {
    case TReportUnit::MM:
        return tenths / 10.0L;
    case TReportUnit::Inches:
        return tenths / tenthsPerInch;
    case TReportUnit::Pixels:
        return tenths / (tenthsPerInch / scale.resolution) * scale.zoom / 100.0L;
    case TReportUnit::Characters:
        return tenths / characterMillimetres(axis, scale.fontPoints) / 10.0L;
    case TReportUnit::Native:
        return tenths;
    }
    return tenths;
}

long double FromUnits(TReportUnit unit, long double value, TReportAxis axis,
                      const TReportUnitScale& scale)
{
    switch (unit) {
    case TReportUnit::MM:
        return value * 10.0L;
    case TReportUnit::Inches:
        return value * tenthsPerInch;
    case TReportUnit::Pixels:
        // A zoom of 0 is never accepted by the report; only a caller bypassing it would see inf.
        return value * (tenthsPerInch / scale.resolution) / scale.zoom * 100.0L;
    case TReportUnit::Characters:
        return value * characterMillimetres(axis, scale.fontPoints) * 10.0L;
    case TReportUnit::Native:
        return value;
    }
    return value;
}

} // namespace report
