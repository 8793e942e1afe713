#include "report/unitbase.h"

#include "report/reporterror.h"

namespace report {

namespace {

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

TReportUnitBase::TReportUnitBase(std::size_t valueCount)
    : m_resolution(reportPixelsPerInch), m_units(defaultUnits()), m_savedUnits(m_units),
      m_values(valueCount, 0.0L)
{}

TReportUnitBase::~TReportUnitBase() = default;

TReportUnitScale TReportUnitBase::scale(TReportUnit unit) const
{
    TReportUnitScale s{m_resolution, m_zoom, 0};
    // Only characters ask for the report's font, which means finding the report.
    if (unit == TReportUnit::Characters) {
        s.fontPoints = characterFontPoints();
        if (s.fontPoints == 0)
            throw EReportError(QStringLiteral("Character units need the report's font"));
    }
    return s;
}

long double TReportUnitBase::ToUnits(TReportUnit unit, long double tenths, TReportAxis axis) const
{
    return report::ToUnits(unit, tenths, axis, scale(unit));
}

long double TReportUnitBase::FromUnits(TReportUnit unit, long double value, TReportAxis axis) const
{
    return report::FromUnits(unit, value, axis, scale(unit));
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
    setTenths(index, FromUnits(value, axisOf(index)));
}

void TReportUnitBase::setTenths(std::size_t index, long double tenths)
{
    m_values.at(index) = tenths;
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
    if (this->pixels(index) != pixels)
        m_values.at(index) = FromUnits(TReportUnit::Pixels, pixels, axisOf(index));
}

int TReportUnitBase::pixels(std::size_t index) const
{
    return roundHalfEven(ToUnits(TReportUnit::Pixels, m_values.at(index), axisOf(index)));
}

void TReportUnitBase::updateParentBounds()
{
    ParentUpdatingScope scope(m_parentUpdating);
    pushBounds();
}

} // namespace report
