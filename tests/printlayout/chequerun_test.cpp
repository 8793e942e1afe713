#include "printlayout/form2.h"
#include "report/label.h"
#include "report/previewinterface.h"
#include "report/report.h"
#include "report/reportprinter.h"
#include "report/reportrequests.h"
#include "tests/support/fakeprinter.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <tuple>

using namespace report;
using printlayout::TForm2;
using testsupport::emfTexts;
using testsupport::FakePrinter;

namespace {

// A sample cheque of 12 345 678.90 yuan: every print label, in the order captions are set,
// with its base position (report pixels, all offsets 0) and its caption.
struct Row
{
    const char* name;
    int left;
    int top;
    const char* caption;
};

const Row sampleCheque[] = {
    {"PrintLabel23", 51, 128, "2024"},
    {"PrintLabel14", 92, 128, "05"},
    {"PrintLabel2", 126, 128, "09"},
    {"PrintLabel4", 52, 148, "华信科技"},
    {"PrintLabel3", 52, 181, "￥12345678.90"},
    {"PrintLabel5", 265, 60, "壹仟贰佰叁拾肆万伍仟陆佰柒拾捌元玖角"},
    {"PrintLabel1", 315, 11, "贰零贰肆"},
    {"PrintLabel21", 390, 11, "零伍"},
    {"PrintLabel16", 450, 11, "零玖"},
    {"PrintLabel24", 256, 30, "北京华信科技有限公司"},
    {"PrintLabel25", 52, 201, "货款"},
    {"PrintLabel15", 248, 96, "货款"},
    {"PrintLabel8", 612, 11, "中国工商银行北京分行"},
    {"PrintLabel9", 611, 30, "0200001234567890123"},
    {"PrintLabel6", 599, 69, "￥"},
    {"PrintLabel7", 613, 69, "1"},
    {"PrintLabel10", 628, 69, "2"},
    {"PrintLabel11", 643, 69, "3"},
    {"PrintLabel12", 657, 69, "4"},
    {"PrintLabel13", 672, 69, "5"},
    {"PrintLabel17", 687, 69, "6"},
    {"PrintLabel18", 701, 69, "7"},
    {"PrintLabel19", 716, 69, "8"},
    {"PrintLabel20", 731, 69, "9"},
    {"PrintLabel22", 746, 69, "0"},
};

class NoWindow : public TReportPreviewInterface
{};

struct Placed
{
    QString text;
    QPoint at;
    bool operator<(const Placed& o) const
    {
        return std::tuple(text, at.x(), at.y()) < std::tuple(o.text, o.at.x(), o.at.y());
    }
    bool operator==(const Placed&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Placed& p)
{
    return out << p.text.toStdString() << " (" << p.at.x() << ", " << p.at.y() << ")";
}

std::vector<Placed> sorted(std::vector<Placed> placed)
{
    std::sort(placed.begin(), placed.end());
    return placed;
}

/// The print form with the sample cheque's captions, its report printing on a fake printer.
struct ChequeRun
{
    FakePrinter device;
    TForm2 form;

    ChequeRun()
    {
        registerPreviewFactory([] { return std::make_unique<NoWindow>(); });
        TReportRequests::of(*form.ChequeReport).setPrinterMaker([this](TCustomReport& r) {
            return std::make_unique<TReportPrinter>(&r, device);
        });
        for (const Row& row : sampleCheque) {
            TReportLabel* label = form.printLabel(QString::fromLatin1(row.name));
            label->setLeft(row.left);
            label->setTop(row.top);
        }
        for (const Row& row : sampleCheque)
            label(row)->setCaption(QString::fromUtf8(row.caption));
    }
    ~ChequeRun() { registerPreviewFactory({}); }

    TReportLabel* label(const Row& row) const
    {
        return form.printLabel(QString::fromLatin1(row.name));
    }

    /// Where the label's text is anchored on paper, in 0.1 mm from the corner: its box's left
    /// edge, or the centre of its box for a centred label.
    long double anchorX(const Row& row) const
    {
        const TReportLabel* l = label(row);
        const long double left = 100 + l->size().tenths(TReportPrintableSize::LeftIndex);
        if (l->alignment() == taCenter)
            return left + l->size().tenths(TReportPrintableSize::WidthIndex) / 2;
        return left;
    }
    long double anchorY(const Row& row) const
    {
        return 100 + label(row)->size().tenths(TReportPrintableSize::TopIndex);
    }

