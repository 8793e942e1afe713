#pragma once

#include "report/band.h"
#include "report/control.h"
#include "report/evenvironment.h"
#include "report/page.h"
#include "report/printable.h"
#include "report/printersettings.h"

#include <QList>
#include <QStringList>
#include <memory>

namespace report {

class TCustomReport;
class TReportRun;

/// Drives the bands of a run; created with the report.
class TReportController
{
public:
    QObject* dataSet() const { return m_dataSet; }
    void setDataSet(QObject* dataSet) { m_dataSet = dataSet; }
    /// Without data the detail band still prints once.
    bool printIfEmpty() const { return m_printIfEmpty; }
    void setPrintIfEmpty(bool on) { m_printIfEmpty = on; }
    const TReportNeedDataEvent& onNeedData() const { return m_onNeedData; }
    void setOnNeedData(TReportNeedDataEvent event) { m_onNeedData = std::move(event); }
    TReportCustomBand* header() const { return m_header; }
    void setHeader(TReportCustomBand* band) { m_header = band; }
    TReportCustomBand* detail() const { return m_detail; }
    void setDetail(TReportCustomBand* band) { m_detail = band; }
    TReportCustomBand* footer() const { return m_footer; }
    void setFooter(TReportCustomBand* band) { m_footer = band; }
    int detailCount() const { return m_detailCount; }
    void setDetailCount(int count) { m_detailCount = count; }

private:
    QObject* m_dataSet = nullptr;
    bool m_printIfEmpty = true;
    TReportNeedDataEvent m_onNeedData;
    TReportCustomBand* m_header = nullptr;
    TReportCustomBand* m_detail = nullptr;
    TReportCustomBand* m_footer = nullptr;
    int m_detailCount = 0;
};

/// The report's band types as switches: each is on when the report has a band of that type,
/// and switching it on or off creates or frees such bands.
class TReportBands
{
public:
    explicit TReportBands(TCustomReport& report) : m_report(report) {}

    bool has(TReportBandType type) const;
    void setHas(TReportBandType type, bool on);

    bool hasTitle() const { return has(rbTitle); }
    void setHasTitle(bool on) { setHas(rbTitle, on); }
    bool hasPageHeader() const { return has(rbPageHeader); }
    void setHasPageHeader(bool on) { setHas(rbPageHeader, on); }
    bool hasColumnHeader() const { return has(rbColumnHeader); }
    void setHasColumnHeader(bool on) { setHas(rbColumnHeader, on); }
    bool hasDetail() const { return has(rbDetail); }
    void setHasDetail(bool on) { setHas(rbDetail, on); }
    bool hasPageFooter() const { return has(rbPageFooter); }
    void setHasPageFooter(bool on) { setHas(rbPageFooter, on); }
    bool hasSummary() const { return has(rbSummary); }
    void setHasSummary(bool on) { setHas(rbSummary, on); }

private:
    TCustomReport& m_report;
};

/// The report: a page setup, printer settings, bands stacked down the page and printable
/// controls inside them. Its own pixel size follows the page.
class TCustomReport : public TReportBasePanel, public TReportPrinterSettingsEvents
{
    Q_OBJECT
public:
    explicit TCustomReport(QObject* parent = nullptr);
    ~TCustomReport() override;

