#pragma once

#include "report/previewinterface.h"
#include "report/report.h"
#include "report/reportprinter.h"

#include <QTimer>
#include <functional>

namespace testsupport {

/// Stands in for the preview window of a report's preview request: `onShow` runs where the
/// window would open, and may keep it "open" by setting the printer's previewing flag.
class StubPreview : public report::TReportPreviewInterface
{
public:
    explicit StubPreview(std::function<void(report::TReportPrinter&)> onShow)
        : m_onShow(std::move(onShow))
    {}
    QObject* Show(report::TReportPrinter& printer) override
    {
        m_onShow(printer);
        return nullptr;
    }

private:
    std::function<void(report::TReportPrinter&)> m_onShow;
};

/// Runs `action` from the event loop once the report has finished its run, as a click in an
/// open preview window would.
inline void whenIdle(report::TReport* target, std::function<void()> action)
{
    QTimer::singleShot(10, target, [target, action = std::move(action)]() mutable {
        if (target->available())
            action();
        else
            whenIdle(target, std::move(action));
    });
}

} // namespace testsupport
