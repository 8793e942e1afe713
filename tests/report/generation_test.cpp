#include "platform/messages.h"
#include "report/band.h"
#include "report/report.h"
#include "report/reporterror.h"
#include "report/reportprinter.h"
#include "report/reportrequests.h"
#include "report/reportrun.h"
#include "tests/support/fakeprinter.h"
#include "tests/support/testsupport.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

using namespace report;
using testsupport::FakePrinter;

namespace {

/// Where a band printed: its page and the top of its rectangle in 0.1 mm.
struct Printed
{
    std::string band;
    int page;
    int top;
    bool operator==(const Printed&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Printed& p)
{
    return out << p.band << " p" << p.page << " y" << p.top;
}

/// A metric A4 report (margins 10 mm) printing into a fake 600-dpi printer, which records
/// every band it prints.
struct TestReport
{
    FakePrinter device;
    TReport report;
    std::unique_ptr<TReportPrinter> printer;
    std::vector<Printed> printed;

    TestReport() { report.setUnits(TReportUnit::Native); }

    TReportBand* band(const char* name, TReportBandType type, long double height)
    {
        auto* b = new TReportBand(&report, type);
        b->setObjectName(QString::fromUtf8(name));
        b->size().setUnits(TReportUnit::Native);
        b->size().setHeight(height);
        b->setAfterPrint([this, b](QObject*, bool bandPrinted) {
            if (!bandPrinted)
                return;
            const TReportRun* run = report.currentRun();
            // The band has moved the position down by its height.
            printed.push_back({b->objectName().toStdString(), run->pageCount(),
                               run->currentY() - roundHalfEven(b->size().height())});
        });
        return b;
    }

    /// A fresh printer for each run, as the report's requests make one.
    TReportPrinter& newPrinter(TReportDestination destination = rdPageStore)
    {
        printer = std::make_unique<TReportPrinter>(&report, device);
        printer->setDestination(destination);
        return *printer;
    }

