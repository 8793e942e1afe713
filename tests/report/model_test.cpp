#include "report/label.h"
#include "report/report.h"
#include "tests/report/environmentscope.h"

#include <gtest/gtest.h>

using namespace report;
using reporttest::EnvironmentScope;

namespace {

double d(long double v)
{
    return static_cast<double>(v);
}

std::vector<double> tenthsOf(const TReportUnitBase& object)
{
    std::vector<double> values;
    for (long double v : object.values())
        values.push_back(d(v));
    return values;
}

} // namespace

TEST(ReportPage, LocaleChoosesUnitsPaperAndMargins)
{
    struct Case
    {
        QLocale::MeasurementSystem system;
        TReportUnit units;
        TReportPaperSize paper;
        // BottomMargin, Length, TopMargin, Width, LeftMargin, RightMargin, ColumnSpace
        std::vector<double> values;
    };
    const Case cases[] = {
        {QLocale::MetricSystem,
         TReportUnit::MM,
         TReportPaperSize::A4,
         {100, 2970, 100, 2100, 100, 100, 0}},
        {QLocale::ImperialUKSystem,
         TReportUnit::MM,
         TReportPaperSize::A4,
         {100, 2970, 100, 2100, 100, 100, 0}},
        {QLocale::ImperialUSSystem,
         TReportUnit::Inches,
         TReportPaperSize::Letter,
         {127, 2794, 127, 2159, 127, 127, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.system));
        EnvironmentScope environment(96, c.system);
        TReport report;
        EXPECT_EQ(report.units(), c.units);
        EXPECT_EQ(report.page().paperSize(), c.paper);
        EXPECT_EQ(report.page().orientation(), poPortrait);
        EXPECT_EQ(report.page().columns(), 1);
        EXPECT_TRUE(report.page().ruler());
        const std::vector<double> values = tenthsOf(report.page());
        ASSERT_EQ(values.size(), c.values.size());
        for (std::size_t i = 0; i < values.size(); ++i)
            EXPECT_NEAR(values[i], c.values[i], 1e-9) << "value " << i;
        // A new band and a new label start in the same units.
        TReportBand band(&report);
        TReportLabel label(&band);
        EXPECT_EQ(band.size().units(), c.units);
        EXPECT_EQ(label.size().units(), c.units);
    }
}

TEST(ReportPage, ValuesAreTenthsWhateverTheUnits)
{
    EnvironmentScope environment(96);
    TReport report;
    report.setUnits(TReportUnit::Inches);
    report.page().setValues({80, 2970, 100, 2100, 100, 100, 0});

    TReportPage& page = report.page();
    EXPECT_NEAR(d(page.length()), 2970.0 / 254, 1e-12);
    page.setUnits(TReportUnit::MM);
    EXPECT_DOUBLE_EQ(d(page.bottomMargin()), 8);
    EXPECT_DOUBLE_EQ(d(page.length()), 297);
    EXPECT_DOUBLE_EQ(d(page.topMargin()), 10);
    EXPECT_DOUBLE_EQ(d(page.width()), 210);
    EXPECT_DOUBLE_EQ(d(page.leftMargin()), 10);
    EXPECT_DOUBLE_EQ(d(page.rightMargin()), 10);
    EXPECT_DOUBLE_EQ(d(page.columnSpace()), 0);
    // The report's pixel size follows the stored page.
    EXPECT_EQ(report.width(), 794);
    EXPECT_EQ(report.height(), 1123);
}

TEST(ReportPage, PaperSizeAndOrientation)
{
    EnvironmentScope environment(96);
    TReport report;
    TReportPage& page = report.page();
    page.setUnits(TReportUnit::MM);

    page.setOrientation(poLandscape);
    page.setPaperSize(TReportPaperSize::A4);
    EXPECT_DOUBLE_EQ(d(page.width()), 297);
    EXPECT_DOUBLE_EQ(d(page.length()), 210);
    EXPECT_EQ(page.units(), TReportUnit::MM);
    page.setPaperSize(TReportPaperSize::Default);
    EXPECT_EQ(page.paperSize(), TReportPaperSize::Default);
    EXPECT_DOUBLE_EQ(d(page.width()), 297);
    EXPECT_DOUBLE_EQ(d(page.length()), 210);
    // A Default page keeps its numbers when turned.
    page.setOrientation(poPortrait);
    EXPECT_DOUBLE_EQ(d(page.width()), 297);

    // A table size is turned with the page, and the units are kept.
    page.setUnits(TReportUnit::Inches);
    page.setPaperSize(TReportPaperSize::Letter);
    EXPECT_DOUBLE_EQ(d(page.width()), 8.5);
    EXPECT_DOUBLE_EQ(d(page.length()), 11);
    page.setOrientation(poLandscape);
    EXPECT_DOUBLE_EQ(d(page.width()), 11);
    EXPECT_DOUBLE_EQ(d(page.length()), 8.5);
    EXPECT_EQ(page.units(), TReportUnit::Inches);
    EXPECT_EQ(report.width(), 1056);
}

