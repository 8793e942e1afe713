#include "platform/emfpicture.h"
#include "report/report.h"
#include "report/reporterror.h"
#include "report/reportmessages.h"
#include "report/reportprinter.h"
#include "tests/support/fakeprinter.h"

#include <QCoreApplication>
#include <QFile>
#include <gtest/gtest.h>

using namespace report;
using testsupport::emfTexts;
using testsupport::FakePrinter;

namespace {

/// Collects the window messages posted to it.
class MessageLog : public QObject
{
public:
    std::vector<std::pair<QEvent::Type, qint64>> messages;

    std::vector<qint64> of(QEvent::Type type) const
    {
        std::vector<qint64> out;
        for (const auto& [t, w] : messages)
            if (t == type)
                out.push_back(w);
        return out;
    }

    bool eventFilter(QObject*, QEvent* e) override { return record(e); }

protected:
    bool event(QEvent* e) override { return record(e) || QObject::event(e); }

private:
    bool record(QEvent* e)
    {
        if (e->type() < QEvent::User || e->type() > CM_PREVIEWCLOSED)
            return false;
        messages.emplace_back(e->type(), static_cast<TReportMessage*>(e)->wParam());
        return true;
    }
};

// A run of `pages` pages, each with the text of its number at (100, 200) tenths.
void run(TReportPrinter& printer, int pages)
{
    printer.StartJob();
    for (int p = 1; p <= pages; ++p) {
        printer.OpenNextPage();
        if (platform::DeviceCanvas* canvas = printer.canvas())
            canvas->textOut(printer.DeviceX(100), printer.DeviceY(200), QString::number(p));
    }
    printer.FinishJob();
}

QStringList strings(std::initializer_list<const char*> items)
{
    QStringList out;
    for (const char* item : items)
        out << QString::fromUtf8(item);
    return out;
}

QStringList textsOf(const platform::EmfPicture& page)
{
    QStringList out;
    for (const auto& t : emfTexts(page))
        out << t.text;
    return out;
}

} // namespace

TEST(ReportPrinter, APreviewRunStoresItsPagesAndAnnouncesEach)
{
    FakePrinter device;
    TReportPrinter printer(nullptr, device);
    MessageLog log;
    printer.setNotificationTarget(&log);
    ASSERT_TRUE(printer.printersPresent());
    EXPECT_EQ(printer.paperWidth(), 2100);
    EXPECT_EQ(printer.paperLength(), 2970);

    run(printer, 2);
    QCoreApplication::processEvents();

    EXPECT_EQ(printer.status(), psComplete);
    // Each page as it is stored, the last one by FinishJob.
    EXPECT_EQ(log.of(CM_PAGEAVAILABLE), (std::vector<qint64>{1, 2}));
    EXPECT_EQ(printer.pageCount(), 2);
    EXPECT_EQ(printer.DeadLeft(), 0);
    EXPECT_TRUE(device.calls().isEmpty()) << "preview drew on the printer";
    for (int n : {1, 2}) {
        const auto page = printer.GetPage(n);
        ASSERT_TRUE(page) << n;
        // A4 at 96 pixels per inch, whatever the printer's resolution.
        EXPECT_EQ(page->size(), QSize(794, 1123));
        const auto texts = emfTexts(*page);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].text, QString::number(n));
        EXPECT_EQ(texts[0].x, 38); // round(100 × 96 / 254)
        EXPECT_EQ(texts[0].y, 76);
    }
    EXPECT_FALSE(printer.GetPage(0));
    EXPECT_FALSE(printer.GetPage(3));
}

