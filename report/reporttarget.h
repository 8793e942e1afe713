#pragma once

#include "report/device.h"

class QString;

namespace platform {
struct CanvasFont;
class DeviceCanvas;
} // namespace platform

namespace report {

class TCustomReport;

/// What the printables of a run draw through: the open page's canvas and device, and the room
/// the run has left on the page.
class TReportOutput
{
public:
    virtual ~TReportOutput() = default;

    /// The open page's drawing surface; none before the first page.
    virtual platform::DeviceCanvas* canvas() const = 0;
    /// The device the open page is drawn on.
    virtual const TReportDevice& device() const = 0;
    /// Room left on the current page above the bottom margin and the page footers, 0.1 mm.
    virtual int SpaceLeft() const = 0;
    /// Height of "W" in `font` on `canvas`, in device pixels; `font` is left selected.
    virtual int textHeight(platform::DeviceCanvas& canvas, const platform::CanvasFont& font) = 0;
};

/// The output target of a report run (a report printer): where its job starts and ends, where
/// each page opens, and what the open page is drawn on. Nothing here lets pending window
/// messages run.
class TReportTarget
{
public:
    virtual ~TReportTarget() = default;

    /// The report's page setup and printer settings into the target.
    virtual void ApplyPrinterValues(const TCustomReport& report) = 0;
    virtual void setTitle(const QString& title) = 0;
    virtual void setCompression(bool on) = 0;

    virtual void StartJob() = 0;
    virtual void OpenNextPage() = 0;
    virtual void FinishJob() = 0;
    virtual void AbortJob() = 0;
    virtual void CancelJob() = 0;
    virtual bool cancelled() const = 0;

    /// The open page's drawing surface; none while no page is open.
    virtual platform::DeviceCanvas* canvas() const = 0;
    /// The device the open page is drawn on.
    virtual const TReportDevice& device() const = 0;
    /// The paper's portrait width and length, tenths.
    virtual int SheetWidth() const = 0;
    virtual int SheetLength() const = 0;
};

} // namespace report
