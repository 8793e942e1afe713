#pragma once

namespace report {

/// Report pixels per inch. A report pixel is 1/96 inch whatever the monitor reports: taking
/// the screen's resolution would print the same layout at another place on a desktop set to
/// 120 or 144 dots per inch. Preview pages and text measured "on the screen" use it too.
inline constexpr int reportPixelsPerInch = 96;

/// Tenths of a millimetre in an inch.
inline constexpr long double tenthsPerInch = 254.0L;

/// The units in which a unit object's values are read and written. `Native` is the engine's
/// own unit, the tenth of a millimetre.
enum class TReportUnit
{
    MM,
    Inches,
    Pixels,
    Characters,
    Native
};

/// Widths and x positions convert horizontally, heights and y positions vertically (the two
/// differ only for `Characters`).
enum class TReportAxis
{
    Horizontal,
    Vertical
};

/// Rounds to the nearest integer, an exact half going to the even neighbour. Values beyond
/// the int range saturate and NaN gives 0, so a wild measure never becomes undefined behaviour.
int roundHalfEven(long double value);

/// a × b / c rounded to nearest, halves away from zero, computed without overflow; -1 when c
/// is 0. Font point sizes and pixel heights convert through it.
int mulDiv(int a, int b, int c);

/// The units a unit object starts with: `Inches` where the locale measures in U.S. units,
/// `MM` everywhere else.
TReportUnit defaultUnits();

/// What a conversion needs besides the value: report pixels per inch and the zoom in percent
/// (for `Pixels`), and the size of the report's font in points (for `Characters`).
struct TReportUnitScale
{
    int resolution = reportPixelsPerInch;
    int zoom = 100;
    int fontPoints = 0;
};

/// Tenths of a millimetre to `unit`, and back. `Characters` needs a font size other than 0.
long double ToUnits(TReportUnit unit, long double tenths, TReportAxis axis,
                    const TReportUnitScale& scale);
long double FromUnits(TReportUnit unit, long double value, TReportAxis axis,
                      const TReportUnitScale& scale);

} // namespace report