TEST(ReportPrinter, AFinishedRunWithoutPagesStillAnnouncesOne)
{
    FakePrinter device;
    TReportPrinter printer(nullptr, device);
    MessageLog log;
    printer.setNotificationTarget(&log);
    EXPECT_FALSE(printer.GetPage(1)) << "idle";
    run(printer, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(log.of(CM_PAGEAVAILABLE), (std::vector<qint64>{1}));
    EXPECT_FALSE(printer.GetPage(1));
}

TEST(ReportPrinter, DeviceConversionSubtractsThePrintersMarginsOnlyOnThePrinter)
{
    // PrintLabel1 at band origin (100, 100) with Size left 833.4375: 353 on the screen;
    // on a 600-dpi printer whose left offset is 100 pixels DeadLeft is 42 and x 2105, measured
    // from the sheet's corner (933.4375 tenths are 2204.97 pixels from it). Measured from the
    // rounded 42 tenths it would be 2106, a field moved by the printer's margins.
    FakePrinter device;
    struct Case
    {
        TReportDestination destination;
        int deadLeft;
        int x;
        int width;
    };
    for (const Case c : {Case{rdPageStore, 0, 353, 794}, Case{rdPrinter, 42, 2105, 4961}}) {
        TReportPrinter printer(nullptr, device);
        printer.setDestination(c.destination);
        printer.StartJob();
        printer.OpenNextPage();
        EXPECT_EQ(printer.DeadLeft(), c.deadLeft);
        EXPECT_EQ(printer.DeadTop(), c.deadLeft);
        EXPECT_EQ(printer.DeviceX(933.4375L), c.x);
        EXPECT_EQ(printer.DeviceWidth(2100), c.width);
        printer.FinishJob();
    }
    // Halves go to the even neighbour: 2.5 and 3.5 device pixels at a factor of 1.
    device.device().dpi = 254;
    device.device().offsetX = 0;
    device.device().offsetY = 0;
    TReportPrinter unit(nullptr, device);
    unit.setDestination(rdPrinter);
    unit.StartJob();
    EXPECT_EQ(unit.HorzFactor(), 1.0L);
    EXPECT_EQ(unit.DeviceX(2.5L), 2);
    EXPECT_EQ(unit.DeviceX(3.5L), 4);
    EXPECT_EQ(unit.DeviceHeight(-2.5L), -2);
    unit.AbortJob();
}

TEST(ReportPrinter, APageRangePrintsOnlyItsPagesWithOneBreakBetween)
{
    // FirstPage 2, LastPage 3 on five pages: 1, 4 and 5 are generated on throwaway pictures.
    FakePrinter device;
    TReportPrinter printer(nullptr, device);
    printer.setDestination(rdPrinter);
    printer.setFirstPage(2);
    printer.setLastPage(3);
    printer.setTitle(QStringLiteral("Cheque"));
    MessageLog log;
    printer.setNotificationTarget(&log);

    std::vector<bool> inRange;
    printer.StartJob();
    for (int p = 1; p <= 5; ++p) {
        printer.OpenNextPage();
        inRange.push_back(printer.PageInRange());
        ASSERT_TRUE(printer.canvas()) << p;
        printer.canvas()->textOut(printer.DeviceX(300), printer.DeviceY(300), QString::number(p));
    }
    printer.FinishJob();
    QCoreApplication::processEvents();

    EXPECT_EQ(inRange, (std::vector<bool>{false, true, true, false, false}));
    EXPECT_EQ(device.calls(), strings({"begin", "page", "end"}));
    EXPECT_EQ(device.titles(), strings({"Cheque"}));
    ASSERT_EQ(device.pages().size(), 2u);
    EXPECT_EQ(textsOf(device.pages()[0]), strings({"2"}));
    EXPECT_EQ(textsOf(device.pages()[1]), strings({"3"}));
    // Every page, printed or skipped, is handed on.
    EXPECT_EQ(log.of(CM_PAGEAVAILABLE), (std::vector<qint64>{1, 2, 3, 4, 5}));
}

TEST(ReportPrinter, WrongCallsFailWithTheirMessagesAndLeaveThePrinterUsable)
{
    FakePrinter device;
    TReportPrinter printer(nullptr, device);
    try {
        printer.OpenNextPage();
        FAIL() << "no error outside a run";
    } catch (const EReportError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Illegal call to NewPage"));
    }
    printer.StartJob();
    printer.OpenNextPage();
    printer.canvas()->textOut(10, 10, QStringLiteral("kept"));
    try {
        printer.StartJob();
        FAIL() << "no error on a busy printer";
    } catch (const EReportError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Report printer not ready"));
    }
    // The open page survived the refused start.
    ASSERT_TRUE(printer.canvas());
    printer.FinishJob();
    const auto page = printer.GetPage(1);
    ASSERT_TRUE(page);
    EXPECT_EQ(textsOf(*page), strings({"kept"}));
    EXPECT_THROW(printer.OpenNextPage(), EReportError) << "complete is not a run";
}

TEST(ReportPrinter, ReleasingThePrinterRemovesItsSpilledPages)
{
    FakePrinter device;
    TReport report;
    report.printerSettings().memoryLimit = 200;
    auto printer = std::make_unique<TReportPrinter>(&report, device);
    EXPECT_EQ(printer->settings().values().memoryLimit, 200);
    printer->StartJob();
    printer->OpenNextPage();
    for (int i = 0; i < 20; ++i)
        printer->canvas()->textOut(10, 10 * i, QStringLiteral("a line of the page"));
    printer->OpenNextPage();
    const TReportStream* stream = printer->pageStore().stream();
    ASSERT_TRUE(stream);
    ASSERT_FALSE(stream->inMemory());
    const QString file = stream->fileName();
    ASSERT_TRUE(QFile::exists(file));
    // Released while still generating: the run ends and the file goes.
    printer.reset();
    EXPECT_FALSE(QFile::exists(file));
}

TEST(ReportPrinter, ReleasingAPrinterModeRunDropsTheDocument)
{
    FakePrinter device;
    {
        TReportPrinter printer(nullptr, device);
        printer.setDestination(rdPrinter);
        printer.StartJob();
        printer.OpenNextPage();
        printer.OpenNextPage();
    }
    EXPECT_EQ(device.calls(), strings({"begin", "page", "abort"}));
    EXPECT_TRUE(device.pages().empty());
    EXPECT_FALSE(device.printing());
}

TEST(ReportPrinter, ClearingThePreviewingFlagCancelsARunAndReportsTheEnd)
{
    FakePrinter device;
    TReportPrinter printer(nullptr, device);
    int previews = 0;
    printer.setAfterPreview([&] { ++previews; });
    printer.setPreviewing(false);
    EXPECT_EQ(previews, 0) << "was not previewing";
    printer.setPreviewing(true);
    EXPECT_EQ(previews, 0);
    printer.StartJob();
    printer.setPreviewing(false);
    EXPECT_TRUE(printer.cancelled());
    EXPECT_EQ(previews, 1);
    printer.AbortJob();
    EXPECT_EQ(printer.status(), psComplete);
}

TEST(ReportPrinter, WithoutAPrinterPagesAreEmptyAndNothingIsPrinted)
{
    auto device = FakePrinter::none();
    TReport report;
    report.page().setPaperSize(TReportPaperSize::Default);
    TReportPrinter printer(&report, *device);
    EXPECT_FALSE(printer.printersPresent());
    printer.ApplyPrinterValues(report);
    EXPECT_EQ(printer.paperWidth(), 0);
    EXPECT_EQ(printer.paperLength(), 0);
    run(printer, 1);
    const auto page = printer.GetPage(1);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->size(), QSize(0, 0));
    printer.setPrepared(true);
    printer.PrintStoredPages();
    EXPECT_TRUE(device->calls().isEmpty());
}

