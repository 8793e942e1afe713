#pragma once

#include "report/units.h"

namespace report {

/// Tenths of a millimetre, measured from the sheet's corner, to pixels of a device with
/// `factor` pixels per tenth whose origin lies `edge` tenths into the sheet (its unprintable
/// edge on that axis; 0 for a size). Every position and size the engine draws, live or from a
/// stored page, becomes device pixels here; halves go to the even neighbour.
int tenthsToDevicePixels(long double tenths, long double factor, long double edge = 0);

/// A surface report output lands on, as a value: its pixels per tenth of a millimetre on each
/// axis and the unprintable edges (tenths, exact) by which its origin lies inside the sheet.
struct TReportDevice
{
    /// The factor before a run sets the device's: 96 pixels per inch over 254 tenths.
    static constexpr long double DefaultFactor = 0.37795L;

    long double horzFactor = DefaultFactor; // device pixels per tenth
    long double vertFactor = DefaultFactor;
    long double deadLeft = 0; // tenths
    long double deadTop = 0;
    /// Resolution of a printer page, whose texts are measured on the device itself; 0 for a
    /// page picture, whose texts are measured on the report's 96-dpi reference context.
    int printerPixelsPerInchX = 0;

    /// A page picture at the report's 96 pixels per inch, without edges.
    static TReportDevice picture();
    /// A printer page of `dpiX` × `dpiY` pixels per inch; a vertical factor below 0.1 becomes 1.
    static TReportDevice printerPage(int dpiX, int dpiY, long double deadLeft, long double deadTop);
    /// A printer job before its first page: each factor below 0.1 becomes DefaultFactor.
    static TReportDevice printerJob(int dpiX, int dpiY, long double deadLeft, long double deadTop);

    int DeviceX(long double x) const { return tenthsToDevicePixels(x, horzFactor, deadLeft); }
    int DeviceY(long double y) const { return tenthsToDevicePixels(y, vertFactor, deadTop); }
    int DeviceWidth(long double w) const { return tenthsToDevicePixels(w, horzFactor); }
    int DeviceHeight(long double h) const { return tenthsToDevicePixels(h, vertFactor); }
    /// The resolution fonts are selected for: what the vertical factor comes to in an inch.
    int fontPixelsPerInch() const { return roundHalfEven(vertFactor * tenthsPerInch); }

    bool operator==(const TReportDevice&) const = default;
};

} // namespace report
