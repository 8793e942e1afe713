#pragma once

#include "report/previewinterface.h"

namespace preview {

/// Opens the standard preview window on a report printer; the registered default.
class TReportStandardPreviewInterface : public report::TReportPreviewInterface
{
public:
    /// Shows the window modelessly (it destroys itself when closed) with its status updated.
    QObject* Show(report::TReportPrinter& printer) override;
    /// Runs the window modally; returns once it has closed, with none (it is gone by then).
    QObject* ShowModal(report::TReportPrinter& printer) override;
};

/// Makes the standard preview window the report engine's preview, and the printing progress
/// window its progress window. The program calls it once at start-up.
void registerStandardPreview();

} // namespace preview