    void run(TReportDestination destination = rdPageStore)
    {
        GenerateReport(report, newPrinter(destination));
    }
};

} // namespace

TEST(Generation, AlignToBottomMovesALaterBandDownOrLeavesItForTheNextPage)
{
    struct Case
    {
        const char* name;
        long double detail;
        std::vector<Printed> expected;
    };
    // Summary 200 high: bottom-aligned it stands at 2970 − 200 − 80 = 2690 (bottom margin 8 mm).
    const Case cases[] = {
        {"fits below: moves down", 400, {{"detail", 1, 100}, {"summary", 1, 2690}}},
        {"already past: stays, then needs a page", 2650, {{"detail", 1, 100}, {"summary", 2, 100}}},
    };
    for (const Case& c : cases) {
        TestReport t;
        t.report.page().setBottomMargin(80);
        t.band("detail", rbDetail, c.detail)->setAlignToBottom(true);
        t.band("summary", rbSummary, 200)->setAlignToBottom(true);
        t.run();
        EXPECT_EQ(t.printed, c.expected) << c.name;
    }
}

TEST(Generation, ABandTallerThanThePagePrintsWhereItIs)
{
    TestReport t;
    t.band("title", rbTitle, 500);
    t.band("detail", rbDetail, 3000);
    t.band("summary", rbSummary, 100);
    t.run();
    EXPECT_EQ(t.printed,
              (std::vector<Printed>{{"title", 1, 100}, {"detail", 1, 600}, {"summary", 2, 100}}));
    EXPECT_EQ(t.printer->pageCount(), 2);
}

TEST(Generation, HeadersAndFootersFollowTheOptions)
{
    struct Case
    {
        const char* name;
        TReportOptions options;
        std::vector<Printed> expected;
    };
    // Footer space 100: footers print at 2970 − 100 − 100 = 2770.
    const Case cases[] = {
        {"both",
         {TReportOption::FirstPageHeader, TReportOption::LastPageFooter},
         {{"header", 1, 100},
          {"detail", 1, 200},
          {"footer", 1, 2770},
          {"header", 2, 100},
          {"summary", 2, 200},
          {"footer", 2, 2770}}},
        {"no first page header",
         {TReportOption::LastPageFooter},
         {{"detail", 1, 100},
          {"footer", 1, 2770},
          {"header", 2, 100},
          {"summary", 2, 200},
          {"footer", 2, 2770}}},
        {"no last page footer",
         {TReportOption::FirstPageHeader},
         {{"header", 1, 100},
          {"detail", 1, 200},
          {"footer", 1, 2770},
          {"header", 2, 100},
          {"summary", 2, 200}}},
    };
    for (const Case& c : cases) {
        TestReport t;
        t.report.setOptions(c.options);
        t.band("header", rbPageHeader, 100);
        t.band("footer", rbPageFooter, 100);
        t.band("detail", rbDetail, 2000);
        t.band("summary", rbSummary, 2000);
        t.run();
        EXPECT_EQ(t.printed, c.expected) << c.name;
    }
}

TEST(Generation, PageFooterSpaceCountsEnabledFootersWithTheirChildren)
{
    TestReport t;
    TReportBand* footer = t.band("footer", rbPageFooter, 100);
    footer->setHasChild(true);
    footer->childBand()->size().setUnits(TReportUnit::Native);
    footer->childBand()->size().setHeight(50);
    t.band("disabled footer", rbPageFooter, 300)->setEnabled(false);
    t.band("detail", rbDetail, 400);
    TReportBand* summary = t.band("summary", rbSummary, 100);
    long double space = -1;
    int left = -1;
    summary->setBeforePrint([&](QObject*, bool&) {
        space = t.report.currentRun()->pageFooterSpace();
        left = t.report.currentRun()->SpaceLeft();
    });
    t.run();
    EXPECT_EQ(space, 150);
    EXPECT_EQ(left, 2970 - 100 - 150 - 500);
    // The child prints below its footer, as a footer.
    EXPECT_EQ(t.printed,
              (std::vector<Printed>{{"detail", 1, 100}, {"summary", 1, 500}, {"footer", 1, 2720}}));
    EXPECT_EQ(footer->childBand()->bandType(), rbChild);
}

TEST(Generation, RefusedOrEmptyReportsMakeNoPage)
{
    {
        TestReport t;
        t.band("detail", rbDetail, 400);
        t.report.setPrintIfEmpty(false);
        t.run(rdPrinter);
        EXPECT_EQ(t.printer->status(), psComplete);
        EXPECT_EQ(t.printer->pageCount(), 0);
        EXPECT_TRUE(t.printed.empty());
        EXPECT_TRUE(t.device.pages().empty());
    }
    {
        TestReport t;
        t.band("detail", rbDetail, 400);
        t.report.setBeforePrint([](QObject*, bool& print) { print = false; });
        t.run(rdPrinter);
        // No job step at all.
        EXPECT_EQ(t.printer->status(), psIdle);
        EXPECT_TRUE(t.device.calls().isEmpty());
        EXPECT_TRUE(t.report.available());
    }
}

TEST(Generation, MarginsWiderThanThePageBecomeZeroInPairs)
{
    TestReport t;
    t.report.page().setLeftMargin(1500);
    t.report.page().setRightMargin(700);
    t.report.page().setTopMargin(100);
    t.band("detail", rbDetail, 400);
    t.run();
    EXPECT_EQ(t.report.page().leftMargin(), 0);
    EXPECT_EQ(t.report.page().rightMargin(), 0);
    EXPECT_EQ(t.report.page().topMargin(), 100);
    EXPECT_EQ(t.report.bandOfType(rbDetail)->deviceRect().left(), 0);
}

TEST(Generation, AnErrorInAHandlerEndsTheJobAndTheReportRunsAgain)
{
    struct Case
    {
        bool cancel;
        const char* lastCall;
    };
    for (const Case c : {Case{false, "end"}, Case{true, "abort"}}) {
        TestReport t;
        t.report.setUnits(TReportUnit::MM);
        TReportBand* detail = t.band("detail", rbDetail, 400);
        TReportBand* summary = t.band("summary", rbSummary, 400);
        summary->setBeforePrint([&](QObject*, bool&) {
            if (c.cancel)
                TReportRequests::of(t.report).cancel();
            throw EReportError(QStringLiteral("Broken handler"));
        });
        EXPECT_THROW(GenerateReport(t.report, t.newPrinter(rdPrinter)), EReportError);
        EXPECT_EQ(t.device.calls().last(), QString::fromUtf8(c.lastCall)) << c.cancel;
        EXPECT_EQ(t.printer->status(), psComplete);
        EXPECT_TRUE(t.report.available());
        EXPECT_EQ(t.report.units(), TReportUnit::MM);
        EXPECT_EQ(detail->size().units(), TReportUnit::MM);

        summary->setBeforePrint({});
        t.printed.clear();
        t.run();
        EXPECT_EQ(t.printed.size(), 2u) << c.cancel;
    }
}

TEST(Generation, AnErrorLeavingTheRequestReachesTheDefaultErrorReport)
{
    TestReport t;
    t.band("detail", rbDetail, 400)->setBeforePrint([](QObject*, bool&) {
        throw EReportError(QStringLiteral("Broken handler"));
    });
    TReportRequests& requests = TReportRequests::of(t.report);
    requests.setPrinterMaker(
        [&t](TCustomReport& r) { return std::make_unique<TReportPrinter>(&r, t.device); });
    testsupport::MessageRecorder messages;
    EXPECT_FALSE(platform::guarded([&] { requests.Preview(); }));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Broken handler.")});
    EXPECT_TRUE(t.report.available());
}

TEST(Generation, DataDrivenReportsAreAClearError)
{
    TestReport t;
    t.band("detail", rbDetail, 400);
    t.report.setOnNeedData([](QObject*, bool& more) { more = false; });
    EXPECT_THROW(GenerateReport(t.report, t.newPrinter()), EReportError);
    EXPECT_TRUE(t.report.available());
}

TEST(Generation, WithoutAPrinterTheRunIsRefused)
{
    TReport report;
    EXPECT_THROW(TReportRequests::of(report).GenerateReport(), EReportError);
    EXPECT_TRUE(report.available());
}

TEST(Generation, PageAndColumnNumbersAreKeptForExpressions)
{
    TestReport t;
    t.report.setReportTitle(QStringLiteral("Cheque"));
    t.band("detail", rbDetail, 2000);
    TReportBand* summary = t.band("summary", rbSummary, 2000);
    QVariant page;
    QVariant column;
    summary->setBeforePrint([&](QObject*, bool&) {
        page = t.report.functions().find(QStringLiteral("PAGENUMBER"))->value;
        column = t.report.functions().find(QStringLiteral("COLUMNNUMBER"))->value;
    });
    t.run();
    // Asked before its room is made: still page 1.
    EXPECT_EQ(page, QVariant(1));
    EXPECT_EQ(column, QVariant(1));
    EXPECT_EQ(t.report.functions().find(QStringLiteral("PAGENUMBER"))->value, QVariant(2));
    EXPECT_EQ(t.report.functions().find(QStringLiteral("REPORTTITLE"))->value,
              QVariant(QStringLiteral("Cheque")));
}
