#include "platform/controls.h"
#include "preview/standardpreview.h"
#include "preview/standardpreviewinterface.h"
#include "report/band.h"
#include "report/label.h"
#include "report/previewinterface.h"
#include "report/report.h"
#include "report/reportrequests.h"
#include "tests/preview/previewrun.h"
#include "tests/report/temporaryfolder.h"
#include "tests/support/testsupport.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <gtest/gtest.h>

using preview::TReportStandardPreview;
using report::TReportPrinter;

namespace {

using previewtest::openPreview;

// A one-band report with a label, whose requests print on a fake device, previewed in the
// standard window.
struct PreviewedReport
{
    PreviewedReport()
    {
        preview::registerStandardPreview();
        report.previewSettings().previewWidth = 800;
        report.previewSettings().previewHeight = 600;
        label->setCaption(QStringLiteral("壹万元"));
        report::TReportRequests::of(report).setPrinterMaker([this](report::TCustomReport& r) {
            return std::make_unique<TReportPrinter>(&r, device);
        });
    }
    ~PreviewedReport()
    {
        report::registerPreviewFactory({});
        report::TReportPrinter::setProgressWindowFactory({});
    }

    /// Runs the preview request; `inside` runs while its window is open.
    void preview(std::function<void(TReportStandardPreview&)> inside, bool whenComplete = true)
    {
        // Once the window is open and its page generated; a window that never comes ends the
        // wait after a while, and so does one that never closes.
        QTimer poll;
        int ticks = 0;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            ++ticks;
            TReportStandardPreview* window = openPreview();
            const bool ready =
                window && (!whenComplete || (window->printer() &&
                                             window->printer()->status() == report::psComplete &&
                                             report.available()));
            if (ready && !insideRan) {
                opened = window;
                insideRan = true;
                inside(*window);
            } else if (ticks > 500) {
                ADD_FAILURE() << "the preview did not open or did not close";
                poll.stop();
                if (window)
                    window->close();
            }
        });
        poll.start(10);
        insideRan = false;
        report::TReportRequests::of(report).Preview();
        EXPECT_TRUE(insideRan);
    }

    testsupport::FakePrinter device;
    report::TReport report;
    report::TReportBand* band = new report::TReportBand(&report);
    report::TReportLabel* label = new report::TReportLabel(band);
    QPointer<TReportStandardPreview> opened;
    bool insideRan = false;
};

} // namespace

