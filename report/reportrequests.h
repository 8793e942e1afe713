#pragma once

#include <QObject>
#include <functional>
#include <memory>

namespace report {

class TCustomReport;
class TReportPrinter;

/// A report's requests: the preview request, the print operation and the cancel request, and
/// the window messages `CM_PREVIEWCLOSED` and `CM_PRINTREQUEST` sent to the report. They own
/// the report's printer and its page store, and they are the only part of the engine that lets
/// pending window messages run. One object per report, a child of it, made on first use.
class TReportRequests : public QObject
{
    Q_OBJECT
public:
    /// The requests of `report`.
    static TReportRequests& of(TCustomReport& report);
    ~TReportRequests() override;

    TCustomReport& report() const { return m_report; }

    /// The preview request: runs the report into a new preview-mode printer behind the preview
    /// window (the report's `OnPreview`, or the registered preview factory) and returns when
    /// that window has closed, the printer is gone or the application quits. Does nothing
    /// while a run is in progress.
    void Preview();
    /// The print operation: runs the report again straight onto the printer, with a progress
    /// window, on a printer of its own; the report keeps its previous printer, so an open
    /// preview keeps working. Does nothing while a run is in progress or without printers.
    void Print();
    /// While a run is in progress: marks it cancelled and sets the printer's cancel flag.
    void cancel();
    /// Runs the report into the current printer. EReportError "Report printer not ready"
    /// without one; an error of the run reaches the caller after the job has ended.
    void GenerateReport();

    /// The printer of the current preview request or print operation; none between them.
    TReportPrinter* reportPrinter() const { return m_printer.get(); }
    /// Gives the report a printer (the old one is released).
    void setReportPrinter(std::unique_ptr<TReportPrinter> printer);

    /// Makes the printers of the requests; by default a printer on the system's printers.
    using TReportPrinterMaker = std::function<std::unique_ptr<TReportPrinter>(TCustomReport&)>;
    void setPrinterMaker(TReportPrinterMaker maker) { m_printerMaker = std::move(maker); }

signals:
    // A print operation that runs ends with printJobAccepted or printJobFailed.
    /// The print operation's job is complete and about to be handed to the printer.
    void printJobSubmitting();
    /// The printer took the print operation's job.
    void printJobAccepted();
    /// The print operation ended without the printer taking a job: cancelled, refused by the
    /// printer, broken off by an error, or with nothing to print.
    void printJobFailed(bool cancelled);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit TReportRequests(TCustomReport& report);
    std::unique_ptr<TReportPrinter> newPrinter(QObject* notificationTarget);
    /// A preview still open when another is asked for is closed first: it shows the report
    /// as it was, and its buttons would act on a printer the report no longer holds.
    void closeOpenPreview();
    void previewClosed();

    TCustomReport& m_report;
    TReportPrinterMaker m_printerMaker;
    std::unique_ptr<TReportPrinter> m_printer;
    // The preview's printer while the print operation prints on one of its own.
    std::unique_ptr<TReportPrinter> m_printerAside;
};

} // namespace report
