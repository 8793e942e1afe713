#include "report/device.h"

namespace report {

namespace {

long double factorOf(int pixelsPerInch)
{
    return pixelsPerInch / tenthsPerInch;
}

} // namespace

int tenthsToDevicePixels(long double tenths, long double factor, long double edge)
{
    return roundHalfEven((tenths - edge) * factor);
}

TReportDevice TReportDevice::picture()
{
    const long double factor = factorOf(reportPixelsPerInch);
    return {factor, factor, 0, 0, 0};
}

TReportDevice TReportDevice::printerPage(int dpiX, int dpiY, long double deadLeft,
                                         long double deadTop)
{
    TReportDevice device{factorOf(dpiX), factorOf(dpiY), deadLeft, deadTop, dpiX};
    if (device.vertFactor < 0.1L)
        device.vertFactor = 1.0L;
    return device;
}

TReportDevice TReportDevice::printerJob(int dpiX, int dpiY, long double deadLeft,
                                        long double deadTop)
{
    TReportDevice device{factorOf(dpiX), factorOf(dpiY), deadLeft, deadTop, dpiX};
    if (device.horzFactor < 0.1L)
        device.horzFactor = DefaultFactor;
    if (device.vertFactor < 0.1L)
        device.vertFactor = DefaultFactor;
    return device;
}

} // namespace report
