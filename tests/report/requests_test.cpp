#include "report/band.h"
#include "report/label.h"
#include "report/previewinterface.h"
#include "report/report.h"
#include "report/reportmessages.h"
#include "report/reportprinter.h"
#include "report/reportrequests.h"
#include "tests/report/temporaryfolder.h"
#include "tests/support/fakeprinter.h"
#include "tests/support/previewstub.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <gtest/gtest.h>

using namespace report;
using testsupport::emfTexts;
using testsupport::FakePrinter;

namespace {

/// What the preview windows of a test did.
struct WindowLog
{
    std::vector<TReportPrinter*> shown;
    bool setPreviewing = false;
    int closeAfterMs = -1; // the window closes itself, as a user would, after this long
};

class TestPreview : public TReportPreviewInterface
{
public:
    explicit TestPreview(WindowLog& log) : m_log(log) {}
    QObject* Show(TReportPrinter& printer) override
    {
        m_log.shown.push_back(&printer);
        if (m_log.setPreviewing)
            printer.setPreviewing(true);
        if (m_log.closeAfterMs >= 0) {
            TCustomReport* report = printer.reportLink();
            QPointer<TReportPrinter> target = &printer;
            QTimer::singleShot(m_log.closeAfterMs, report, [report, target] {
                QCoreApplication::postEvent(report,
                                            new TReportMessage(CM_PREVIEWCLOSED, 0, target));
            });
        }
        return nullptr;
    }

private:
    WindowLog& m_log;
};

/// A report with one band and one label, its requests printing on a fake printer, and a
/// preview factory of the test's own.
struct Fixture
{
    FakePrinter device;
    TReport report;
    TReportRequests& requests = TReportRequests::of(report);
    TReportBand* band = new TReportBand(&report);
    TReportLabel* label = new TReportLabel(band);
    WindowLog windows;
    int afterPreview = 0;
    int afterPrint = 0;

    explicit Fixture(FakePrinter* system = nullptr)
    {
        FakePrinter* used = system ? system : &device;
        requests.setPrinterMaker(
            [used](TCustomReport& r) { return std::make_unique<TReportPrinter>(&r, *used); });
        registerPreviewFactory([this] { return std::make_unique<TestPreview>(windows); });
        report.setAfterPreview([this](QObject*) { ++afterPreview; });
        report.setAfterPrint([this](QObject*) { ++afterPrint; });
        label->setFont(TReportFont::fromPoints(QStringLiteral("宋体"), 9));
        label->setCaption(QStringLiteral("壹万元"));
    }
    ~Fixture() { registerPreviewFactory({}); }

    QStringList previewTexts()
    {
        QStringList out;
        if (TReportPrinter* printer = requests.reportPrinter()) {
            if (const auto page = printer->GetPage(1)) {
                for (const auto& t : emfTexts(*page))
                    out << t.text;
            }
        }
        return out;
    }
};

} // namespace

TEST(PreviewRequest, OpensTheRegisteredWindowAndStoresThePage)
{
    Fixture f;
    f.report.setReportTitle(QStringLiteral("Cheque"));
    f.requests.Preview();
    ASSERT_EQ(f.windows.shown.size(), 1u);
    TReportPrinter* printer = f.requests.reportPrinter();
    ASSERT_TRUE(printer);
    EXPECT_EQ(f.windows.shown[0], printer);
    EXPECT_EQ(printer->destination(), rdPageStore);
    EXPECT_EQ(printer->reportLink(), &f.report);
    EXPECT_EQ(printer->title(), u"Cheque");
    EXPECT_TRUE(printer->prepared());
    EXPECT_EQ(printer->pageCount(), 1);
    EXPECT_EQ(f.previewTexts(), QStringList{QStringLiteral("壹万元")});
    EXPECT_TRUE(f.device.calls().isEmpty()) << "a preview printed";

    // Closing the window lets the printer go.
    TReportMessage closed(CM_PREVIEWCLOSED, 0, printer);
    QCoreApplication::sendEvent(&f.report, &closed);
    EXPECT_FALSE(f.requests.reportPrinter());
}

TEST(PreviewRequest, TheReportsOwnHandlerReplacesTheFactory)
{
    Fixture f;
    QObject* sender = nullptr;
    f.report.setOnPreview([&](QObject* s) { sender = s; });
    f.requests.Preview();
    EXPECT_TRUE(f.windows.shown.empty());
    EXPECT_EQ(sender, f.requests.reportPrinter());
    EXPECT_EQ(f.previewTexts(), QStringList{QStringLiteral("壹万元")});
}