    /// Every caption at its anchor as `device` converts it, sorted. Taken before a run: the
    /// captions measured on screen decide where centred labels stand.
    template <typename Device> std::vector<Placed> expectedTexts(Device device) const
    {
        std::vector<Placed> out;
        for (const Row& row : sampleCheque)
            out.push_back({QString::fromUtf8(row.caption), device(anchorX(row), anchorY(row))});
        return sorted(out);
    }
};

std::vector<Placed> placedTexts(const platform::EmfPicture& page)
{
    std::vector<Placed> out;
    for (const auto& t : emfTexts(page))
        out.push_back({t.text, QPoint(t.x, t.y)});
    return sorted(out);
}

} // namespace

TEST(ChequeRun, PreviewHasOnePageWithEveryTextAtItsPlace)
{
    ChequeRun run;
    // A 96-dpi page picture without unprintable edges.
    const auto pagePixel = [](long double tenths) { return roundHalfEven(tenths * 96 / 254); };
    const std::vector<Placed> expected = run.expectedTexts(
        [&](long double x, long double y) { return QPoint(pagePixel(x), pagePixel(y)); });
    for (const Row& row : sampleCheque) {
        // A left-aligned label's text starts at its base position + 38 pixels (10 mm).
        if (run.label(row)->alignment() == taLeftJustify) {
            EXPECT_EQ(QPoint(pagePixel(run.anchorX(row)), pagePixel(run.anchorY(row))),
                      QPoint(row.left + 38, row.top + 38))
                << row.name;
        }
    }

    TReportRequests& requests = TReportRequests::of(*run.form.ChequeReport);
    requests.Preview();
    TReportPrinter* printer = requests.reportPrinter();
    ASSERT_TRUE(printer);
    EXPECT_EQ(printer->pageCount(), 1);
    EXPECT_FALSE(printer->GetPage(2));
    const auto page = printer->GetPage(1);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->size(), QSize(794, 1123));
    // The band although aligned to the bottom: at the top margin, (DeviceX(100), DeviceY(100)).
    EXPECT_EQ(run.form.ColumnHeaderBand1->deviceRect().topLeft(), QPoint(38, 38));
    EXPECT_EQ(run.form.ColumnHeaderBand1->deviceRect().bottom() + 1, printer->DeviceY(764.1041L));

    const std::vector<Placed> placed = placedTexts(*page);
    EXPECT_EQ(placed, expected);
    EXPECT_TRUE(std::count(placed.begin(), placed.end(),
                           Placed{QStringLiteral("贰零贰肆"), QPoint(353, 49)}));
}

TEST(ChequeRun, PrintingOnA600DpiPrinterPlacesTextsFromThePapersCorner)
{
    ChequeRun run;
    std::vector<std::pair<long double, long double>> anchors;
    for (const Row& row : sampleCheque)
        anchors.emplace_back(run.anchorX(row), run.anchorY(row));

    TReportRequests::of(*run.form.ChequeReport).Print();
    ASSERT_EQ(run.device.pages().size(), 1u);
    // Unprintable edges of 100 device pixels: each text lies where its anchor is on the sheet,
    // less those 100 pixels (not less the 42 tenths they round to).
    const auto device = [](long double tenths) { return roundHalfEven(tenths * 600 / 254 - 100); };
    std::vector<Placed> expected;
    for (std::size_t i = 0; i < std::size(sampleCheque); ++i) {
        expected.push_back({QString::fromUtf8(sampleCheque[i].caption),
                            QPoint(device(anchors[i].first), device(anchors[i].second))});
    }
    const std::vector<Placed> placed = placedTexts(run.device.pages()[0]);
    EXPECT_EQ(placed, sorted(expected));
    EXPECT_TRUE(std::count(placed.begin(), placed.end(),
                           Placed{QStringLiteral("贰零贰肆"), QPoint(2105, 205)}));
}
