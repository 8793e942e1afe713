#include "platform/environment.h"
#include "printlayout/form2.h"
#include "printlayout/printtable.h"
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

// The print table of the cheque: base position in report pixels, font, alignment, the mock-up
// label it copies and the offset edits that move it.
struct PrintLabel
{
    const char* name;
    int left;
    int top;
    int points;
    bool bold;
    TReportAlignment alignment;
    const char* captionFrom; // the mock-up label
    const char* rightEdit;   // offset edits
    const char* downEdit;
};

const PrintLabel printTable[] = {
    {"PrintLabel23", 51, 128, 9, false, taCenter, "Label13", "Edit34", "Edit35"},
    {"PrintLabel14", 92, 128, 9, false, taCenter, "Label14", "Edit37", "Edit36"},
    {"PrintLabel2", 126, 128, 9, false, taLeftJustify, "Label19", "Edit38", "Edit39"},
    {"PrintLabel4", 52, 148, 9, false, taLeftJustify, "Label15", "Edit41", "Edit40"},
    {"PrintLabel3", 52, 181, 9, false, taLeftJustify, "Label16", "Edit42", "Edit43"},
    {"PrintLabel25", 52, 201, 9, false, taCenter, "Label17", "Edit44", "Edit45"},
    {"PrintLabel1", 315, 11, 10, false, taLeftJustify, "Label8", "Edit1", "Edit2"},
    {"PrintLabel21", 390, 11, 10, false, taCenter, "Label9", "Edit5", "Edit4"},
    {"PrintLabel16", 450, 11, 10, false, taCenter, "Label10", "Edit8", "Edit9"},
    {"PrintLabel24", 256, 30, 10, false, taLeftJustify, "Label11", "Edit14", "Edit15"},
    {"PrintLabel5", 265, 60, 11, true, taLeftJustify, "Label12", "Edit16", "Edit17"},
    {"PrintLabel15", 248, 96, 10, false, taLeftJustify, "Label18", "Edit20", "Edit21"},
    {"PrintLabel8", 612, 11, 10, true, taLeftJustify, "Label2", "Edit11", "Edit10"},
    {"PrintLabel9", 611, 30, 10, true, taLeftJustify, "Label5", "Edit12", "Edit13"},
    {"PrintLabel6", 599, 69, 10, true, taLeftJustify, "Label21", "Edit18", "Edit19"},
    {"PrintLabel7", 613, 69, 10, true, taLeftJustify, "Label22", "Edit18", "Edit19"},
    {"PrintLabel10", 628, 69, 10, true, taLeftJustify, "Label23", "Edit18", "Edit19"},
    {"PrintLabel11", 643, 69, 10, true, taLeftJustify, "Label24", "Edit18", "Edit19"},
    {"PrintLabel12", 657, 69, 10, true, taLeftJustify, "Label25", "Edit18", "Edit19"},
    {"PrintLabel13", 672, 69, 10, true, taLeftJustify, "Label26", "Edit18", "Edit19"},
    {"PrintLabel17", 687, 69, 10, true, taLeftJustify, "Label27", "Edit18", "Edit19"},
    {"PrintLabel18", 701, 69, 10, true, taLeftJustify, "Label28", "Edit18", "Edit19"},
    {"PrintLabel19", 716, 69, 10, true, taLeftJustify, "Label29", "Edit18", "Edit19"},
    {"PrintLabel20", 731, 69, 10, true, taLeftJustify, "Label30", "Edit18", "Edit19"},
    {"PrintLabel22", 746, 69, 10, true, taLeftJustify, "Label31", "Edit18", "Edit19"},
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
    EXPECT_EQ(report.previewSettings().previewWidth, 1600);
    EXPECT_EQ(report.previewSettings().previewHeight, 2000);
    EXPECT_EQ(report.previewSettings().prevInitialZoom, zsZoomOther);
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
    // The centred labels are stored as wide as their boxes on the cheque form.
    const std::pair<TReportLabel*, int> boxes[] = {{form.PrintLabel23, 29},
                                                   {form.PrintLabel14, 16},
                                                   {form.PrintLabel25, 111},
                                                   {form.PrintLabel21, 40},
                                                   {form.PrintLabel16, 40}};
    for (const auto& [label, width] : boxes) {
        SCOPED_TRACE(label->objectName().toStdString());
        EXPECT_EQ(label->width(), width);
        EXPECT_EQ(form.storedWidth(*label), width);
        EXPECT_NEAR(d(label->size().tenths(TReportPrintableSize::WidthIndex)), width * 254.0 / 96,
                    1e-9);
    }
}

TEST(ChequeLayout, ThePrintTableNamesEachLabelsCaptionAndOffsetsInOrder)
{
    const auto& table = printlayout::printTable();
    ASSERT_EQ(table.size(), std::size(printTable));
    for (std::size_t i = 0; i < table.size(); ++i) {
        const PrintLabel& row = printTable[i];
        SCOPED_TRACE(row.name);
        EXPECT_EQ(QString::fromUtf16(table[i].printLabel), QLatin1String(row.name));
        EXPECT_EQ(QString::fromUtf16(table[i].captionFrom), QLatin1String(row.captionFrom));
        EXPECT_EQ(QString::fromUtf16(table[i].rightEdit), QLatin1String(row.rightEdit));
        EXPECT_EQ(QString::fromUtf16(table[i].downEdit), QLatin1String(row.downEdit));
        EXPECT_EQ(table[i].baseLeft, row.left);
        EXPECT_EQ(table[i].baseTop, row.top);
    }
    const char* const captions[] = {
        "PrintLabel23", "PrintLabel14", "PrintLabel2",  "PrintLabel4",  "PrintLabel3",
        "PrintLabel5",  "PrintLabel1",  "PrintLabel21", "PrintLabel16", "PrintLabel24",
        "PrintLabel25", "PrintLabel15", "PrintLabel8",  "PrintLabel9",  "PrintLabel6",
        "PrintLabel7",  "PrintLabel10", "PrintLabel11", "PrintLabel12", "PrintLabel13",
        "PrintLabel17", "PrintLabel18", "PrintLabel19", "PrintLabel20", "PrintLabel22"};
    const auto& order = printlayout::captionOrder();
    ASSERT_EQ(order.size(), std::size(captions));
    for (std::size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(QString::fromUtf16(order[i]), QLatin1String(captions[i]));
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
