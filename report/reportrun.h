#pragma once

#include "platform/emf.h"

#include <QList>
#include <vector>

namespace report {

class TCustomReport;
class TReportCustomBand;
class TReportPrintable;
class TReportPrinter;
struct TReportEvConstant;

/// One run of a report into its printer: walks the bands, keeps the current position on the
/// page, starts pages and columns, prints headers and footers and ends the job. Positions and
/// heights are in 0.1 mm; the report's units are `Native` while the run is on.
class TReportRun
{
public:
    TReportRun(TCustomReport& report, TReportPrinter& printer);
    TReportRun(const TReportRun&) = delete;
    TReportRun& operator=(const TReportRun&) = delete;

    /// The whole run. However it ends, a started job is ended: aborted when the run was
    /// cancelled, finished otherwise; an error then goes on to the caller.
    void execute();

    /// Marks the run cancelled and sets the printer's cancel flag.
    void cancel();
    /// Cancelled through the report, or through the printer (a preview closing mid-run).
    bool cancelled() const;

    /// Room left on the page above the bottom margin and the page footers; 0 before a page.
    int SpaceLeft() const;

    void EmitBand(TReportCustomBand* band);
    void RenderBand(TReportCustomBand& band);
    void EnsureRoom(TReportCustomBand& band);
    void StartNewColumn();
    void StartNewPage();
    void FinishPage();
    void RunController();
    void PrintOnce();

    /// Height of "W" in `font` on `canvas`, in device pixels. Every label of a font on a page
    /// measures the same, so it is measured once per canvas and font.
    int textHeight(platform::DeviceCanvas& canvas, const platform::CanvasFont& font);

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
    TReportPrinter& m_printer;

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
