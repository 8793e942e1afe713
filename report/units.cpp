#include "report/units.h"

#include "platform/environment.h"
#include "report/report.h"
#include "report/reporterror.h"

#include <climits>
#include <cmath>
#include <cstdint>

namespace report {

namespace {

constexpr long double tenthsPerInch = 254.0L;

// Character units of an S-point report font: 80 / S / 2.54 mm across and 145.3 / S / 2.54 mm
// down, the cell the stored layouts were measured in.
constexpr long double charWidthFactor = 80.0L;
constexpr long double charHeightFactor = 145.3L;

class ParentUpdatingScope
{
public:
    explicit ParentUpdatingScope(bool& flag) : m_flag(flag), m_previous(flag) { m_flag = true; }
    ~ParentUpdatingScope() { m_flag = m_previous; }
    ParentUpdatingScope(const ParentUpdatingScope&) = delete;
    ParentUpdatingScope& operator=(const ParentUpdatingScope&) = delete;

private:
    bool& m_flag;
    bool m_previous;
};

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

TReportUnitBase::TReportUnitBase(std::size_t valueCount)
    : m_resolution(reportPixelsPerInch), m_units(defaultUnits()), m_savedUnits(m_units),
      m_values(valueCount, 0.0L)
{}

TReportUnitBase::~TReportUnitBase() = default;

long double TReportUnitBase::ToUnits(TReportUnit unit, long double tenths, TReportAxis axis) const
{
    switch (unit) {
    case TReportUnit::MM:
        return tenths / 10.0L;
    case TReportUnit::Inches:
        return tenths / tenthsPerInch;
    case TReportUnit::Pixels:
        return tenths / (tenthsPerInch / m_resolution) * m_zoom / 100.0L;
    case TReportUnit::Characters: {
        const long double factor =
            axis == TReportAxis::Horizontal ? charWidthFactor : charHeightFactor;
        const long double points = std::abs(parentReport() ? parentReport()->font().size() : 0);
        if (points == 0.0L)
            throw EReportError(QStringLiteral("Character units need the report's font"));
        return tenths / (factor / points / 2.54L) / 10.0L;
    }
    case TReportUnit::Native:
        return tenths;
    }
    return tenths;
}

long double TReportUnitBase::FromUnits(TReportUnit unit, long double value, TReportAxis axis) const
{
    switch (unit) {
    case TReportUnit::MM:
        return value * 10.0L;
    case TReportUnit::Inches:
        return value * tenthsPerInch;
    case TReportUnit::Pixels:
        // A zoom of 0 is never accepted by the report; only a caller bypassing it would see inf.
        return value * (tenthsPerInch / m_resolution) / m_zoom * 100.0L;
    case TReportUnit::Characters: {
        const long double factor =
            axis == TReportAxis::Horizontal ? charWidthFactor : charHeightFactor;
        const long double points = std::abs(parentReport() ? parentReport()->font().size() : 0);
        if (points == 0.0L)
            throw EReportError(QStringLiteral("Character units need the report's font"));
        return value * (factor / points / 2.54L) * 10.0L;
    }
    case TReportUnit::Native:
        return value;
    }
    return value;
}

long double TReportUnitBase::ToUnits(long double tenths, TReportAxis axis) const
{
    return ToUnits(m_units, tenths, axis);
}

long double TReportUnitBase::FromUnits(long double value, TReportAxis axis) const
{
    return FromUnits(m_units, value, axis);
}

long double TReportUnitBase::value(std::size_t index) const
{
    return ToUnits(m_values.at(index), axisOf(index));
}

void TReportUnitBase::setValue(std::size_t index, long double value)
{
    m_values.at(index) = FromUnits(value, axisOf(index));
    updateParentBounds();
}

void TReportUnitBase::setValues(const std::vector<long double>& values)
{
    if (values.size() != m_values.size())
        throw EReportError(QStringLiteral("Values needs %1 numbers, not %2")
                               .arg(m_values.size())
                               .arg(values.size()));
    m_values = values;
    if (!ownerLoading())
        updateParentBounds();
}

void TReportUnitBase::storePixels(std::size_t index, int pixels)
{
    const TReportAxis axis = axisOf(index);
    if (roundHalfEven(ToUnits(TReportUnit::Pixels, m_values.at(index), axis)) != pixels)
        m_values.at(index) = FromUnits(TReportUnit::Pixels, pixels, axis);
}

void TReportUnitBase::updateParentBounds()
{
    ParentUpdatingScope scope(m_parentUpdating);
    pushBounds();
}

} // namespace report
