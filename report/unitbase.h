#pragma once

#include "report/units.h"

#include <cstddef>
#include <vector>

namespace report {

/// Base of the page setup and of the size objects of bands and printables: a list of values
/// held in tenths of a millimetre. The engine reads and writes them in tenths; the published
/// properties read and write them in the object's current units.
///
/// The values are `long double`: on the platforms we build for that is the 80-bit extended
/// type, the precision the stored layouts were written with. A stored value such as
/// 137.5833333333333 must survive a conversion to pixels and back without its rounding
/// decision (halves to even) flipping, and the stored tenths must be kept exactly when a pixel
/// value is set again unchanged.
class TReportUnitBase
{
public:
    explicit TReportUnitBase(std::size_t valueCount);
    virtual ~TReportUnitBase();
    TReportUnitBase(const TReportUnitBase&) = delete;
    TReportUnitBase& operator=(const TReportUnitBase&) = delete;

    /// Report pixels per inch: reportPixelsPerInch unless set otherwise.
    int resolution() const { return m_resolution; }
    /// Values of 0 or less are ignored.
    void setResolution(int pixelsPerInch)
    {
        if (pixelsPerInch > 0)
            m_resolution = pixelsPerInch;
    }
    TReportUnit units() const { return m_units; }
    void setUnits(TReportUnit units) { m_units = units; }
    /// Remembers the current units; restoreUnits() puts them back.
    void saveUnits() { m_savedUnits = m_units; }
    void restoreUnits() { m_units = m_savedUnits; }
    TReportUnit savedUnits() const { return m_savedUnits; }

    /// True while the object pushes its values into its owner's pixel bounds.
    bool parentUpdating() const { return m_parentUpdating; }

    /// Percent; the report keeps it within 1 to 300.
    int zoom() const { return m_zoom; }
    void setZoom(int zoom) { m_zoom = zoom; }

    /// Tenths of a millimetre to `unit`, and back, at this object's resolution and zoom.
    /// `Characters` measure by the owner's report font: EReportError without one.
    long double ToUnits(TReportUnit unit, long double tenths, TReportAxis axis) const;
    long double FromUnits(TReportUnit unit, long double value, TReportAxis axis) const;
    long double ToUnits(long double tenths, TReportAxis axis) const;
    long double FromUnits(long double value, TReportAxis axis) const;

    std::size_t valueCount() const { return m_values.size(); }
    /// Value `index` in the current units.
    long double value(std::size_t index) const;
    /// Sets value `index` given in the current units and moves the owner to match.
    void setValue(std::size_t index, long double value);
    /// Value `index` in tenths of a millimetre, whatever the units.
    long double tenths(std::size_t index) const { return m_values.at(index); }
    /// Sets value `index` in tenths of a millimetre and moves the owner to match.
    virtual void setTenths(std::size_t index, long double tenths);

    /// The stored form: every value in tenths of a millimetre, in the object's own order.
    const std::vector<long double>& values() const { return m_values; }
    /// Replaces the whole list and, unless the owner is being loaded, moves the owner to
    /// match; throws EReportError when the count is not the object's.
    void setValues(const std::vector<long double>& values);

    /// Sets the owner's pixel bounds from the values at the current resolution and zoom.
    void updateParentBounds();

    /// Sets value `index` to `pixels` report pixels, unless its stored tenths already come
    /// to that many pixels, in which case they stay exactly as they are. Nothing is pushed.
    void storePixels(std::size_t index, int pixels);
    /// Value `index` in whole report pixels at the object's resolution and zoom.
    int pixels(std::size_t index) const;

    virtual TReportAxis axisOf(std::size_t index) const = 0;

protected:
    /// Stores tenths without any side effect.
    void storeTenths(std::size_t index, long double tenths) { m_values.at(index) = tenths; }
    /// Moves the owner to the pixel equivalent of the values; runs with parentUpdating() set.
    virtual void pushBounds() = 0;
    virtual bool ownerLoading() const { return false; }
    /// The size in points of the font `Characters` measure by (the owner's report font); 0
    /// without one.
    virtual int characterFontPoints() const { return 0; }

private:
    /// What converting into or out of `unit` needs; EReportError for `Characters` without a
    /// report font.
    TReportUnitScale scale(TReportUnit unit) const;

    int m_resolution;
    TReportUnit m_units;
    TReportUnit m_savedUnits;
    bool m_parentUpdating = false;
    int m_zoom = 100;
    std::vector<long double> m_values;
};

} // namespace report
