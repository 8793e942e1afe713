#include "preview/printdialog.h"
#include "preview/progressform.h"
#include "report/printersettings.h"
#include "report/report.h"
#include "report/reporterror.h"
#include "report/reportmessages.h"
#include "report/reportrequests.h"
#include "tests/preview/previewrun.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>

using preview::TPrintDialogReply;
using preview::TPrintDialogRequest;
using preview::TReportPrintDialog;
using report::TReportBin;

namespace {

// Stands in for the platform's dialog: records what it was opened with and answers as told.
struct ScriptedDialog
{
    ScriptedDialog()
        : previous(
              TReportPrintDialog::setRunner([this](const TPrintDialogRequest& request,
                                                   QWidget*) -> std::optional<TPrintDialogReply> {
                  requests.push_back(request);
                  if (fail)
                      throw report::EReportError(QStringLiteral("Printer selection failed"));
                  return answer;
              }))
    {}
    ~ScriptedDialog() { TReportPrintDialog::setRunner(std::move(previous)); }

    /// A confirmation on the fake device with these device-mode values.
    void confirm(qint16 bin, int copies = 2, quint32 flags = preview::PD_ALLPAGES, int from = 0,
                 int to = 0)
    {
        TPrintDialogReply reply;
        reply.device = QStringLiteral("Fake");
        reply.devMode = testsupport::FakePrinter::defaultDevMode();
        reply.devMode.dmDefaultSource = bin;
        reply.devMode.dmCopies = 3;
        reply.flags = flags;
        reply.fromPage = from;
        reply.toPage = to;
        reply.copies = copies;
        answer = reply;
    }

    preview::TPrintDialogRunner previous;
    std::vector<TPrintDialogRequest> requests;
    std::optional<TPrintDialogReply> answer;
    bool fail = false;
};

// The device outlives the report, whose printer works on it.
struct ReportOnFake
{
    testsupport::FakePrinter system;
    report::TReport report;
};

} // namespace

TEST(PrintDialog, OpensWithTheRangeOfACompleteReport)
{
    ScriptedDialog dialog;
    ReportOnFake r;
    r.report.printerSettings().copies = 2;
    r.report.page().setOrientation(report::poLandscape);
    // Before any run: pages 0 to 9999, no range proposed.
    preview::RunPrintSetup(r.report, r.system);
    ASSERT_EQ(dialog.requests.size(), 1u);
    EXPECT_EQ(dialog.requests[0].minPage, 0);
    EXPECT_EQ(dialog.requests[0].maxPage, 9999);
    EXPECT_EQ(dialog.requests[0].fromPage, 0);

    auto held = std::make_unique<report::TReportPrinter>(&r.report, r.system);
    held->StartJob();
    held->OpenNextPage();
    held->FinishJob();
    report::TReportRequests::of(r.report).setReportPrinter(std::move(held));
    preview::RunPrintSetup(r.report, r.system);
    ASSERT_EQ(dialog.requests.size(), 2u);
    const TPrintDialogRequest& q = dialog.requests[1];
    EXPECT_EQ(q.minPage, 1);
    EXPECT_EQ(q.maxPage, 1);
    EXPECT_EQ(q.fromPage, 1);
    EXPECT_EQ(q.toPage, 1);
    // Page numbers can be entered; no selection, print to file hidden, warnings shown.
    using namespace preview;
    EXPECT_EQ(q.flags,
              PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK | PD_HIDEPRINTTOFILE | PD_NOSELECTION);
    // The report's orientation and copies reach the device mode the dialog opens with.
    EXPECT_EQ(q.devMode.dmOrientation, platform::DMORIENT_LANDSCAPE);
    EXPECT_EQ(q.devMode.dmCopies, 2);
    EXPECT_EQ(q.device, QStringLiteral("Fake"));
}

TEST(PrintDialog, PaperSourceCodesBecomeBins)
{
    struct Case
    {
        qint16 code;
        TReportBin bin;
    };
    // 263 is a driver's own source, 256 + 7; 99 matches nothing and keeps the report's bin.
    const Case cases[] = {{14, TReportBin::Cassette},
                          {1, TReportBin::First},
                          {263, TReportBin::Auto},
                          {99, TReportBin::Tractor},
                          {4, TReportBin::Manual}};
    for (const Case& c : cases) {
        ScriptedDialog dialog;
        ReportOnFake r;
        r.report.printerSettings().outputBin = TReportBin::Tractor;
        dialog.confirm(c.code);
        preview::RunPrintSetup(r.report, r.system);
        EXPECT_EQ(r.report.tag(), 0) << c.code;
        EXPECT_EQ(r.report.dialogSettings().outputBin, c.bin) << c.code;
        EXPECT_EQ(r.report.dialogSettings().customBinCode, c.code) << c.code;
        EXPECT_FALSE(r.report.dialogSettings().useCustomBinCode);
        // The chosen device mode went to the printer.
        EXPECT_EQ(r.system.written().dmDefaultSource, c.code);
    }
}