    const TReportNotifyEvent& afterPrint() const { return m_afterPrint; }
    void setAfterPrint(TReportNotifyEvent event) { m_afterPrint = std::move(event); }
    const TReportNotifyEvent& afterPreview() const { return m_afterPreview; }
    void setAfterPreview(TReportNotifyEvent event) { m_afterPreview = std::move(event); }
    /// Name of a picture control on the report drawn behind each page.
    const QString& backImageControl() const { return m_backImageControl; }
    void setBackImageControl(const QString& name) { m_backImageControl = name; }
    TReportBands& bands() { return m_bands; }
    const TReportBands& bands() const { return m_bands; }
    const TReportBeforePrintEvent& beforePrint() const { return m_beforePrint; }
    void setBeforePrint(TReportBeforePrintEvent event) { m_beforePrint = std::move(event); }
    QObject* dataSet() const { return m_controller.dataSet(); }
    void setDataSet(QObject* dataSet) { m_controller.setDataSet(dataSet); }
    const QStringList& description() const { return m_description; }
    void setDescription(const QStringList& lines) { m_description = lines; }
    TReportEvEnvironment& functions() { return m_functions; }
    const TReportEvEnvironment& functions() const { return m_functions; }
    const TReportNotifyEvent& onEndPage() const { return m_onEndPage; }
    void setOnEndPage(TReportNotifyEvent event) { m_onEndPage = std::move(event); }
    const TReportNotifyEvent& onStartPage() const { return m_onStartPage; }
    void setOnStartPage(TReportNotifyEvent event) { m_onStartPage = std::move(event); }
    const TReportNeedDataEvent& onNeedData() const { return m_onNeedData; }
    void setOnNeedData(TReportNeedDataEvent event) { m_onNeedData = std::move(event); }
    const TReportNotifyEvent& onPreview() const { return m_onPreview; }
    void setOnPreview(TReportNotifyEvent event) { m_onPreview = std::move(event); }
    TReportOptions options() const { return m_options; }
    void setOptions(TReportOptions options) { m_options = options; }
    TReportPage& page() { return m_page; }
    const TReportPage& page() const { return m_page; }
    TReportPrinterSettings& printerSettings() { return m_printerSettings; }
    const TReportPrinterSettings& printerSettings() const { return m_printerSettings; }
    /// The second copy, written only by the print dialog.
    TReportPrinterSettings& dialogSettings() { return m_dialogSettings; }
    const TReportPrinterSettings& dialogSettings() const { return m_dialogSettings; }
    bool printIfEmpty() const { return m_controller.printIfEmpty(); }
    void setPrintIfEmpty(bool on) { m_controller.setPrintIfEmpty(on); }
    const QString& reportTitle() const { return m_reportTitle; }
    void setReportTitle(const QString& title) { m_reportTitle = title; }
    bool showProgress() const { return m_showProgress; }
    void setShowProgress(bool on) { m_showProgress = on; }
    /// Stored only; no effect on layout or output.
    bool snapToGrid() const { return m_snapToGrid; }
    void setSnapToGrid(bool on) { m_snapToGrid = on; }
    /// The page's units.
    TReportUnit units() const { return m_page.units(); }
    /// Sets the units of the page, of every band's size and of every printable's size.
    void setUnits(TReportUnit units);
    int zoom() const { return panelZoom(); }
    /// 1 to 300 percent, else ignored; recomputes every pixel bound below the report.
    void setZoom(int zoom);

    /// The preview window's settings, stored with the report.
    TReportPreviewSettings& previewSettings() { return m_previewSettings; }
    const TReportPreviewSettings& previewSettings() const { return m_previewSettings; }

    /// 1 after a cancelled print dialog, 0 after a confirmed one.
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

    TReportController& controller() { return m_controller; }

    /// False while a run is in progress.
    bool available() const { return m_available; }
    /// The run in progress, or none.
    TReportRun* currentRun() const { return m_run; }
    /// Makes the report busy for one run: not available, `run` its current run. However the
    /// run ends, the report is available and as visible as it was again: one left busy by an
    /// error could never run again.
    class TRunGuard
    {
    public:
        TRunGuard(TCustomReport& report, TReportRun& run);
        ~TRunGuard();
        TRunGuard(const TRunGuard&) = delete;
        TRunGuard& operator=(const TRunGuard&) = delete;

    private:
        TCustomReport& m_report;
        bool m_visible;
    };

    bool isReport() const override { return true; }
    /// The bands in the report's order.
    QList<TReportCustomBand*> bandList() const;
    /// The first band of that type in the list.
    TReportCustomBand* bandOfType(TReportBandType type) const;
    /// Printable controls placed on the report itself, outside any band.
    QList<TReportPrintable*> printables() const;

    /// Lays the bands out for the designer view: each band starts at the left margin and is
    /// as wide as the page less its side margins (shared among columns for detail bands).
    void layoutBands();
    /// Pushes every size into pixels at the screen's resolution, then lays out the bands.
    void finishLoading() override;
    void bandJoined(TReportCustomBand& band) override;

private:
    void layoutBand(TReportCustomBand& band);
    template <typename Action> void forEachSize(Action action);

    TReportNotifyEvent m_afterPrint;
    TReportNotifyEvent m_afterPreview;
    QString m_backImageControl;
    TReportBands m_bands;
    TReportBeforePrintEvent m_beforePrint;
    QStringList m_description;
    TReportEvEnvironment m_functions;
    TReportNotifyEvent m_onEndPage;
    TReportNotifyEvent m_onStartPage;
    TReportNeedDataEvent m_onNeedData;
    TReportNotifyEvent m_onPreview;
    TReportOptions m_options = {TReportOption::FirstPageHeader, TReportOption::LastPageFooter};
    TReportPage m_page;
    TReportPrinterSettings m_printerSettings;
    TReportPrinterSettings m_dialogSettings;
    QString m_reportTitle;
    bool m_showProgress = true;
    bool m_snapToGrid = true;
    TReportPreviewSettings m_previewSettings;
    int m_tag = 0;
    TReportController m_controller;
    bool m_available = true;
    TReportRun* m_run = nullptr;
};

class TReport : public TCustomReport
{
    Q_OBJECT
public:
    using TCustomReport::TCustomReport;
};

} // namespace report