TEST(ReportPrinter, StoredPagesPrintStretchedOverTheWholeSheet)
{
    FakePrinter device;
    TReportPrinter printer(nullptr, device);
    run(printer, 3);
    printer.setPrepared(true);
    printer.setFirstPage(2);
    printer.setLastPage(0);
    MessageLog log;
    printer.setNotificationTarget(&log);
    printer.PrintStoredPages();
    QCoreApplication::processEvents();
    // The sheet's corner lies 100 pixels (4.23 mm) outside the printable area: the picture
    // starts exactly there and ends at the sheet's far edges, 4960.6 and 7015.7 pixels from it.
    const char* picture = "picture -100 -100 4861 6916 794x1123";
    EXPECT_EQ(device.calls(), strings({"begin", picture, "page", picture, "end"}));
    EXPECT_EQ(log.of(CM_PROGRESSUPDATE), (std::vector<qint64>{50, 100}));
}

TEST(ReportPrinter, AFailingDocumentStartEndsTheRunCleanly)
{
    FakePrinter device;
    device.failNextBegin();
    TReportPrinter printer(nullptr, device);
    printer.setDestination(rdPrinter);
    printer.StartJob();
    EXPECT_THROW(printer.OpenNextPage(), platform::EPrinterError);
    printer.AbortJob();
    EXPECT_EQ(printer.status(), psComplete);
    EXPECT_FALSE(device.printing());
}

TEST(ReportPrinter, ADeviceBelowAPixelPerTenthGetsTheFallbackFactors)
{
    FakePrinter device;
    device.device().dpi = 20;
    TReportPrinter printer(nullptr, device);
    printer.setDestination(rdPrinter);
    printer.StartJob();
    EXPECT_EQ(printer.HorzFactor(), TReportPrinter::DefaultFactor);
    EXPECT_EQ(printer.VertFactor(), TReportPrinter::DefaultFactor);
    printer.OpenNextPage();
    // Opening a printer page replaces only the vertical factor.
    EXPECT_NEAR(static_cast<double>(printer.HorzFactor()), 20 / 254.0, 1e-12);
    EXPECT_EQ(printer.VertFactor(), 1.0L);
    printer.FinishJob();
    EXPECT_EQ(device.calls(), strings({"begin", "end"}));
}

TEST(ReportPrinter, StoredPagesOfAReportsPreviewAskTheReportToPrintAgain)
{
    // While the preview's own run has not been marked prepared, the report prints afresh.
    FakePrinter device;
    TReport report;
    MessageLog log;
    report.installEventFilter(&log);
    TReportPrinter printer(&report, device);
    printer.setReportLink(&report);
    run(printer, 1);
    printer.PrintStoredPages();
    QCoreApplication::processEvents();
    EXPECT_EQ(log.of(CM_PRINTREQUEST).size(), 1u);
    EXPECT_TRUE(device.calls().isEmpty());
    // Prepared: the stored pages themselves go to the printer.
    printer.setPrepared(true);
    printer.PrintStoredPages();
    QCoreApplication::processEvents();
    EXPECT_EQ(log.of(CM_PRINTREQUEST).size(), 1u);
    EXPECT_EQ(device.calls().size(), 3); // begin, picture, end
}
