#pragma once

#include "platform/emf.h"
#include "report/reporttarget.h"

#include <QList>
#include <vector>

namespace report {

class TCustomReport;
class TReportCustomBand;
class TReportPrintable;
struct TReportEvConstant;

/// Runs `report` into `target` (see TReportRun). Does nothing while a run is in progress.
/// Margins wider than the page are set to 0 in pairs first, and stay 0. An error of the run
/// reaches the caller after the job has ended, and the report can run again.
void GenerateReport(TCustomReport& report, TReportTarget& target, bool composite = false);

/// One run of a report into its output target: walks the bands, keeps the current position
/// on the page, starts pages and columns, prints headers and footers and ends the job.
/// Positions and heights are in 0.1 mm. The run is what its printables draw through.
class TReportRun : public TReportOutput
{
public:
    TReportRun(TCustomReport& report, TReportTarget& target);
    TReportRun(const TReportRun&) = delete;
    TReportRun& operator=(const TReportRun&) = delete;

    /// The whole run. However it ends, a started job is ended: aborted when the run was
    /// cancelled, finished otherwise; an error then goes on to the caller.
    void execute();

    /// Marks the run cancelled and sets the target's cancel flag.
    void cancel();
    /// Cancelled through the report, or through the target (a preview closing mid-run).
    bool cancelled() const;

    /// Room left on the page above the bottom margin and the page footers; 0 before a page.
    int SpaceLeft() const override;
    platform::DeviceCanvas* canvas() const override { return m_target.canvas(); }
    const TReportDevice& device() const override { return m_target.device(); }

    void EmitBand(TReportCustomBand* band);
    void RenderBand(TReportCustomBand& band);
    void EnsureRoom(TReportCustomBand& band);
    void StartNewColumn();
    void StartNewPage();
    void FinishPage();
    void RunController();
    void PrintOnce();

    /// Every label of a font on a page measures the same, so it is measured once per canvas
    /// and font.
    int textHeight(platform::DeviceCanvas& canvas, const platform::CanvasFont& font) override;

    int currentX() const { return m_x; }
    int currentY() const { return m_y; }
    int columnTop() const { return m_columnTop; }
    int currentColumn() const { return m_column; }
    int pageCount() const { return m_pageCount; }
    long double pageFooterSpace() const { return m_pageFooterSpace; }

private:
    void generate();
    void endJob();
    /// The paper length of the printer, or its width for a landscape page.
    long double paperLength() const;
    long double bandChainHeight(const TReportCustomBand& band, bool viaChildren) const;
    QList<TReportPrintable*> allPrintables() const;
    /// Fills the band, prints its controls, on further columns while some have lines left.
    void printBand(TReportCustomBand& band);

    TCustomReport& m_report;
    TReportTarget& m_target;

    bool m_cancelled = false;
    bool m_finalPage = false;
    int m_x = 0;
    int m_y = -1;
    int m_columnTop = 0;
    int m_column = 1;
    int m_pageCount = 0;
    long double m_pageFooterSpace = 0;
    bool m_bandOverflow = false;
    bool m_pendingColumn = false;
    bool m_titleJustPrinted = false;
    bool m_outputBegun = false;
    // Bands being emitted: a band whose own room-making needs it again is not nested.
    QList<const TReportCustomBand*> m_emitting;

    struct MeasuredHeight
    {
        const platform::DeviceCanvas* canvas;
        platform::CanvasFont font;
        int height;
    };
    std::vector<MeasuredHeight> m_textHeights;

    TReportEvConstant* m_pageNumber = nullptr;
    TReportEvConstant* m_columnNumber = nullptr;
    TReportEvConstant* m_reportTitle = nullptr;
};

} // namespace report