TEST(ReportPage, LengthAndWidthOnlyWhileCustomColumnsAtLeastOne)
{
    EnvironmentScope environment(96);
    TReport report;
    TReportPage& page = report.page();
    page.setUnits(TReportUnit::MM);

    for (TReportPaperSize paper : {TReportPaperSize::A4, TReportPaperSize::Default}) {
        page.setPaperSize(paper);
        page.setWidth(100);
        page.setLength(100);
        EXPECT_DOUBLE_EQ(d(page.width()), 210);
        EXPECT_DOUBLE_EQ(d(page.length()), 297);
    }
    page.setPaperSize(TReportPaperSize::Custom);
    EXPECT_DOUBLE_EQ(d(page.width()), 210);
    page.setWidth(100);
    page.setLength(150);
    EXPECT_DOUBLE_EQ(d(page.width()), 100);
    EXPECT_DOUBLE_EQ(d(page.length()), 150);
    EXPECT_EQ(report.width(), 378); // 100 mm at 96 pixels per inch

    page.setColumns(3);
    for (int ignored : {0, -1})
        page.setColumns(ignored);
    EXPECT_EQ(page.columns(), 3);
}

TEST(ReportPage, PaperTableAndCodesFollowTheOrdinals)
{
    struct Case
    {
        TReportPaperSize size;
        int ordinal;
        const char16_t* name;
        double width, length; // mm, portrait
    };
    const Case cases[] = {
        {TReportPaperSize::Letter, 1, u"Letter", 215.9, 279.4},
        {TReportPaperSize::A4, 9, u"A4", 210, 297},
        {TReportPaperSize::EnvDL, 27, u"EnvDL", 110, 220},
        {TReportPaperSize::EnvMonarch, 37, u"EnvMonarch", 98.43, 190.5},
        {TReportPaperSize::Reserved1, 48, u"Reserved1", 100, 100},
        {TReportPaperSize::A4Trans, 55, u"A4Trans", 297, 210},
        {TReportPaperSize::A2, 66, u"A2", 420, 594},
        {TReportPaperSize::A3ExtraTrans, 68, u"A3ExtraTrans", 445, 322},
    };
    for (const Case& c : cases) {
        const auto dimensions = paperDimensions(c.size);
        ASSERT_TRUE(dimensions);
        EXPECT_EQ(static_cast<int>(c.size), c.ordinal);
        EXPECT_EQ(paperCode(c.size), c.ordinal);
        EXPECT_DOUBLE_EQ(d(dimensions->width), c.width);
        EXPECT_DOUBLE_EQ(d(dimensions->length), c.length);
        EXPECT_EQ(paperSizeName(c.size), QStringView(c.name));
    }
    EXPECT_FALSE(paperDimensions(TReportPaperSize::Default));
    EXPECT_FALSE(paperDimensions(TReportPaperSize::Custom));
    EXPECT_EQ(paperCode(TReportPaperSize::Custom), 256);
    EXPECT_EQ(static_cast<int>(TReportPaperSize::Custom), paperSizeCount - 1);
    for (int ordinal = 0; ordinal < paperSizeCount; ++ordinal) {
        const auto size = static_cast<TReportPaperSize>(ordinal);
        EXPECT_EQ(paperSizeFromName(paperSizeName(size)), size) << ordinal;
    }
}

TEST(ReportPrinterSettings, BinCodes)
{
    struct Case
    {
        TReportBin bin;
        int code;
    };
    const Case cases[] = {{TReportBin::First, 1},     {TReportBin::Upper, 1},
                          {TReportBin::Auto, 7},      {TReportBin::LargeCapacity, 11},
                          {TReportBin::Cassette, 14}, {TReportBin::Last, 14}};
    for (const Case& c : cases)
        EXPECT_EQ(binCode(c.bin), c.code) << binName(c.bin).toString().toStdString();
}

TEST(Report, DefaultsAtCreation)
{
    EnvironmentScope environment(96);
    TReport report;
    EXPECT_EQ(report.zoom(), 100);
    EXPECT_EQ(report.options(),
              TReportOptions(TReportOption::FirstPageHeader | TReportOption::LastPageFooter));
    EXPECT_TRUE(report.printIfEmpty());
    EXPECT_TRUE(report.showProgress());
    EXPECT_EQ(report.font().name, u"Arial");
    EXPECT_EQ(report.font().size(), 10);
    EXPECT_FALSE(report.frame().hasAnySide());
    const TReportPrinterSettings& settings = report.printerSettings();
    EXPECT_EQ(settings.copies, 1);
    EXPECT_EQ(settings.outputBin, TReportBin::Auto);
    EXPECT_EQ(settings.printerIndex, -1);
    EXPECT_EQ(settings.memoryLimit, 250000);
    EXPECT_EQ(report.dialogSettings(), settings);
    for (const char* name : {"PAGENUMBER", "COLUMNNUMBER", "REPORTTITLE"})
        ASSERT_TRUE(report.functions().find(QString::fromLatin1(name))) << name;
    EXPECT_EQ(report.functions().find(QStringLiteral("pagenumber"))->expression(), u"0");
    EXPECT_EQ(report.functions().find(QStringLiteral("REPORTTITLE"))->expression(), u"''");
    report.functions().find(QStringLiteral("REPORTTITLE"))->value = QStringLiteral("It's");
    EXPECT_EQ(report.functions().find(QStringLiteral("REPORTTITLE"))->expression(), u"'It''s'");

    TReportBand band(&report);
    EXPECT_EQ(band.height(), 40);
    EXPECT_TRUE(band.enabled());
    EXPECT_EQ(band.color(), QColor(Qt::white));
    TReportLabel label(&band);
    EXPECT_EQ(label.width(), 10);
    EXPECT_EQ(label.height(), 10);
    EXPECT_EQ(label.alignment(), taLeftJustify);
    EXPECT_TRUE(label.autoSize());
    EXPECT_TRUE(label.wordWrap());
    EXPECT_FALSE(label.transparent());
    EXPECT_TRUE(label.finished());
}