TEST(PreviewRequest, TheStandardWindowShowsThePageAndClosingEndsTheRequest)
{
    PreviewedReport p;
    QString status;
    bool hadPicture = false;
    p.preview([&](TReportStandardPreview& w) {
        status = w.StatusBar->panelText(1);
        hadPicture = w.PageView->sheet()->picture() != nullptr;
        w.ToolButton2->click();
    });
    EXPECT_EQ(status, QStringLiteral("Page 1 of 1"));
    EXPECT_TRUE(hadPicture);
    EXPECT_EQ(report::TReportRequests::of(p.report).reportPrinter(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(p.opened.isNull());
    // The program stays usable: the report previews again.
    p.preview([](TReportStandardPreview& w) { w.close(); });
    EXPECT_EQ(report::TReportRequests::of(p.report).reportPrinter(), nullptr);
}

TEST(PreviewRequest, ClosingWhileThePageIsGeneratedStopsTheRun)
{
    PreviewedReport p;
    // The user closes the window while the band is being printed.
    QPointer<TReportStandardPreview> window;
    p.band->setBeforePrint([&](QObject*, bool&) {
        window = openPreview();
        ASSERT_TRUE(window);
        window->close();
    });
    report::TReportRequests::of(p.report).Preview();
    EXPECT_EQ(report::TReportRequests::of(p.report).reportPrinter(), nullptr);
    EXPECT_TRUE(p.report.available());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(p.device.calls().isEmpty());
}

TEST(PreviewRequest, ClosingAtOnceWithAltF4EndsTheRequest)
{
    PreviewedReport p;
    p.preview(
        [](TReportStandardPreview& w) {
            // What the window manager does for Alt+F4: a close request through the window
            // system, which hides the window once it has agreed.
            ASSERT_TRUE(w.windowHandle());
            EXPECT_TRUE(w.windowHandle()->close());
            EXPECT_FALSE(w.isVisible());
        },
        false);
    EXPECT_EQ(report::TReportRequests::of(p.report).reportPrinter(), nullptr);
}

TEST(PreviewRequest, WithoutPrintersSetupAndPrintDoNothingAndSayNothing)
{
    // No scheduler in this test program: the system lists no printer.
    PreviewedReport p;
    p.report.printerSettings().copies = 3;
    int pages = 0;
    p.preview([&](TReportStandardPreview& w) {
        w.PrintSetup->click();
        w.Print->click();
        pages = w.printer() ? w.printer()->pageCount() : -1;
        EXPECT_TRUE(w.isVisible());
        EXPECT_NE(w.PageView->sheet()->picture(), nullptr);
        w.close();
    });
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(p.report.tag(), 1);
    // A cancel before any confirmation gives the dialog settings' defaults.
    EXPECT_EQ(p.report.printerSettings().copies, 1);
    EXPECT_EQ(p.report.printerSettings().outputBin, report::TReportBin::Auto);
    EXPECT_EQ(p.report.printerSettings().printerIndex, -1);
}

TEST(PreviewRequest, APrinterOfNoReportPrintsItsStoredPages)
{
    preview::registerStandardPreview();
    previewtest::PreviewRun run;
    auto* window = new TReportStandardPreview(&run.printer());
    previewtest::showActive(*window);
    run.run(2);
    window->Print->click();
    EXPECT_EQ(run.device().pages().size(), 2u);
    EXPECT_TRUE(window->isVisible());
    delete window;
    report::TReportPrinter::setProgressWindowFactory({});
    report::registerPreviewFactory({});
}

TEST(PreviewRequest, ClosingTheWindowWhileItPrintsEndsTheRequestAndLeavesNoFile)
{
    TemporaryFolder temp;
    PreviewedReport p;
    p.report.printerSettings().memoryLimit = 1; // the preview's page lies in a temporary file
    QPointer<TReportStandardPreview> window;
    bool closedWhilePrinting = false;
    p.band->setBeforePrint([&](QObject*, bool&) {
        if (window && report::TReportRequests::of(p.report).reportPrinter()->destination() ==
                          report::rdPrinter) {
            closedWhilePrinting = temp.files().size() == 1;
            window->close();
        }
    });
    p.preview([&](TReportStandardPreview& w) {
        window = &w;
        w.Print->click();
    });
    EXPECT_TRUE(closedWhilePrinting);
    EXPECT_EQ(p.device.pages().size(), 1u) << "the printing was not finished";
    EXPECT_EQ(report::TReportRequests::of(p.report).reportPrinter(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(temp.files().isEmpty()) << temp.files().join(u' ').toStdString();
}

TEST(PreviewRequest, ASecondRequestClosesTheOpenWindowAndShowsTheReportAsItIsNow)
{
    PreviewedReport p;
    QPointer<TReportStandardPreview> first;
    QPointer<TReportStandardPreview> second;
    bool firstVisibleAfter = true;
    QString secondStatus;
    p.preview([&](TReportStandardPreview& w) {
        first = &w;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            TReportStandardPreview* now = openPreview();
            if (now && now != first && now->printer() &&
                now->printer()->status() == report::psComplete && p.report.available()) {
                second = now;
                firstVisibleAfter = first && first->isVisible();
                secondStatus = now->StatusBar->panelText(1);
                now->close();
            }
        });
        poll.start(10);
        p.label->setCaption(QStringLiteral("贰万元"));
        report::TReportRequests::of(p.report).Preview();
    });
    ASSERT_TRUE(second);
    EXPECT_FALSE(firstVisibleAfter) << "the first preview stayed open with dead buttons";
    EXPECT_EQ(secondStatus, QStringLiteral("Page 1 of 1"));
    EXPECT_EQ(report::TReportRequests::of(p.report).reportPrinter(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(second.isNull());
}

TEST(PreviewRequest, AnErrorFromAToolbarButtonIsReportedInsideItsHandler)
{
    PreviewedReport p;
    testsupport::MessageRecorder messages;
    p.device.failNextBegin();
    bool stillOpen = false;
    p.preview([&](TReportStandardPreview& w) {
        // Called straight, not through the application's event delivery: the handler itself
        // must catch.
        EXPECT_NO_THROW(w.Print->click());
        stillOpen = w.isVisible() && w.printer();
        w.close();
    });
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Printer selected is not valid.")});
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(report::TReportRequests::of(p.report).reportPrinter(), nullptr);
}