TEST(PreviewRequest, WaitsUntilThePreviewWindowCloses)
{
    Fixture f;
    f.windows.setPreviewing = true;
    f.windows.closeAfterMs = 100;
    f.requests.Preview();
    // Returned only after the window closed: the after-preview event ran, the printer is gone.
    EXPECT_EQ(f.afterPreview, 1);
    EXPECT_FALSE(f.requests.reportPrinter());
    EXPECT_TRUE(f.report.available());
}

TEST(PreviewRequest, ClosingWhileGeneratingCancelsAndReleasesAfterTheRun)
{
    Fixture f;
    f.windows.setPreviewing = true;
    f.band->setBeforePrint([&](QObject*, bool&) {
        TReportMessage closed(CM_PREVIEWCLOSED, 0, f.requests.reportPrinter());
        QCoreApplication::sendEvent(&f.report, &closed);
        // The run goes on; it only ends aborted.
        EXPECT_TRUE(f.requests.reportPrinter());
    });
    f.requests.Preview();
    EXPECT_FALSE(f.requests.reportPrinter());
    EXPECT_TRUE(f.report.available());
}

TEST(PreviewRequest, RequestsDuringARunDoNothing)
{
    Fixture f;
    TReportPrinter* during = nullptr;
    f.band->setBeforePrint([&](QObject*, bool&) {
        during = f.requests.reportPrinter();
        f.requests.Preview();
        f.requests.Print();
        EXPECT_EQ(f.requests.reportPrinter(), during);
    });
    f.requests.Preview();
    EXPECT_EQ(f.windows.shown.size(), 1u);
    EXPECT_EQ(f.requests.reportPrinter(), during);
    EXPECT_TRUE(f.device.calls().isEmpty()) << "printed during the preview's run";
}

TEST(PrintOperation, PrintsOnAPrinterOfItsOwnAndKeepsThePreviewsPrinter)
{
    Fixture f;
    f.requests.Preview();
    TReportPrinter* previewPrinter = f.requests.reportPrinter();
    ASSERT_TRUE(previewPrinter);

    int progressWindows = 0;
    QPointer<QObject> progress;
    TReportPrinter::setProgressWindowFactory([&](TReportPrinter& printer) {
        ++progressWindows;
        EXPECT_EQ(printer.destination(), rdPrinter);
        auto window = std::make_unique<QObject>();
        progress = window.get();
        return window;
    });
    TReportMessage request(CM_PRINTREQUEST, 0);
    QCoreApplication::sendEvent(&f.report, &request);
    TReportPrinter::setProgressWindowFactory({});

    EXPECT_EQ(progressWindows, 1);
    EXPECT_FALSE(progress) << "the progress window outlived the print operation";
    EXPECT_EQ(f.afterPrint, 1);
    EXPECT_EQ(f.requests.reportPrinter(), previewPrinter);
    ASSERT_EQ(f.device.pages().size(), 1u);
    const auto texts = emfTexts(f.device.pages()[0]);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, u"壹万元");
    // The preview's page is still there.
    EXPECT_EQ(f.previewTexts(), QStringList{QStringLiteral("壹万元")});
}

TEST(PrintOperation, WithoutPrintersNothingIsPrinted)
{
    const std::unique_ptr<FakePrinter> none = FakePrinter::none();
    Fixture f(none.get());
    f.requests.Preview();
    TReportPrinter* previewPrinter = f.requests.reportPrinter();
    f.requests.Print();
    EXPECT_TRUE(none->calls().isEmpty());
    EXPECT_EQ(f.afterPrint, 0);
    EXPECT_EQ(f.requests.reportPrinter(), previewPrinter);
}

TEST(PreviewRequest, AViewLettingGoMidRunCancelsItToo)
{
    Fixture f;
    f.windows.setPreviewing = true;
    f.band->setBeforePrint(
        [&](QObject*, bool&) { f.requests.reportPrinter()->setPreviewing(false); });
    f.requests.Preview();
    EXPECT_EQ(f.afterPreview, 1);
    EXPECT_FALSE(f.requests.reportPrinter());
}

namespace {

// Fails the test instead of hanging it when a request never returns.
struct Deadline
{
    explicit Deadline(int ms)
    {
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [] {
            ADD_FAILURE() << "a request did not return";
            QCoreApplication::exit(1);
        });
        timer.start(ms);
    }
    QTimer timer;
};

} // namespace

