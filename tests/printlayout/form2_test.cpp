#include "platform/environment.h"
#include "printlayout/form2.h"
#include "report/label.h"
#include "report/report.h"

#include <gtest/gtest.h>

using namespace report;
using printlayout::TForm2;

namespace {

double d(long double v)
{
    return static_cast<double>(v);
}

class ScreenDpi
{
public:
    explicit ScreenDpi(int dpi) { platform::setScreenLogicalDpi(dpi); }
    ~ScreenDpi() { platform::setScreenLogicalDpi(96); }
    ScreenDpi(const ScreenDpi&) = delete;
    ScreenDpi& operator=(const ScreenDpi&) = delete;
};

// The print table of the cheque: base position in report pixels, font and alignment.
struct PrintLabel
{
    const char* name;
    int left;
    int top;
    int points;
    bool bold;
    TReportAlignment alignment;
};

const PrintLabel printTable[] = {
    {"PrintLabel23", 51, 128, 9, false, taCenter},
    {"PrintLabel14", 92, 128, 9, false, taCenter},
    {"PrintLabel2", 126, 128, 9, false, taLeftJustify},
    {"PrintLabel4", 52, 148, 9, false, taLeftJustify},
    {"PrintLabel3", 52, 181, 9, false, taLeftJustify},
    {"PrintLabel25", 52, 201, 9, false, taCenter},
    {"PrintLabel1", 315, 11, 10, false, taLeftJustify},
    {"PrintLabel21", 390, 11, 10, false, taCenter},
    {"PrintLabel16", 450, 11, 10, false, taCenter},
    {"PrintLabel24", 256, 30, 10, false, taLeftJustify},
    {"PrintLabel5", 265, 60, 11, true, taLeftJustify},
    {"PrintLabel15", 248, 96, 10, false, taLeftJustify},
    {"PrintLabel8", 612, 11, 10, true, taLeftJustify},
    {"PrintLabel9", 611, 30, 10, true, taLeftJustify},
    {"PrintLabel6", 599, 69, 10, true, taLeftJustify},
    {"PrintLabel7", 613, 69, 10, true, taLeftJustify},
    {"PrintLabel10", 628, 69, 10, true, taLeftJustify},
    {"PrintLabel11", 643, 69, 10, true, taLeftJustify},
    {"PrintLabel12", 657, 69, 10, true, taLeftJustify},
    {"PrintLabel13", 672, 69, 10, true, taLeftJustify},
    {"PrintLabel17", 687, 69, 10, true, taLeftJustify},
    {"PrintLabel18", 701, 69, 10, true, taLeftJustify},
    {"PrintLabel19", 716, 69, 10, true, taLeftJustify},
    {"PrintLabel20", 731, 69, 10, true, taLeftJustify},
    {"PrintLabel22", 746, 69, 10, true, taLeftJustify},
};

} // namespace

TEST(ChequeLayout, LoadsAsAnA4ReportWithOneBandOfTheWidthBetweenTheMargins)
{
    TForm2 form;
    ASSERT_TRUE(form.ChequeReport);
    const TReport& report = *form.ChequeReport;
    EXPECT_EQ(report.parent(), &form);
    EXPECT_EQ(report.width(), 794);
    EXPECT_EQ(report.height(), 1123);

    const TReportPage& page = report.page();
    EXPECT_EQ(report.units(), TReportUnit::MM);
    EXPECT_EQ(page.paperSize(), TReportPaperSize::Default);
    EXPECT_EQ(page.orientation(), poPortrait);
    EXPECT_EQ(page.columns(), 1);
    const std::vector<long double> pageValues = {80, 2970, 100, 2100, 100, 100, 0};
    EXPECT_EQ(page.values(), pageValues);

    ASSERT_TRUE(form.ColumnHeaderBand1);
    const TReportBand& band = *form.ColumnHeaderBand1;
    EXPECT_EQ(report.bandList(), QList<TReportCustomBand*>{form.ColumnHeaderBand1});
    EXPECT_EQ(band.bandType(), rbDetail);
    EXPECT_EQ(band.left(), 38);
    EXPECT_EQ(band.width(), 718);
    EXPECT_EQ(band.height(), 251);
    EXPECT_EQ(band.size().tenths(TReportBandSize::HeightIndex), 664.1041666666667L);
    EXPECT_NEAR(d(band.size().tenths(TReportBandSize::WidthIndex)), 718 * 254.0 / 96, 1e-9);
    EXPECT_TRUE(band.alignToBottom());
    EXPECT_FALSE(band.transparentBand());
    EXPECT_EQ(band.color(), QColor(Qt::white));
    EXPECT_EQ(band.font().name, u"宋体");
    EXPECT_EQ(band.font().height, 13);
    EXPECT_FALSE(band.parentFont());

    EXPECT_EQ(report.font().name, u"Arial");
    EXPECT_EQ(report.font().height, 13);
    EXPECT_EQ(report.zoom(), 100);
    EXPECT_TRUE(report.printIfEmpty());
    EXPECT_EQ(report.options(),
              TReportOptions(TReportOption::FirstPageHeader | TReportOption::LastPageFooter));
    EXPECT_EQ(report.printerSettings(), TReportPrinterSettings());
    EXPECT_EQ(report.previewWidth(), 1600);
    EXPECT_EQ(report.previewHeight(), 2000);
    EXPECT_EQ(report.prevInitialZoom(), zsZoomOther);
}

