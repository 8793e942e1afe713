// The preview's print buttons on a private CUPS scheduler: Qt's print dialog driven offscreen
// as a user would fill it in, and the jobs that reach the Generic PDF queue.
//
// The scheduler starts once per process (Qt and CUPS read CUPS_SERVER once); ctest runs every
// case in a process of its own.

#include "platform/controls.h"
#include "preview/standardpreview.h"
#include "preview/standardpreviewinterface.h"
#include "report/band.h"
#include "report/label.h"
#include "report/previewinterface.h"
#include "report/report.h"
#include "report/reportrequests.h"
#include "tests/preview/previewrun.h"
#include "tests/support/cupsenvironment.h"
#include "tests/support/cupsscheduler.h"
#include "tests/support/testsupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPointer>
#include <QPrintDialog>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <QUuid>
#include <gtest/gtest.h>

using preview::TReportStandardPreview;
using testsupport::CupsScheduler;

namespace {

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new testsupport::CupsEnvironment);

CupsScheduler* scheduler()
{
    return testsupport::CupsEnvironment::scheduler();
}

using previewtest::openPreview;

/// What the user does in Qt's print dialog once it is up.
struct DialogChoice
{
    bool accept = true;
    int from = 0; // 0: all pages
    int to = 0;
    int copies = 1;
    // Seen in the dialog.
    QString printer;
    int minPage = -1;
    int maxPage = -1;
    QPoint position;
    QSize size;
    QRect screen;
    bool seen = false;
};

/// Waits for the print dialog to become the active modal widget, fills it in and closes it.
void driveDialog(DialogChoice& choice)
{
    auto* poll = new QTimer;
    poll->setInterval(20);
    int ticks = 0;
    QObject::connect(poll, &QTimer::timeout, [poll, &choice, ticks]() mutable {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (++ticks > 500) {
                ADD_FAILURE() << "no print dialog";
                poll->deleteLater();
            }
            return;
        }
        poll->stop();
        poll->deleteLater();
        choice.seen = true;
        choice.printer = dialog->findChild<QComboBox*>(QStringLiteral("printers"))->currentText();
        auto* from = dialog->findChild<QSpinBox*>(QStringLiteral("from"));
        auto* to = dialog->findChild<QSpinBox*>(QStringLiteral("to"));
        choice.minPage = from->minimum();
        choice.maxPage = to->maximum();
        choice.position = dialog->frameGeometry().topLeft();
        choice.size = dialog->frameGeometry().size();
        choice.screen = dialog->screen()->geometry();
        if (!choice.accept) {
            dialog->reject();
            return;
        }
        if (choice.from > 0) {
            dialog->findChild<QRadioButton*>(QStringLiteral("printRange"))->setChecked(true);
            from->setValue(choice.from);
            to->setValue(choice.to);
        }
        dialog->findChild<QSpinBox*>(QStringLiteral("copies"))->setValue(choice.copies);
        dialog->accept();
    });
    poll->start();
}

/// A two-page report on the system's printers: a tall detail band with "FIRSTPAGE" and a
/// summary with "SECONDPAGE" that needs a page of its own.
struct TwoPageReport
{
    TwoPageReport()
    {
        preview::registerStandardPreview();
        report.setUnits(report::TReportUnit::Native);
        report.setReportTitle(QStringLiteral("preview-") +
                              QUuid::createUuid().toString(QUuid::Id128).left(8));
        report.previewSettings().previewWidth = 800;
        report.previewSettings().previewHeight = 600;
        addBand(report::rbDetail, 2650, "FIRSTPAGE");
        addBand(report::rbSummary, 200, "SECONDPAGE");
    }
    ~TwoPageReport()
    {
        report::registerPreviewFactory({});
        report::TReportPrinter::setProgressWindowFactory({});
    }

    void addBand(report::TReportBandType type, long double height, const char* text)
    {
        auto* band = new report::TReportBand(&report, type);
        band->size().setUnits(report::TReportUnit::Native);
        band->size().setHeight(height);
        auto* label = new report::TReportLabel(band);
        label->setCaption(QString::fromLatin1(text));
    }

    /// Runs the preview request; `inside` runs once its pages are generated, then it closes.
    void preview(const std::function<void(TReportStandardPreview&)>& inside)
    {
        QTimer poll;
        int ticks = 0;
        bool done = false;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            TReportStandardPreview* window = openPreview();
            // The run over: its last page stored and the report free for requests again.
            if (!done && window && window->printer() &&
                window->printer()->status() == report::psComplete && report.available()) {
                done = true;
                poll.stop();
                inside(*window);
                window->close();
            } else if (++ticks > 1500) {
                ADD_FAILURE() << "the preview did not open";
                poll.stop();
                if (window)
                    window->close();
            }
        });
        poll.start(20);
        report::TReportRequests::of(report).Preview();
        EXPECT_TRUE(done);
    }

    report::TReport report;
};

QString pdfText(const QString& pdf)
{
    QString out;
    testsupport::runProgram(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}, &out);
    return out;
}