TEST(PreviewRequest, ClosingThePreviewWhilePrintingEndsTheRequestAndReleasesItsPrinter)
{
    TemporaryFolder temp;
    Fixture f;
    // Every page goes to the page store's temporary file.
    f.report.printerSettings().memoryLimit = 1;
    f.windows.setPreviewing = true;
    QPointer<TReportPrinter> previewPrinter;
    int filesWhilePrinting = -1;
    f.band->setBeforePrint([&](QObject*, bool&) {
        TReportPrinter* current = f.requests.reportPrinter();
        if (current->destination() == rdPageStore) {
            previewPrinter = current;
            return;
        }
        // "打印" lets messages through while it prints; the user closes the preview then.
        filesWhilePrinting = int(temp.files().size());
        TReportMessage closed(CM_PREVIEWCLOSED, 0, previewPrinter);
        QCoreApplication::sendEvent(&f.report, &closed);
    });
    testsupport::whenIdle(&f.report, [&] { postReportMessage(&f.report, CM_PRINTREQUEST, 0); });
    Deadline deadline(60000);
    f.requests.Preview();

    EXPECT_EQ(filesWhilePrinting, 1) << "the preview's pages were not in a temporary file";
    EXPECT_EQ(f.device.pages().size(), 1u) << "the printing was not finished";
    EXPECT_EQ(f.afterPrint, 1);
    EXPECT_EQ(f.afterPreview, 1);
    EXPECT_TRUE(previewPrinter.isNull());
    EXPECT_EQ(f.requests.reportPrinter(), nullptr);
    EXPECT_TRUE(temp.files().isEmpty()) << temp.files().join(u' ').toStdString();
    EXPECT_TRUE(f.report.available());
}

TEST(PreviewRequest, ASecondRequestClosesTheOpenPreviewFirst)
{
    TemporaryFolder temp;
    Fixture f;
    f.report.printerSettings().memoryLimit = 1;
    f.windows.setPreviewing = true;
    QPointer<TReportPrinter> first;
    bool secondReturned = false;
    testsupport::whenIdle(&f.report, [&] {
        first = f.requests.reportPrinter();
        // The second print click, while the first preview is open; its window closes itself.
        f.windows.closeAfterMs = 50;
        f.label->setCaption(QStringLiteral("贰万元"));
        f.requests.Preview();
        secondReturned = true;
    });
    Deadline deadline(60000);
    f.requests.Preview();

    EXPECT_TRUE(secondReturned);
    ASSERT_EQ(f.windows.shown.size(), 2u);
    EXPECT_TRUE(first.isNull()) << "the first preview's printer outlived it";
    EXPECT_EQ(f.afterPreview, 2);
    EXPECT_EQ(f.requests.reportPrinter(), nullptr);
    EXPECT_TRUE(temp.files().isEmpty()) << temp.files().join(u' ').toStdString();
}

TEST(PrintOperation, SaysWhetherThePrinterTookItsJob)
{
    struct Case
    {
        const char* name;
        bool cancel;
        bool failBegin;
        QStringList signalled;
    };
    const Case cases[] = {
        {"printed", false, false, {QStringLiteral("submitting"), QStringLiteral("accepted")}},
        {"cancelled", true, false, {QStringLiteral("failed cancelled")}},
        {"refused", false, true, {QStringLiteral("failed")}},
    };
    for (const Case& c : cases) {
        Fixture f;
        QStringList signalled;
        QObject::connect(&f.requests, &TReportRequests::printJobSubmitting,
                         [&] { signalled << QStringLiteral("submitting"); });
        QObject::connect(&f.requests, &TReportRequests::printJobAccepted,
                         [&] { signalled << QStringLiteral("accepted"); });
        QObject::connect(&f.requests, &TReportRequests::printJobFailed, [&](bool cancelled) {
            signalled << (cancelled ? QStringLiteral("failed cancelled")
                                    : QStringLiteral("failed"));
        });
        if (c.cancel)
            f.band->setBeforePrint([&](QObject*, bool&) { f.requests.cancel(); });
        if (c.failBegin) {
            f.device.failNextBegin();
            EXPECT_THROW(f.requests.Print(), platform::EPrinterError) << c.name;
        } else {
            f.requests.Print();
        }
        EXPECT_EQ(signalled, c.signalled) << c.name;
        const std::size_t printed = c.signalled.contains(QStringLiteral("accepted")) ? 1 : 0;
        EXPECT_EQ(f.device.pages().size(), printed) << c.name;
    }
}
