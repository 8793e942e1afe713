#include "report/label.h"
#include "report/layoutreader.h"
#include "report/reporterror.h"
#include "tests/report/environmentscope.h"

#include <gtest/gtest.h>

using namespace report;
using reporttest::EnvironmentScope;

namespace {

std::unique_ptr<TReport> read(const char* text)
{
    return readReportLayout(QByteArrayView(text), QStringLiteral("test.qrl"));
}

TReportLabel* label(TReport& report, const char* name)
{
    return report.findChild<TReportLabel*>(QString::fromLatin1(name));
}

TReportBand* band(TReport& report, const char* name)
{
    return report.findChild<TReportBand*>(QString::fromLatin1(name));
}

const char* const pendingLayout = R"(
TReport Report1 {
    Page.Values = (80 2970 100 2100 100 100 0)
    TReportBand Band1 {
        Height = 251
        TReportLabel Label1 {
            Left = 30
            Top = 40
            Width = 50
            Height = 17
            Size.Values = (44.97916666666667 0 0 129.6458333333333)
        }
        TReportLabel Label2 {
            Left = 7
            Font.Name = "宋体"
            Font.Height = 20
            Font.Style = [Bold]
            FontSize = 9
            Caption = "say \"12\"\\n"
            Alignment = taCenter
        }
    }
    TReportBand Band2 {
        Height = 300
        Size.Values = (664.1041666666667 2042.583333333333)
    }
}
)";

} // namespace

TEST(LayoutReader, PendingBoundsFillTheGapsTheStoredSizesLeave)
{
    EnvironmentScope environment(96);
    const auto report = read(pendingLayout);
    TReportLabel* label1 = label(*report, "Label1");
    ASSERT_TRUE(label1);
    // Left and Top come out 0 from the sizes, so the pixels read earlier stand; the stored
    // width (49 pixels) wins over the pixel width 50.
    EXPECT_EQ(label1->boundsRect(), QRect(30, 40, 49, 17));
    EXPECT_NEAR(static_cast<double>(label1->size().tenths(TReportPrintableSize::LeftIndex)),
                30 * 254.0 / 96, 1e-9);
    EXPECT_EQ(label1->size().tenths(TReportPrintableSize::WidthIndex), 129.6458333333333L);
    EXPECT_EQ(label1->pendingBounds().left, 0);
}

TEST(LayoutReader, BandHeightsAndLayoutToThePage)
{
    EnvironmentScope environment(96);
    const auto report = read(pendingLayout);
    TReportBand* band1 = band(*report, "Band1");
    TReportBand* band2 = band(*report, "Band2");
    ASSERT_TRUE(band1 && band2);
    // Band1 has no stored size: its stored pixel height replaces the new band's 40.
    EXPECT_EQ(band1->height(), 251);
    // Band2's stored size decides over its pixel height.
    EXPECT_EQ(band2->height(), 251);
    EXPECT_EQ(band2->size().tenths(TReportBandSize::HeightIndex), 664.1041666666667L);
    for (TReportBand* b : {band1, band2}) {
        EXPECT_EQ(b->left(), 38);
        EXPECT_EQ(b->width(), 718);
        EXPECT_NEAR(static_cast<double>(b->size().tenths(TReportBandSize::WidthIndex)),
                    718 * 254.0 / 96, 1e-9);
    }
    EXPECT_EQ(report->bandList(), (QList<TReportCustomBand*>{band1, band2}));
}

TEST(LayoutReader, StoredFontSizeWinsOverThePixelHeight)
{
    struct Case
    {
        int dpi;
        int height;
    };
    // The pixel height is in report pixels, so another screen gives the same font.
    for (const Case c : {Case{96, 12}, Case{120, 12}}) {
        EnvironmentScope environment(c.dpi);
        const auto report = read(pendingLayout);
        const TReportLabel* label2 = label(*report, "Label2");
        ASSERT_TRUE(label2);
        EXPECT_EQ(label2->font().height, c.height) << c.dpi;
        EXPECT_EQ(label2->fontSize(), 9);
        EXPECT_EQ(label2->font().name, u"宋体");
        EXPECT_TRUE(label2->font().bold);
        EXPECT_FALSE(label2->parentFont());
        EXPECT_EQ(label2->caption(), u"say \"12\"\\n");
        EXPECT_EQ(label2->printCaption(), label2->caption());
        EXPECT_EQ(label2->alignment(), taCenter);
        EXPECT_EQ(label2->left(), 7);
    }
}

TEST(LayoutReader, ComponentsReadAfterTheZoomAreShownAtIt)
{
    EnvironmentScope environment(96);
    const auto report = read(R"(
TReport Report1 {
    Zoom = 200
    TReportBand Band1 {
        Size.Values = (664.1041666666667 2042.583333333333)
        TReportLabel Label1 {
            Size.Values = (44.97916666666667 137.5833333333333 478.8958333333333 129.6458333333333)
        }
    }
}
)");
    EXPECT_EQ(report->zoom(), 200);
    EXPECT_EQ(report->width(), 1587);
    EXPECT_EQ(band(*report, "Band1")->height(), 502);
    EXPECT_EQ(label(*report, "Label1")->boundsRect(), QRect(104, 362, 98, 34));
}