TEST(ChequeLayout, LabelsFollowThePrintTable)
{
    TForm2 form;
    ASSERT_EQ(form.ColumnHeaderBand1->childControls().size(), 25);
    for (const PrintLabel& row : printTable) {
        SCOPED_TRACE(row.name);
        const TReportLabel* label = form.printLabel(QString::fromLatin1(row.name));
        ASSERT_TRUE(label);
        EXPECT_EQ(label->parent(), form.ColumnHeaderBand1);
        EXPECT_EQ(label->left(), row.left);
        EXPECT_EQ(label->top(), row.top);
        EXPECT_EQ(label->height(), 17);
        EXPECT_GT(label->width(), 0);
        EXPECT_EQ(label->fontSize(), row.points);
        EXPECT_EQ(label->font().bold, row.bold);
        EXPECT_EQ(label->font().name, u"宋体");
        EXPECT_EQ(label->alignment(), row.alignment);
        EXPECT_TRUE(label->autoSize());
        EXPECT_FALSE(label->autoStretch());
        EXPECT_TRUE(label->wordWrap());
        EXPECT_TRUE(label->transparent());
        EXPECT_FALSE(label->alignToBand());
        EXPECT_FALSE(label->frame().hasAnySide());
        EXPECT_NEAR(d(label->size().tenths(TReportPrintableSize::LeftIndex)), row.left * 254.0 / 96,
                    1e-9);
    }
    // 9, 10 and 11 pt are 12, 13 and 15 pixels high at 96 pixels per inch.
    EXPECT_EQ(form.PrintLabel23->font().height, 12);
    EXPECT_EQ(form.PrintLabel1->font().height, 13);
    EXPECT_EQ(form.PrintLabel5->font().height, 15);
    EXPECT_EQ(form.printLabel(QStringLiteral("PrintLabel26")), nullptr);
    // The stub month is stored as wide as a two-digit 9 pt caption measures, so the first
    // centred caption does not move it.
    EXPECT_EQ(form.PrintLabel14->width(), 13);
}

TEST(ChequeLayout, StoredTenthsOfALabelAreKeptExactly)
{
    TForm2 form;
    // PrintLabel3 stands at 52, 181, 49 × 17 pixels.
    const std::vector<long double> stored = {44.97916666666667L, 137.5833333333333L,
                                             478.8958333333333L, 129.6458333333333L};
    EXPECT_EQ(form.PrintLabel3->size().values(), stored);
    EXPECT_EQ(form.PrintLabel3->boundsRect(), QRect(52, 181, 49, 17));
    form.PrintLabel3->setLeft(60);
    form.PrintLabel3->setTop(181);
    EXPECT_EQ(form.PrintLabel3->size().tenths(TReportPrintableSize::HeightIndex), stored[0]);
    EXPECT_EQ(form.PrintLabel3->size().tenths(TReportPrintableSize::TopIndex), stored[2]);
    // PrintLabel1 at (315, 11): its box is 833.4375 tenths from the band's left edge.
    EXPECT_EQ(form.PrintLabel1->size().tenths(TReportPrintableSize::LeftIndex), 833.4375L);
}

TEST(ChequeLayout, AnotherScreenChangesNothing)
{
    // A report pixel is 1/96 inch whatever the monitor says: the cheque prints the same.
    ScreenDpi dpi(120);
    TForm2 form;
    EXPECT_EQ(form.ChequeReport->width(), 794);
    EXPECT_EQ(form.ChequeReport->height(), 1123);
    EXPECT_EQ(form.ColumnHeaderBand1->width(), 718);
    EXPECT_EQ(form.ColumnHeaderBand1->left(), 38);
    EXPECT_EQ(form.ColumnHeaderBand1->height(), 251);
    EXPECT_EQ(form.PrintLabel1->boundsRect(), QRect(315, 11, form.PrintLabel1->width(), 17));
    EXPECT_EQ(form.PrintLabel1->font().height, 13); // 10 pt
    EXPECT_EQ(form.PrintLabel1->size().tenths(TReportPrintableSize::LeftIndex), 833.4375L);
}