TEST(PrintDialog, CopiesRangeAndOrientationComeBack)
{
    struct Case
    {
        const char* what;
        int copies;
        quint32 flags;
        int from;
        int to;
        int copiesRecorded;
        int firstPage;
        int lastPage;
    };
    using namespace preview;
    const Case cases[] = {
        // A copy count of 1 leaves the copies to the device mode, which holds 3.
        {"copies 1", 1, PD_ALLPAGES, 1, 3, 3, 0, 0},
        {"copies 4", 4, PD_ALLPAGES, 1, 3, 4, 0, 0},
        {"pages 2 to 2", 2, PD_PAGENUMS, 2, 2, 2, 2, 2},
        {"selection", 2, PD_SELECTION, 1, 1, 2, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedDialog dialog;
        ReportOnFake r;
        dialog.confirm(7, c.copies, c.flags, c.from, c.to);
        dialog.answer->devMode.dmOrientation = platform::DMORIENT_LANDSCAPE;
        dialog.answer->devMode.dmDuplex = 2;
        preview::RunPrintSetup(r.report, r.system);
        const report::TReportPrinterSettings& s = r.report.printerSettings();
        const report::TReportPrinterSettings& d = r.report.dialogSettings();
        EXPECT_EQ(s.copies, c.copiesRecorded);
        EXPECT_EQ(d.copies, c.copiesRecorded);
        EXPECT_EQ(s.firstPage, c.firstPage);
        EXPECT_EQ(s.lastPage, c.lastPage);
        EXPECT_EQ(d.firstPage, c.from);
        EXPECT_EQ(d.lastPage, c.to);
        EXPECT_EQ(r.report.page().orientation(), report::poLandscape);
        EXPECT_EQ(d.orientation, report::poLandscape);
        EXPECT_TRUE(d.duplex);
        EXPECT_EQ(d.extendedDuplex, 2);
        EXPECT_EQ(d.customPaperCode, 9); // A4
        EXPECT_EQ(s.printerIndex, 0);
    }
}

TEST(PrintDialog, CancelOrFailureSetsTagAndChangesNothing)
{
    for (const bool fail : {false, true}) {
        ScriptedDialog dialog;
        dialog.fail = fail;
        ReportOnFake r;
        r.report.setTag(0);
        r.report.printerSettings().copies = 5;
        preview::RunPrintSetup(r.report, r.system);
        EXPECT_EQ(dialog.requests.size(), 1u);
        EXPECT_EQ(r.report.tag(), 1) << fail;
        EXPECT_EQ(r.report.printerSettings().copies, 5);
        EXPECT_EQ(r.report.dialogSettings(), report::TReportPrinterSettings());
    }
    // No printer installed: no dialog at all, a cancel.
    ScriptedDialog dialog;
    ReportOnFake r;
    const auto none = testsupport::FakePrinter::none();
    preview::RunPrintSetup(r.report, *none);
    EXPECT_TRUE(dialog.requests.empty());
    EXPECT_EQ(r.report.tag(), 1);
}

TEST(PrintDialog, ProgressWindowShowsEveryFifthPercentAndCancels)
{
    previewtest::PreviewRun run;
    preview::TReportProgressForm form(run.printer());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Printing progress"));
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(form.size(), QSize(149, 97));
    EXPECT_EQ(form.Gauge->geometry(), QRect(16, 18, 114, 16));
    EXPECT_EQ(form.Info->geometry().topLeft(), QPoint(0, 44));
    EXPECT_EQ(form.CancelButton->geometry(), QRect(36, 60, 75, 25));
    EXPECT_EQ(form.CancelButton->text(), QStringLiteral("Cancel"));
    EXPECT_TRUE(form.Info->text().isEmpty());

    run.printer().setNotificationTarget(&form);
    struct Step
    {
        int progress;
        int gauge;
        const char* info;
    };
    const Step steps[] = {{3, 0, ""},
                          {50, 50, "50%  Completed"},
                          {52, 50, "50%  Completed"},
                          {100, 100, "100%  Completed"}};
    for (const Step& s : steps) {
        run.printer().postProgress(s.progress);
        QCoreApplication::processEvents();
        EXPECT_EQ(form.Gauge->value(), s.gauge) << s.progress;
        EXPECT_EQ(form.Info->text(), QString::fromLatin1(s.info)) << s.progress;
    }
    EXPECT_FALSE(run.printer().cancelled());
    form.CancelButton->click();
    EXPECT_TRUE(run.printer().cancelled());
}