TEST(LayoutReader, MalformedLayoutsAreClearErrors)
{
    struct Case
    {
        const char* text;
        int line;
        const char* says;
    };
    const Case cases[] = {
        {"", 0, "no report"},
        {"# nothing but a comment\n", 2, "no report"},
        {"TReport R {\n", 2, "not closed"},
        {"TReport R {\n}\n}\n", 3, "without a component"},
        {"TReport R {\n}\nTReport S {\n}\n", 3, "after the end"},
        {"TReportBand B {\n}\n", 1, "inside the report"},
        {"TReport R {\nTReportLabel L {\nTReportLabel M {\n}\n}\n}\n", 3, "inside a band"},
        {"TReport R {\nTReportShape S {\n}\n}\n", 2, "unknown component class"},
        {"TReport R {\nTReportBand R {\n}\n}\n", 2, "already exists"},
        {"TReport R {\nTReportBand a.b {\n}\n}\n", 2, "not a valid component name"},
        {"Left = 5\n", 1, "outside a component"},
        {"TReport R {\nLeft 5\n}\n", 2, "expected"},
        {"TReport R {\nColour = #FFFFFF\n}\n", 2, "no property 'Colour'"},
        {"TReport R {\nTReportBand B {\nCaption = \"x\"\n}\n}\n", 3, "no property"},
        {"TReport R {\nLeft = 1.5\n}\n", 2, "not a whole number"},
        {"TReport R {\nLeft = 99999999999\n}\n", 2, "outside"},
        {"TReport R {\nWidth = -1\n}\n", 2, "outside"},
        {"TReport R {\nLeft = 5 6\n}\n", 2, "after the value"},
        {"TReport R {\nLeft =\n}\n", 2, "expected a whole number"},
        {"TReport R {\nPrintIfEmpty = yes\n}\n", 2, "true or false"},
        {"TReport R {\nReportTitle = \"open\n}\n", 2, "unterminated string"},
        {"TReport R {\nReportTitle = \"\\q\"\n}\n", 2, "unknown escape"},
        {"TReport R {\nColor = #FFF\n}\n", 2, "not a colour"},
        {"TReport R {\nUnits = Furlongs\n}\n", 2, "not a valid value"},
        {"TReport R {\nPage.PaperSize = A9\n}\n", 2, "not a paper size"},
        {"TReport R {\nOptions = [FirstPageHeader Everything]\n}\n", 2, "not a report option"},
        {"TReport R {\nPage.Values = (80 2970 100)\n}\n", 2, "needs 7 numbers, not 3"},
        {"TReport R {\nPage.Values = (80 nan 100 2100 100 100 0)\n}\n", 2, "expected a number"},
        {"TReport R {\nPage.Values = (80 1e5000 100 2100 100 100 0)\n}\n", 2, "not a number"},
        {"TReport R {\nPage.Values = (80 1e9 100 2100 100 100 0)\n}\n", 2, "too large"},
        {"TReport R {\nPage.Values = (80 2970 100 2100 100 100 0\n}\n", 2, "expected a number"},
        {"TReport R {\nTReportBand B {\nSize.Values = (1 2 3)\n}\n}\n", 3, "needs 2 numbers"},
        {"TReport R {\nTReportLabel L {\nFontSize = 5000\n}\n}\n", 3, "outside"},
        {"TReport R {\nTReportLabel L {\nFont.Height = 0\n}\n}\n", 3, "outside"},
        {"TReport R {\nTReportLabel L {\nFont.Style = [Bold Wavy]\n}\n}\n", 3, "font style"},
        {"TReport R {\n  Left = 5 ; 6\n}\n", 2, "unexpected character ';'"},
        {"TReport R {\nReportTitle = \"\xff\xfe\"\n}\n", 0, "not UTF-8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            read(c.text);
            ADD_FAILURE() << "no error";
        } catch (const EReportError& error) {
            const QString message = error.message();
            EXPECT_TRUE(message.startsWith(u"Report layout \"test.qrl\"")) << error.what();
            if (c.line > 0) {
                EXPECT_TRUE(message.contains(QStringLiteral(", line %1: ").arg(c.line)))
                    << error.what();
            }
            EXPECT_TRUE(message.contains(QString::fromLatin1(c.says))) << error.what();
        }
    }
}

TEST(LayoutReader, AFileThatCannotBeOpenedIsAnError)
{
    try {
        loadReportLayout(QStringLiteral("/nonexistent/layout.qrl"));
        ADD_FAILURE() << "no error";
    } catch (const EReportError& error) {
        EXPECT_TRUE(
            error.message().startsWith(u"Cannot open report layout \"/nonexistent/layout.qrl\". "))
            << error.what();
    }
}
