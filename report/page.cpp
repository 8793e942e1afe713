#include "report/page.h"

#include "report/control.h"

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
    // The table is in millimetres; the page takes it through its Custom state.
    const bool portrait = m_orientation == poPortrait;
    m_paperSize = TReportPaperSize::Custom;
    setTenths(WidthIndex, (portrait ? dimensions->width : dimensions->length) * 10.0L);
    setTenths(LengthIndex, (portrait ? dimensions->length : dimensions->width) * 10.0L);
    m_paperSize = size;
}

void TReportPage::setTenths(std::size_t index, long double tenths)
{
    if ((index == LengthIndex || index == WidthIndex) && m_paperSize != TReportPaperSize::Custom)
        return;
    TReportUnitBase::setTenths(index, tenths);
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
    if (m_owner)
        m_owner->setBounds(m_owner->left(), m_owner->top(), pixels(WidthIndex),
                           pixels(LengthIndex));
}

int TReportPage::characterFontPoints() const
{
    return m_owner ? m_owner->font().size() : 0;
}

} // namespace report
