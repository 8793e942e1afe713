#pragma once

#include <QObject>
#include <functional>
#include <memory>

namespace report {

class TReportPrinter;

/// Opens the preview window of a report's preview request. This base opens nothing; the
/// preview registers the factory of its standard window, and tests register their own.
class TReportPreviewInterface
{
public:
    virtual ~TReportPreviewInterface();

    /// Shows a window on `printer` modelessly and returns it (the application owns it), or
    /// none.
    virtual QObject* Show(TReportPrinter& printer);
    /// Runs a window on `printer` modally; returns it, or none.
    virtual QObject* ShowModal(TReportPrinter& printer);
};

using TReportPreviewFactory = std::function<std::unique_ptr<TReportPreviewInterface>()>;

/// The one registered factory class; an empty one goes back to the base interface.
void registerPreviewFactory(TReportPreviewFactory factory);
/// A new interface from the registered factory.
std::unique_ptr<TReportPreviewInterface> createPreviewInterface();

} // namespace report