TEST(Report, BandSwitchesCreateAndFreeBands)
{
    EnvironmentScope environment(96);
    TReport report;
    TReportBands& bands = report.bands();
    EXPECT_FALSE(bands.hasTitle());
    bands.setHasTitle(true);
    bands.setHasSummary(true);
    bands.setHasTitle(true);
    EXPECT_TRUE(bands.hasTitle());
    EXPECT_EQ(report.bandList().size(), 2);
    TReportCustomBand* title = report.bandOfType(rbTitle);
    ASSERT_TRUE(title);
    // A band joining the report spans the page between its side margins: 190 mm.
    EXPECT_EQ(title->left(), 38);
    EXPECT_EQ(title->width(), 718);
    bands.setHasTitle(false);
    EXPECT_FALSE(bands.hasTitle());
    EXPECT_FALSE(report.bandOfType(rbTitle));
    EXPECT_EQ(report.bandList().size(), 1);
    EXPECT_TRUE(bands.hasSummary());

    TReportCustomBand* summary = report.bandOfType(rbSummary);
    summary->setHasChild(true);
    ASSERT_TRUE(summary->childBand());
    EXPECT_EQ(summary->childBand()->bandType(), rbChild);
    EXPECT_EQ(report.bandList().size(), 2);
    // A child band goes with its band.
    bands.setHasSummary(false);
    EXPECT_TRUE(report.bandList().isEmpty());
}

TEST(Report, UnitsReachPageBandsAndPrintables)
{
    EnvironmentScope environment(96);
    TReport report;
    TReportBand band(&report);
    TReportLabel inBand(&band);
    TReportLabel onReport(&report);
    report.setUnits(TReportUnit::Pixels);
    for (const TReportUnitBase* object : {static_cast<const TReportUnitBase*>(&report.page()),
                                          static_cast<const TReportUnitBase*>(&band.size()),
                                          static_cast<const TReportUnitBase*>(&inBand.size()),
                                          static_cast<const TReportUnitBase*>(&onReport.size())})
        EXPECT_EQ(object->units(), TReportUnit::Pixels);
    EXPECT_EQ(report.units(), TReportUnit::Pixels);
    // Read in pixels, the label's box is its pixel bounds.
    inBand.setBounds(52, 181, 49, 17);
    EXPECT_NEAR(d(inBand.size().left()), 52, 1e-12);
    EXPECT_NEAR(d(inBand.size().top()), 181, 1e-12);
}

TEST(Report, ZoomOutsideOneToThreeHundredChangesNothing)
{
    EnvironmentScope environment(96);
    TReport report;
    TReportBand band(&report);
    TReportLabel label(&band);
    label.setBounds(52, 181, 49, 17);
    const std::vector<double> before = tenthsOf(label.size());

    for (int ignored : {0, 301, -5}) {
        report.setZoom(ignored);
        EXPECT_EQ(report.zoom(), 100);
        EXPECT_EQ(label.size().zoom(), 100);
        EXPECT_EQ(label.boundsRect(), QRect(52, 181, 49, 17));
        EXPECT_EQ(report.width(), 794);
    }

    report.setZoom(200);
    EXPECT_EQ(report.page().zoom(), 200);
    EXPECT_EQ(band.size().zoom(), 200);
    EXPECT_EQ(band.panelZoom(), 200);
    EXPECT_EQ(label.boundsRect(), QRect(104, 362, 98, 34));
    EXPECT_EQ(report.width(), 1587);
    EXPECT_EQ(band.width(), 1436);
    // Zooming moves pixels only; the paper positions stay.
    EXPECT_EQ(tenthsOf(label.size()), before);
    report.setZoom(1);
    EXPECT_EQ(label.boundsRect(), QRect(1, 2, 0, 0));
    report.setZoom(300);
    EXPECT_EQ(label.boundsRect(), QRect(156, 543, 147, 51));
    EXPECT_EQ(tenthsOf(label.size()), before);

    // A label joining the zoomed report is shown at its zoom.
    TReportLabel joining;
    joining.setAutoSize(false); // an auto-sized label would take its caption's width on joining
    joining.setBounds(52, 181, 49, 17);
    joining.setParentControl(&band);
    EXPECT_EQ(joining.size().zoom(), 300);
    EXPECT_EQ(joining.boundsRect(), QRect(156, 543, 147, 51));
}
