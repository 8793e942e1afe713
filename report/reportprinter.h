#pragma once

#include "platform/emfpicture.h"
#include "report/device.h"
#include "report/printersettings.h"
#include "report/reportpagelist.h"
#include "report/reporttarget.h"
#include "report/reporttypes.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace platform {
class DeviceCanvas;
class EmfRecorder;
class Printer;
class PrinterObject;
} // namespace platform

namespace report {

class TCustomReport;
class TReportPrinter;

/// Where a run's pages go.
enum TReportDestination
{
    rdPageStore, // page pictures into the page store, for the preview
    rdPrinter    // straight onto the printer's device
};

enum TReportPrinterStatus
{
    psIdle = 0,
    psGenerating = 1,
    psComplete = 2
};

/// Makes the progress window of a printer (shown, made its notification target by the caller)
/// and returns it; the window goes when the pointer is released. The preview registers one.
using TReportProgressWindowFactory = std::function<std::unique_ptr<QObject>(TReportPrinter&)>;

/// The output target of a report run: page pictures (enhanced metafiles at 96 pixels per inch)
/// into the page store for the preview, or pages drawn straight on the printer. Positions come
/// in tenths of a millimetre from the paper's corner and leave as device pixels. It owns the
/// platform printer object (unless it shares the application's) and the page store.
class TReportPrinter : public QObject, public TReportTarget
{
    Q_OBJECT
public:
    /// The factor before a run sets the device's: 96 pixels per inch over 254 tenths.
    static constexpr long double DefaultFactor = TReportDevice::DefaultFactor;

    /// A printer for `parentReport` (may be none), taking `UseStandardprinter` and
    /// `MemoryLimit` from its `PrinterSettings`: on the application's shared printer object
    /// when `UseStandardprinter` is on, otherwise on one of its own. Reads the printer's
    /// settings when a printer is installed.
    explicit TReportPrinter(TCustomReport* parentReport = nullptr);
    /// The same on a printer object of the caller's, which must outlive this printer.
    TReportPrinter(TCustomReport* parentReport, platform::PrinterObject& printerObject);
    /// Ends a running job (cancelling a generating one), releases the page store's stream and
    /// with it any temporary file. A page view holding this printer sees it go (QPointer).
    ~TReportPrinter() override;

    // The run.
    /// Starts a run. EReportError "Report printer not ready" unless idle; the printer is left
    /// as it was then.
    void StartJob() override;
    /// Closes the open page (storing or printing it) and opens the next one.
    /// EReportError "Illegal call to NewPage" outside a run.
    void OpenNextPage() override;
    /// Ends the run: the last page is closed, the document handed to the printer, a last
    /// CM_PAGEAVAILABLE posted. Nothing unless generating.
    void FinishJob() override;
    /// Ends the run without ending the document: the printer drops it; an open preview page
    /// is still stored.
    void AbortJob() override;
    /// Marks the run cancelled; generation looks at cancelled().
    void CancelJob() override;
    bool cancelled() const override { return m_cancelled; }

    /// The device the open page is drawn on (before a page, the run's or the printer's).
    const TReportDevice& device() const override { return m_device; }
    // Device conversion: tenths of a millimetre to device pixels, halves to even.
    int DeviceX(long double x) const { return m_device.DeviceX(x); }
    int DeviceY(long double y) const { return m_device.DeviceY(y); }
    int DeviceWidth(long double w) const { return m_device.DeviceWidth(w); }
    int DeviceHeight(long double h) const { return m_device.DeviceHeight(h); }
    /// Device pixels per tenth of a millimetre.
    long double HorzFactor() const { return m_device.horzFactor; }
    long double VertFactor() const { return m_device.vertFactor; }
    /// The printer's unprintable left and top edges in tenths; 0 in preview mode.
    int DeadLeft() const { return roundHalfEven(m_device.deadLeft); }
    int DeadTop() const { return roundHalfEven(m_device.deadTop); }

    /// The page range of printer mode; 0 = no limit.
    int FirstPage() const { return m_firstPage; }
    void setFirstPage(int page) { m_firstPage = page; }
    int LastPage() const { return m_lastPage; }
    void setLastPage(int page) { m_lastPage = page; }
    /// Whether the page being generated (page count) lies in the range.
    bool PageInRange() const;

    /// The page's width and length in tenths: the settings' sheet, swapped for landscape.
    int paperWidth() const;
    int paperLength() const;
    /// The settings' sheet, portrait.
    int SheetWidth() const override { return m_settings->SheetWidth(); }
    int SheetLength() const override { return m_settings->SheetLength(); }

    /// Page n as a new picture owned by the caller, while generating or complete and
    /// 1 ≤ n ≤ page count; none otherwise or while page n is not stored yet.
    std::unique_ptr<platform::EmfPicture> GetPage(int n);
    /// Prints the stored pages on the printer (the preview of a printer without a report), or
    /// asks the report to print again when it can.
    void PrintStoredPages();

    /// The drawing surface of the open page; none while no page is open.
    platform::DeviceCanvas* canvas() const override { return m_canvas; }
    /// Objects that live as long as the open page.
    void addPageObject(std::unique_ptr<QObject> object);