int pdfPageCount(const QString& pdf)
{
    QString out;
    testsupport::runProgram(QStringLiteral("pdfinfo"), {pdf}, &out);
    for (const QString& line : out.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    return -1;
}

} // namespace

TEST(PreviewPrinting, TheDialogsRangeAndCopiesReachTheQueueAndEachPrintIsAJob)
{
    ASSERT_TRUE(scheduler() && scheduler()->running()) << scheduler()->error().toStdString();
    TwoPageReport r;
    DialogChoice choice;
    choice.from = 2;
    choice.to = 2;
    choice.copies = 2;
    QString firstPdf;
    QString secondPdf;
    bool stayedOpen = false;
    r.preview([&](TReportStandardPreview& w) {
        EXPECT_EQ(w.StatusBar->panelText(1), QStringLiteral("Page 1 of 2"));
        driveDialog(choice);
        w.PrintSetup->click();
        ASSERT_TRUE(choice.seen);
        EXPECT_EQ(r.report.tag(), 0);

        w.Print->click();
        ASSERT_TRUE(scheduler()->waitForJobs());
        ASSERT_TRUE(CupsScheduler::waitForFile(scheduler()->outputPdf()));
        firstPdf = scheduler()->folder() + QStringLiteral("/first.pdf");
        QFile::copy(scheduler()->outputPdf(), firstPdf);
        QFile::remove(scheduler()->outputPdf());

        w.Print->click();
        ASSERT_TRUE(scheduler()->waitForJobs());
        ASSERT_TRUE(CupsScheduler::waitForFile(scheduler()->outputPdf()));
        secondPdf = scheduler()->outputPdf();
        stayedOpen = w.isVisible() && w.PageView->sheet()->picture() != nullptr;
    });

    // The dialog: the report's pages only, on the default queue, placed across the middle
    // and a third of the way down.
    EXPECT_EQ(choice.printer, CupsScheduler::genericQueue());
    EXPECT_EQ(choice.minPage, 1);
    EXPECT_EQ(choice.maxPage, 2);
    EXPECT_EQ(choice.position.x(), (choice.screen.width() - choice.size.width()) / 2);
    EXPECT_EQ(choice.position.y(), (choice.screen.height() - choice.size.height()) / 3);

    EXPECT_EQ(r.report.printerSettings().firstPage, 2);
    EXPECT_EQ(r.report.printerSettings().lastPage, 2);
    EXPECT_EQ(r.report.printerSettings().copies, 2);

    // One job holding page 2 twice (the queue's file holds one job: a job per copy would leave
    // one page); a second press is a second job, writing the file anew.
    for (const QString& pdf : {firstPdf, secondPdf}) {
        EXPECT_EQ(pdfPageCount(pdf), 2) << pdf.toStdString();
        const QString text = pdfText(pdf);
        EXPECT_EQ(text.count(QStringLiteral("SECONDPAGE")), 2) << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("FIRSTPAGE"))) << text.toStdString();
    }
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(report::TReportRequests::of(r.report).reportPrinter(), nullptr);
}

TEST(PreviewPrinting, ACancelledDialogKeepsTheDefaultsAndPrintsEveryPage)
{
    ASSERT_TRUE(scheduler() && scheduler()->running()) << scheduler()->error().toStdString();
    TwoPageReport r;
    DialogChoice choice;
    choice.accept = false;
    r.preview([&](TReportStandardPreview& w) {
        driveDialog(choice);
        w.PrintSetup->click();
        w.Print->click();
        ASSERT_TRUE(scheduler()->waitForJobs());
        ASSERT_TRUE(CupsScheduler::waitForFile(scheduler()->outputPdf()));
    });
    EXPECT_TRUE(choice.seen);
    EXPECT_EQ(r.report.tag(), 1);
    EXPECT_EQ(r.report.printerSettings(), report::TReportPrinterSettings());
    EXPECT_EQ(pdfPageCount(scheduler()->outputPdf()), 2);
    const QString text = pdfText(scheduler()->outputPdf());
    EXPECT_TRUE(text.contains(QStringLiteral("FIRSTPAGE")));
    EXPECT_TRUE(text.contains(QStringLiteral("SECONDPAGE")));
}

TEST(PreviewPrinting, AQueueRemovedWhileTheDialogIsOpenIsRefusedWithAMessage)
{
    ASSERT_TRUE(scheduler() && scheduler()->running()) << scheduler()->error().toStdString();
    TwoPageReport r;
    DialogChoice choice;
    testsupport::MessageRecorder messages;
    bool stayedOpen = false;
    r.preview([&](TReportStandardPreview& w) {
        driveDialog(choice);
        // The queue goes while the dialog is up.
        QTimer::singleShot(0, [] {
            scheduler()->run(QStringLiteral("lpadmin"),
                             {QStringLiteral("-x"), CupsScheduler::genericQueue()});
        });
        w.PrintSetup->click();
        stayedOpen = w.isVisible() && w.PageView->sheet()->picture() != nullptr;
    });
    EXPECT_TRUE(choice.seen);
    EXPECT_EQ(choice.printer, CupsScheduler::genericQueue());
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(r.report.tag(), 1);
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("Printer 'quillmark-pdf' is no longer available.")});
}
