#pragma once

#include "report/reporttypes.h"
#include "report/unitbase.h"

namespace report {

class TReportControl;

enum class TReportPrintOrder
{
    ColumnByColumn,
    RowByRow
};

/// The report's page setup. Its published extended values read and write in the page's units;
/// the engine reads them in tenths (`...Tenths()`), and the stored list `Values` is in tenths in
/// the order of ValueIndex.
class TReportPage : public TReportUnitBase
{
public:
    enum ValueIndex : std::size_t
    {
        BottomMarginIndex,
        LengthIndex,
        TopMarginIndex,
        WidthIndex,
        LeftMarginIndex,
        RightMarginIndex,
        ColumnSpaceIndex
    };

    /// A page with the locale's defaults: A4 and 10 mm margins in millimetres, or Letter and
    /// half-inch margins in inches where the locale measures in U.S. units.
    TReportPage();

    long double bottomMargin() const { return value(BottomMarginIndex); }
    void setBottomMargin(long double v) { setValue(BottomMarginIndex, v); }
    long double columnSpace() const { return value(ColumnSpaceIndex); }
    void setColumnSpace(long double v) { setValue(ColumnSpaceIndex, v); }
    int columns() const { return m_columns; }
    /// Values below 1 are ignored.
    void setColumns(int columns);
    long double leftMargin() const { return value(LeftMarginIndex); }
    void setLeftMargin(long double v) { setValue(LeftMarginIndex, v); }
    long double length() const { return value(LengthIndex); }
    /// Only while the paper size is `Custom`; ignored otherwise.
    void setLength(long double v) { setValue(LengthIndex, v); }
    TReportOrientation orientation() const { return m_orientation; }
    /// Stores the orientation and applies the paper size again, which swaps a table size.
    void setOrientation(TReportOrientation orientation);
    TReportPaperSize paperSize() const { return m_paperSize; }
    /// A table size sets `Width` and `Length` from the table (swapped in landscape); `Default`
    /// and `Custom` keep the current numbers.
    void setPaperSize(TReportPaperSize size);
    long double rightMargin() const { return value(RightMarginIndex); }
    void setRightMargin(long double v) { setValue(RightMarginIndex, v); }
    bool ruler() const { return m_ruler; }
    void setRuler(bool ruler) { m_ruler = ruler; }
    long double topMargin() const { return value(TopMarginIndex); }
    void setTopMargin(long double v) { setValue(TopMarginIndex, v); }
    long double width() const { return value(WidthIndex); }
    /// Only while the paper size is `Custom`; ignored otherwise.
    void setWidth(long double v) { setValue(WidthIndex, v); }
    TReportPrintOrder printOrder() const { return m_printOrder; }
    void setPrintOrder(TReportPrintOrder order) { m_printOrder = order; }

    // The same values in tenths of a millimetre.
    long double bottomMarginTenths() const { return tenths(BottomMarginIndex); }
    long double columnSpaceTenths() const { return tenths(ColumnSpaceIndex); }
    long double leftMarginTenths() const { return tenths(LeftMarginIndex); }
    long double lengthTenths() const { return tenths(LengthIndex); }
    long double rightMarginTenths() const { return tenths(RightMarginIndex); }
    long double topMarginTenths() const { return tenths(TopMarginIndex); }
    long double widthTenths() const { return tenths(WidthIndex); }

    /// The control whose pixel size follows the page (the report), and whose font
    /// `Characters` measure by.
    void setOwner(TReportControl* owner) { m_owner = owner; }

    /// `Length` and `Width` only while the paper size is `Custom`; ignored otherwise.
    void setTenths(std::size_t index, long double tenths) override;
    TReportAxis axisOf(std::size_t index) const override;

protected:
    void pushBounds() override;
    int characterFontPoints() const override;

private:
    TReportControl* m_owner = nullptr;
    int m_columns = 1;
    TReportOrientation m_orientation = poPortrait;
    TReportPaperSize m_paperSize = TReportPaperSize::Default;
    bool m_ruler = true;
    TReportPrintOrder m_printOrder = TReportPrintOrder::ColumnByColumn;
};

} // namespace report
