#include "report/reportrun.h"

#include "report/band.h"
#include "report/label.h"
#include "report/report.h"
#include "report/reporterror.h"

namespace report {

namespace {

bool isPageFurniture(TReportBandType type)
{
    return type == rbTitle || type == rbPageHeader || type == rbPageFooter || type == rbOverlay;
}

void setConstant(TReportEvConstant* constant, const QVariant& value)
{
    if (constant)
        constant->value = value;
}

} // namespace

void GenerateReport(TCustomReport& report, TReportTarget& target, bool /*composite*/)
{
    if (!report.available())
        return;
    TReportPage& page = report.page();
    if (page.widthTenths() - page.leftMarginTenths() - page.rightMarginTenths() < 0) {
        page.setTenths(TReportPage::LeftMarginIndex, 0);
        page.setTenths(TReportPage::RightMarginIndex, 0);
    }
    if (page.lengthTenths() - page.topMarginTenths() - page.bottomMarginTenths() < 0) {
        page.setTenths(TReportPage::TopMarginIndex, 0);
        page.setTenths(TReportPage::BottomMarginIndex, 0);
    }
    TReportRun run(report, target);
    const TCustomReport::TRunGuard busy(report, run);
    run.execute();
}

TReportRun::TReportRun(TCustomReport& report, TReportTarget& target)
    : m_report(report), m_target(target)
{}

int TReportRun::textHeight(platform::DeviceCanvas& canvas, const platform::CanvasFont& font)
{
    for (const MeasuredHeight& m : m_textHeights) {
        if (m.canvas == &canvas && m.font == font)
            return m.height;
    }
    canvas.setFont(font);
    const int height = canvas.textExtent(QStringLiteral("W")).height();
    m_textHeights.push_back({&canvas, font, height});
    return height;
}

void TReportRun::cancel()
{
    m_cancelled = true;
    m_target.CancelJob();
}

bool TReportRun::cancelled() const
{
    return m_cancelled || m_target.cancelled();
}

void TReportRun::execute()
{
    // The data sets of the owner form and a background picture control would be collected
    // here; the engine has neither data access nor picture controls.
    if (const TReportBeforePrintEvent& beforePrint = m_report.beforePrint()) {
        bool printReport = true;
        beforePrint(&m_report, printReport);
        if (!printReport)
            return;
    }
    // Handlers raised during the run read the report's values in tenths. The run itself reads
    // tenths by name and does not depend on this.
    const TReportUnit units = m_report.units();
    try {
        m_report.setUnits(TReportUnit::Native);
        generate();
    } catch (...) {
        // Units and controls come back also when the run breaks off, so the report can run
        // again; the job ends as it would have.
        m_report.setUnits(units);
        if (m_outputBegun) {
            for (TReportPrintable* printable : allPrintables())
                printable->EndOutput();
        }
        endJob();
        throw;
    }
    m_report.setUnits(units);
    for (TReportPrintable* printable : allPrintables())
        printable->EndOutput();
    endJob();
}

void TReportRun::endJob()
{
    if (cancelled())
        m_target.AbortJob();
    else
        m_target.FinishJob();
}

void TReportRun::generate()
{
    const TReportPage& page = m_report.page();
    m_target.ApplyPrinterValues(m_report);
    m_target.setTitle(m_report.reportTitle());
    m_target.setCompression(m_report.options().testFlag(TReportOption::Compression));
    m_target.StartJob();
    m_y = -1;
    m_pageCount = 0;
    m_column = page.columns();

    m_pageFooterSpace = 0;
    for (const TReportCustomBand* band : m_report.bandList()) {
        if (band->bandType() == rbPageFooter && band->enabled())
            m_pageFooterSpace += bandChainHeight(*band, true);
    }

    m_x = roundHalfEven(page.leftMarginTenths());

    TReportEvEnvironment& functions = m_report.functions();
    m_pageNumber = functions.find(QStringLiteral("PAGENUMBER"));
    m_columnNumber = functions.find(QStringLiteral("COLUMNNUMBER"));
    m_reportTitle = functions.find(QStringLiteral("REPORTTITLE"));
    setConstant(m_reportTitle, m_report.reportTitle());

    m_outputBegun = true;
    for (TReportPrintable* printable : allPrintables())
        printable->BeginOutput(*this);

    TReportController& controller = m_report.controller();
    controller.setHeader(m_report.bandOfType(rbTitle));
    controller.setDetail(m_report.bandOfType(rbDetail));
    controller.setFooter(m_report.bandOfType(rbSummary));
    controller.setOnNeedData(m_report.onNeedData());
    RunController();

    m_x = roundHalfEven(page.leftMarginTenths());
    m_finalPage = true;
    if (!cancelled())
        FinishPage();
}

QList<TReportPrintable*> TReportRun::allPrintables() const
{
    QList<TReportPrintable*> result;
    for (const TReportCustomBand* band : m_report.bandList()) {
        for (TReportControl* child : band->childControls()) {
            if (auto* printable = qobject_cast<TReportPrintable*>(child))
                result.append(printable);
        }
    }
    result.append(m_report.printables());
    return result;
}

long double TReportRun::bandChainHeight(const TReportCustomBand& band, bool viaChildren) const
{
    long double height = 0;
    QList<const TReportCustomBand*> seen;
    for (const TReportCustomBand* b = &band; b && !seen.contains(b);
         b = viaChildren ? b->childBand() : b->linkBand()) {
        seen.append(b);
        height += b->size().heightTenths();
    }
    return height;
}

long double TReportRun::paperLength() const
{
    return m_report.page().orientation() == poLandscape ? m_target.SheetWidth()
                                                        : m_target.SheetLength();
}

int TReportRun::SpaceLeft() const
{
    if (m_y == -1)
        return 0;
    const TReportPage& page = m_report.page();
    const long double length =
        page.orientation() == poLandscape && page.paperSize() != TReportPaperSize::Custom
            ? m_target.SheetWidth()
            : m_target.SheetLength();
    return roundHalfEven(length - page.bottomMarginTenths() - m_pageFooterSpace - m_y);
}

void TReportRun::RunController()
{
    TReportController& controller = m_report.controller();
    if (!controller.dataSet() && !controller.onNeedData()) {
        if (controller.printIfEmpty())
            PrintOnce();
        return;
    }
    // Records, groups and sub-details need the data-access layer, which the engine lacks.
    throw EReportError(QStringLiteral("This report needs data, which the engine cannot read"));
}

void TReportRun::PrintOnce()
{
    TReportController& controller = m_report.controller();
    EmitBand(controller.header());
    EmitBand(controller.detail());
    EmitBand(controller.footer());
}

void TReportRun::EmitBand(TReportCustomBand* band)
{
    if (!band || m_emitting.contains(band))
        return;
    m_emitting.append(band);
    struct Pop
    {
        QList<const TReportCustomBand*>& list;
        ~Pop() { list.removeLast(); }
    } pop{m_emitting};

    if (band->alignToBottom()) {
        if (band->bandType() == rbSummary &&
            !m_report.options().testFlag(TReportOption::LastPageFooter))
            m_pageFooterSpace = 0;
        const long double l = paperLength();
        const long double h = band->size().heightTenths();
        const long double b = m_report.page().bottomMarginTenths();
        const long double f = m_pageFooterSpace;
        if (roundHalfEven(l) - m_y >= roundHalfEven(h + b + f))
            m_y = roundHalfEven(l) - roundHalfEven(h) - roundHalfEven(b + f);
    }
    RenderBand(*band);
}

void TReportRun::RenderBand(TReportCustomBand& band)
{
    bool print = band.enabled();
    if (print && band.beforePrint())
        band.beforePrint()(&band, print);
    const TReportBandType type = band.bandType();

    if (print) {
        if (band.forceNewPage() && !m_bandOverflow && !isPageFurniture(type) && m_pageCount > 0) {
            if (m_titleJustPrinted) {
                m_titleJustPrinted = false;
            } else {
                do {
                    StartNewColumn();
                } while (m_column != 1);
            }
        } else if (band.forceNewColumn()) {
            if (isPageFurniture(type) || m_pageCount == 0) {
                EnsureRoom(band);
            } else if (m_column == 1 && !m_pendingColumn) {
                m_pendingColumn = true;
            } else {
                m_pendingColumn = false;
                StartNewColumn();
            }
        } else {
            EnsureRoom(band);
        }

        // A band kept on one page is measured by its own height; stretching controls do not
        // report theirs ahead of printing.
        if (band.keepOnOnePage() && roundHalfEven(band.size().heightTenths()) > SpaceLeft())
            StartNewColumn();

        if (band.height() != 0)
            printBand(band);
        if (type == rbTitle)
            m_titleJustPrinted = true;
    }

    if (band.afterPrint())
        band.afterPrint()(&band, print);

    if (TReportCustomBand* child = band.childBand()) {
        if (type == rbPageFooter)
            child->setBandType(rbPageFooter);
        EmitBand(child);
        child->setBandType(rbChild);
    }
    m_bandOverflow = false;
}

void TReportRun::printBand(TReportCustomBand& band)
{
    int x = m_x;
    int y = m_y;
    const long double width = band.size().widthTenths();
    const long double height = band.size().heightTenths();
    QList<TReportPrintable*> controls;
    for (TReportControl* child : band.childControls()) {
        auto* printable = qobject_cast<TReportPrintable*>(child);
        if (printable && printable->enabled())
            controls.append(printable);
    }
    if (!band.transparentBand()) {
        const TReportDevice& device = m_target.device();
        const int right = device.DeviceX(x + width);
        const int bottom = device.DeviceY(y + height);
        const QRect rect(QPoint(device.DeviceX(x), device.DeviceY(y)),
                         QPoint(right - 1, bottom - 1));
        band.setDeviceRect(rect);
        if (platform::DeviceCanvas* canvas = m_target.canvas())
            canvas->fillRect(rect.left(), rect.top(), right, bottom, band.color());
    }
    band.setExpansion(0);
    bool firstPass = true;
    for (;;) {
        bool allFinished = true;
        bool progressed = false;
        for (TReportPrintable* control : std::as_const(controls)) {
            if (!firstPass && control->finished())
                continue;
            auto* label = qobject_cast<TReportCustomLabel*>(control);
            const int before = label ? label->nextLine() : 0;
            control->PrintAt(x, y);
            if (!control->finished())
                allFinished = false;
            if (firstPass || (label && label->nextLine() != before))
                progressed = true;
        }
        if (band.frame().hasAnySide() && m_target.canvas()) {
            const TReportDevice& device = m_target.device();
            paintFrame(*m_target.canvas(), band.frame(), device.DeviceX(x), device.DeviceY(y),
                       device.DeviceX(x + width), device.DeviceY(y + height + band.expansion() + 1),
                       device);
        }
        if (allFinished)
            break;
        if (!progressed) {
            // A line taller than a whole column would start pages for ever: drop it.
            for (TReportPrintable* control : std::as_const(controls))
                control->setFinished(true);
            break;
        }
        m_bandOverflow = true;
        StartNewColumn();
        m_bandOverflow = false;
        band.setExpansion(0);
        x = m_x;
        y = m_y;
        firstPass = false;
    }
    m_y = y + roundHalfEven(height + band.expansion());
}

void TReportRun::EnsureRoom(TReportCustomBand& band)
{
    const TReportPage& page = m_report.page();
    if (page.printOrder() == TReportPrintOrder::RowByRow && page.columns() > 1)
        return;
    const int h = roundHalfEven(bandChainHeight(band, false));
    const bool fits =
        band.bandType() == rbPageFooter || SpaceLeft() >= h ||
        h > page.lengthTenths() - (page.topMarginTenths() + page.bottomMarginTenths());
    if (fits && m_pageCount > 0) {
        if (band.bandType() == rbDetail)
            m_bandOverflow = false;
        return;
    }
    m_bandOverflow = band.bandType() == rbDetail;
    StartNewColumn();
}

void TReportRun::StartNewColumn()
{
    const TReportPage& page = m_report.page();
    const int leftMargin = roundHalfEven(page.leftMarginTenths());
    if (m_column == page.columns()) {
        m_column = 1;
        m_x = leftMargin;
        StartNewPage();
    } else {
        int columnWidth = 0;
        if (const TReportCustomBand* detail = m_report.bandOfType(rbDetail)) {
            columnWidth = roundHalfEven(detail->size().widthTenths());
        } else {
            const int usable = roundHalfEven(page.widthTenths() -
                                             (page.leftMarginTenths() + page.rightMarginTenths()));
            const int space = roundHalfEven(page.columnSpaceTenths());
            columnWidth = (usable - (page.columns() - 1) * space) / page.columns();
        }
        m_x += columnWidth + roundHalfEven(page.columnSpaceTenths());
        m_y = m_columnTop;
        ++m_column;
    }
    setConstant(m_columnNumber, m_column);
    if (!(m_column == 1 && m_pageCount == 1))
        EmitBand(m_report.bandOfType(rbColumnHeader));
}

void TReportRun::StartNewPage()
{
    FinishPage();
    ++m_pageCount;
    setConstant(m_pageNumber, m_pageCount);
    m_target.OpenNextPage();
    const TReportPage& page = m_report.page();
    m_y = roundHalfEven(page.topMarginTenths());
    m_titleJustPrinted = false;
    if (m_report.onStartPage())
        m_report.onStartPage()(&m_report);
    if (m_pageCount > 1 || m_report.options().testFlag(TReportOption::FirstPageHeader))
        EmitBand(m_report.bandOfType(rbPageHeader));
    m_columnTop = m_y;
    if (m_pageCount == 1) {
        if (const TReportCustomBand* title = m_report.bandOfType(rbTitle))
            m_columnTop += roundHalfEven(title->size().heightTenths());
    }
}

void TReportRun::FinishPage()
{
    if (m_pageCount <= 0)
        return;
    const TReportPage& page = m_report.page();
    m_y = roundHalfEven(page.lengthTenths() - page.bottomMarginTenths() - m_pageFooterSpace);
    m_x = roundHalfEven(page.leftMarginTenths());
    if (!(m_finalPage && !m_report.options().testFlag(TReportOption::LastPageFooter)))
        EmitBand(m_report.bandOfType(rbPageFooter));
    for (TReportPrintable* printable : m_report.printables())
        printable->PrintAt(0, 0);
    if (m_report.frame().hasAnySide() && m_target.canvas()) {
        const TReportDevice& device = m_target.device();
        paintFrame(*m_target.canvas(), m_report.frame(), device.DeviceX(page.leftMarginTenths()),
                   device.DeviceY(page.topMarginTenths()),
                   device.DeviceX(page.widthTenths() - page.rightMarginTenths()),
                   device.DeviceY(page.lengthTenths() - page.bottomMarginTenths()), device);
    }
    if (m_report.onEndPage())
        m_report.onEndPage()(&m_report);
}

} // namespace report