    /// Printer selection: unless no printer is installed or `UseStandardprinter` is on, selects
    /// the printer by index (-1: the system's default) with its driver's defaults and reads it.
    void selectPrinter(int index);
    /// The report's page setup and `PrinterSettings` into this printer and its settings.
    void ApplyPrinterValues(const TCustomReport& report) override;

    TPrinterSettings& settings() { return *m_settings; }
    const TPrinterSettings& settings() const { return *m_settings; }
    platform::PrinterObject& printerObject() const { return *m_printerObject; }
    /// The platform lists at least one printer (checked at creation).
    bool printersPresent() const { return m_printersPresent; }

    TReportDestination destination() const { return m_destination; }
    void setDestination(TReportDestination destination) { m_destination = destination; }
    TReportPrinterStatus status() const { return m_status; }
    TCustomReport* parentReport() const { return m_parentReport; }
    /// The report whose preview request made this printer.
    TCustomReport* reportLink() const { return m_reportLinkAlive ? m_reportLink : nullptr; }
    void setReportLink(TCustomReport* report);
    /// Receives CM_PAGEAVAILABLE and CM_PROGRESSUPDATE.
    QObject* notificationTarget() const { return m_notificationTarget; }
    void setNotificationTarget(QObject* target) { m_notificationTarget = target; }
    QObject* previewWindow() const { return m_previewWindow; }
    void setPreviewWindow(QObject* window) { m_previewWindow = window; }

    /// Pages handed on (stored, printed or skipped), as CM_PAGEAVAILABLE counts them.
    int availablePages() const { return m_availablePages; }
    /// Pages started in the current run.
    int pageCount() const { return m_pageCount; }
    int pagesInRange() const { return m_pagesInRange; }
    /// The last progress percentage posted.
    int progress() const { return m_progress; }
    /// Remembers the percentage and posts CM_PROGRESSUPDATE with it.
    void postProgress(int percent);

    const QString& title() const { return m_title; }
    void setTitle(const QString& title) override { m_title = title; }
    bool compression() const { return m_pageStore.compression(); }
    void setCompression(bool on) override { m_pageStore.setCompression(on); }

    /// Set while a preview view shows this printer's pages. Clearing it cancels a run still
    /// generating and then calls the after-preview callback.
    bool previewing() const { return m_previewing; }
    void setPreviewing(bool on);
    /// Set when the preview request's run has ended.
    bool prepared() const { return m_prepared; }
    void setPrepared(bool on) { m_prepared = on; }

    // Callbacks set by the report's requests.
    void setAfterPrint(std::function<void()> callback) { m_afterPrint = std::move(callback); }
    void setAfterPreview(std::function<void()> callback) { m_afterPreview = std::move(callback); }
    /// The report's `OnPreview` handler, called with this printer as sender.
    const TReportNotifyEvent& previewHandler() const { return m_preview; }
    void setPreviewHandler(TReportNotifyEvent handler) { m_preview = std::move(handler); }

    /// The page store of preview mode.
    TReportPageList& pageStore() { return m_pageStore; }

    /// The progress window PrintStoredPages (and the report's print operation) show.
    static void setProgressWindowFactory(TReportProgressWindowFactory factory);
    /// A progress window for `printer`, or none when no factory is registered.
    static std::unique_ptr<QObject> makeProgressWindow(TReportPrinter& printer);

signals:
    /// A printer-mode run's document is complete and about to be handed to the printer.
    void documentSubmitting();
    /// The printer took the document.
    void documentAccepted();

private:
    TReportPrinter(TCustomReport* parentReport, platform::PrinterObject* shared);
    /// The printer as it is now: its resolution and the edges its settings read last.
    TReportDevice printerDevice(bool firstPageOpen) const;
    void openPagePicture();
    void openPrinterPage();
    void closePagePicture(bool store);
    void postPageAvailable();
    void drawStoredPages(int first, int last);

    TCustomReport* m_parentReport;
    std::unique_ptr<platform::Printer> m_ownPrinter;
    platform::PrinterObject* m_printerObject;
    std::unique_ptr<TPrinterSettings> m_settings;
    TReportPageList m_pageStore;

    std::function<void()> m_afterPrint;
    std::function<void()> m_afterPreview;
    TReportNotifyEvent m_preview;

    int m_availablePages = 0;
    bool m_cancelled = false;
    platform::DeviceCanvas* m_canvas = nullptr;
    std::unique_ptr<platform::EmfRecorder> m_picture;
    std::vector<std::unique_ptr<QObject>> m_pageObjects;
    TReportDestination m_destination = rdPageStore;
    int m_firstPage = 0;
    int m_lastPage = 0;
    TReportDevice m_device;
    QPointer<QObject> m_notificationTarget;
    TCustomReport* m_reportLink = nullptr;
    QPointer<QObject> m_reportLinkAlive; // the same report, cleared when it goes
    QPointer<QObject> m_previewWindow;
    int m_pageCount = 0;
    int m_pagesInRange = 0;
    bool m_printersPresent = false;
    // The selection the own printer holds, made during this run's setup; while the printer has
    // not changed since, selecting it again would only ask the scheduler for the same answers.
    struct Selection
    {
        int index;
        quint64 changes;
    };
    std::optional<Selection> m_selection;
    int m_progress = 0;
    QString m_title;
    bool m_previewing = false;
    TReportPrinterStatus m_status = psIdle;
    bool m_prepared = false;
};

} // namespace report
