#include "report/page.h"

#include "report/report.h"

namespace report {

TReportPage::TReportPage() : TReportUnitBase(7)
{
    setBottomMargin(0);
    if (defaultUnits() == TReportUnit::Inches) {
        setUnits(TReportUnit::Inches);
        setPaperSize(TReportPaperSize::Letter);
        setTopMargin(0.5L);
        setBottomMargin(0.5L);
        setLeftMargin(0.5L);
        setRightMargin(0.5L);
    } else {
        setUnits(TReportUnit::MM);
        setPaperSize(TReportPaperSize::A4);
        setTopMargin(10);
        setBottomMargin(10);
        setLeftMargin(10);
        setRightMargin(10);
    }
}

void TReportPage::setColumns(int columns)
{
    if (columns >= 1)
        m_columns = columns;
}

void TReportPage::setOrientation(TReportOrientation orientation)
{
    m_orientation = orientation;
    setPaperSize(m_paperSize);
}

void TReportPage::setPaperSize(TReportPaperSize size)
{
    const auto dimensions = paperDimensions(size);
    if (!dimensions) {
        m_paperSize = size;
        return;
    }
    saveUnits();
    setUnits(TReportUnit::MM);
    m_paperSize = TReportPaperSize::Custom;
    if (m_orientation == poPortrait) {
        setWidth(dimensions->width);
        setLength(dimensions->length);
    } else {
        setWidth(dimensions->length);
        setLength(dimensions->width);
    }
    restoreUnits();
    m_paperSize = size;
}

void TReportPage::setValue(std::size_t index, long double value)
{
    if ((index == LengthIndex || index == WidthIndex) && m_paperSize != TReportPaperSize::Custom)
        return;
    TReportUnitBase::setValue(index, value);
}

TReportAxis TReportPage::axisOf(std::size_t index) const
{
    switch (index) {
    case BottomMarginIndex:
    case LengthIndex:
    case TopMarginIndex:
        return TReportAxis::Vertical;
    default:
        return TReportAxis::Horizontal;
    }
}

void TReportPage::pushBounds()
{
    TCustomReport* report = parentReport();
    if (!report)
        return;
    const int width =
        roundHalfEven(ToUnits(TReportUnit::Pixels, tenths(WidthIndex), TReportAxis::Horizontal));
    const int height =
        roundHalfEven(ToUnits(TReportUnit::Pixels, tenths(LengthIndex), TReportAxis::Vertical));
    report->setBounds(report->left(), report->top(), width, height);
}

} // namespace report
