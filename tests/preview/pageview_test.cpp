#include "platform/emfpicture.h"
#include "preview/reportpreview.h"
#include "report/reportmessages.h"
#include "tests/preview/previewrun.h"

#include <QApplication>
#include <QScrollBar>
#include <gtest/gtest.h>
#include <vector>

using preview::TReportPreview;
using previewtest::PreviewRun;
using report::TReportMessage;

namespace {

// A view of the given outer size showing a finished run of `pages` pages.
struct ViewOnRun
{
    explicit ViewOnRun(int pages, QSize size = {917, 471})
    {
        view.resize(size);
        previewtest::showActive(view);
        view.AttachPrinter(&run.printer());
        run.run(pages);
    }

    PreviewRun run;
    TReportPreview view;
};

void send(QObject* target, QEvent::Type type, int wParam)
{
    TReportMessage message(type, wParam);
    QCoreApplication::sendEvent(target, &message);
}

} // namespace

TEST(PageView, ANewViewIsEmpty)
{
    TReportPreview view;
    EXPECT_EQ(view.size(), QSize(250, 250));
    EXPECT_EQ(view.printer(), nullptr);
    EXPECT_EQ(view.Zoom(), 100);
    EXPECT_EQ(view.zoomState(), report::zsZoomOther);
    EXPECT_EQ(view.PageNumber(), 1);
    EXPECT_EQ(view.sheet()->size(), QSize(100, 50));
    EXPECT_EQ(view.sheet()->picture(), nullptr);
}

TEST(PageView, SheetSizeZoomsAndCentring)
{
    // A4 at 96 pixels per inch is 794 × 1123 at 100 %; the sheet adds 4 for frame and shadow.
    ViewOnRun v(1);
    struct Case
    {
        const char* what;
        void (*act)(TReportPreview&);
        int zoom;
        report::TReportZoomState state;
        QSize sheet;
    };
    const Case cases[] = {
        {"zoom 100",
         [](TReportPreview& w) { w.setZoom(100); },
         100,
         report::zsZoomOther,
         {798, 1127}},
        {"fit", [](TReportPreview& w) { w.ZoomToFit(); }, 40, report::zsZoomToFit, {321, 453}},
        {"width",
         [](TReportPreview& w) { w.ZoomToWidth(); },
         104,
         report::zsZoomToWidth,
         {829, 1171}},
        {"zoom 1 ignored",
         [](TReportPreview& w) { w.setZoom(1); },
         104,
         report::zsZoomToWidth,
         {829, 1171}},
        {"zoom 2001 ignored",
         [](TReportPreview& w) { w.setZoom(2001); },
         104,
         report::zsZoomToWidth,
         {829, 1171}},
        {"zoom 2", [](TReportPreview& w) { w.setZoom(2); }, 2, report::zsZoomOther, {20, 26}},
        {"zoom 2000",
         [](TReportPreview& w) { w.setZoom(2000); },
         2000,
         report::zsZoomOther,
         {15878, 22454}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.act(v.view);
        EXPECT_EQ(v.view.Zoom(), c.zoom);
        EXPECT_EQ(v.view.zoomState(), c.state);
        EXPECT_EQ(v.view.sheet()->size(), c.sheet);
        EXPECT_EQ(v.view.horzScrollBar()->value(), 0);
        EXPECT_EQ(v.view.vertScrollBar()->value(), 0);
    }

    // Narrower than the view: centred, the odd pixel left over on the right.
    v.view.setZoom(100);
    EXPECT_EQ(v.view.sheet()->x(), 59);
    EXPECT_EQ(917 - v.view.sheet()->geometry().right() - 1, 60);
    EXPECT_EQ(v.view.sheet()->y(), 0); // taller than the view: at the top, scrolling
    EXPECT_EQ(v.view.vertRange(), 1127);
    // Wider than the view: at the left edge, scrolling sideways.
    v.view.setZoom(200);
    EXPECT_EQ(v.view.sheet()->pos(), QPoint(0, 0));
    EXPECT_TRUE(v.view.horzScrollBar()->isVisibleTo(&v.view));
    v.view.horzScrollBar()->setValue(100);
    EXPECT_EQ(v.view.sheet()->x(), -100);
}

TEST(PageView, SmoothScrollStepsFollowTheClient)
{
    ViewOnRun v(1);
    v.view.setZoom(100);
    ASSERT_EQ(v.view.clientSize().height(), 471);
    EXPECT_EQ(v.view.vertScrollBar()->pageStep(), 423);
    EXPECT_EQ(v.view.vertScrollBar()->singleStep(), 42);
    EXPECT_FALSE(v.view.horzScrollBar()->isVisibleTo(&v.view));
    // The steps follow the view's size.
    v.view.resize(917, 600);
    EXPECT_EQ(v.view.vertScrollBar()->pageStep(), 540);
    EXPECT_EQ(v.view.vertScrollBar()->singleStep(), 54);
}

TEST(PageView, FitBelowTheSmallestZoomKeepsTheZoomButTakesTheState)
{
    ViewOnRun v(1, {10, 10});
    v.view.setZoom(50);
    v.view.ZoomToFit(); // round(10 / 1123 × 95) = 1
    EXPECT_EQ(v.view.Zoom(), 50);
    EXPECT_EQ(v.view.zoomState(), report::zsZoomToFit);
    // The next resize tries again.
    v.view.resize(917, 471);
    EXPECT_EQ(v.view.Zoom(), 40);
    EXPECT_EQ(v.view.zoomState(), report::zsZoomToFit);
}

TEST(PageView, WithoutAPrinterALetterSheetInPixels)
{
    TReportPreview view;
    view.resize(917, 471);
    view.LayoutImage();
    EXPECT_EQ(view.sheet()->size(), QSize(220, 283));
    view.ZoomToFit(); // round(471 / 279.4 × 95) = 160
    EXPECT_EQ(view.Zoom(), 160);
    view.ZoomToWidth(); // round(917 / 215.9 × 95) = 403
    EXPECT_EQ(view.Zoom(), 403);
    view.setPageNumber(2);
    EXPECT_EQ(view.PageNumber(), 1);
}

TEST(PageView, ImpossiblePageRequestsChangeNothing)
{
    ViewOnRun v(3);
    v.view.setZoom(100);
    v.view.setPageNumber(2);
    ASSERT_EQ(v.view.PageNumber(), 2);
    v.view.vertScrollBar()->setValue(300);
    for (const int page : {0, -1, 4, 1000}) {
        v.view.setPageNumber(page);
        EXPECT_EQ(v.view.PageNumber(), 2) << page;
        EXPECT_EQ(v.view.sheet()->pageNumber(), 2) << page;
        EXPECT_EQ(v.view.vertScrollBar()->value(), 300) << page;
    }
    // Another page keeps zoom and sheet size and scrolls to the top left.
    v.view.setPageNumber(3);
    EXPECT_EQ(v.view.PageNumber(), 3);
    EXPECT_EQ(v.view.vertScrollBar()->value(), 0);
    EXPECT_EQ(v.view.Zoom(), 100);
    EXPECT_EQ(v.view.sheet()->size(), QSize(798, 1127));
}

TEST(PageView, ThePageShownIsFetchedAgainOnlyWhileItsPictureIsMissing)
{
    PreviewRun run;
    TReportPreview view;
    view.resize(917, 471);
    previewtest::showActive(view);
    view.AttachPrinter(&run.printer());
    view.setZoom(100);
    run.start();
    run.nextPage();
    run.nextPage(); // page 1 stored; its message waits in the queue
    ASSERT_EQ(view.sheet()->picture(), nullptr);

    view.vertScrollBar()->setValue(200);
    view.setPageNumber(1); // no picture yet: fetched
    ASSERT_NE(view.sheet()->picture(), nullptr);
    EXPECT_EQ(view.vertScrollBar()->value(), 0);

    const platform::EmfPicture* held = view.sheet()->picture();
    view.vertScrollBar()->setValue(200);
    view.setPageNumber(1); // the picture is there: nothing
    EXPECT_EQ(view.sheet()->picture(), held);
    EXPECT_EQ(view.vertScrollBar()->value(), 200);
    run.finish();
}

TEST(PageView, PageAvailableLoadsOnlyTheShownPageAndIsAlwaysPassedOn)
{
    PreviewRun run;
    TReportPreview view;
    std::vector<int> available;
    std::vector<int> progress;
    view.setOnPageAvailable([&](QObject* sender, int n) {
        EXPECT_EQ(sender, &view);
        available.push_back(n);
    });
    view.setOnProgressUpdate([&](QObject*, int p) { progress.push_back(p); });
    view.AttachPrinter(&run.printer());
    run.start();
    run.nextPage();
    run.nextPage();
    run.nextPage(); // pages 1 and 2 stored, nothing delivered yet
    view.setPageNumber(2);
    ASSERT_EQ(view.PageNumber(), 2);
    ASSERT_NE(view.sheet()->picture(), nullptr);
    view.setPageNumber(3); // not stored yet: blank
    ASSERT_EQ(view.PageNumber(), 3);
    ASSERT_EQ(view.sheet()->picture(), nullptr);

    send(&view, report::CM_PAGEAVAILABLE, 2); // another page: nothing loads
    EXPECT_EQ(view.sheet()->picture(), nullptr);
    send(&view, report::CM_PAGEAVAILABLE, 3); // the shown one, but not stored yet
    EXPECT_EQ(view.sheet()->picture(), nullptr);
    send(&view, report::CM_PROGRESSUPDATE, 45);
    run.finish(); // stores page 3 and delivers the queued messages
    EXPECT_NE(view.sheet()->picture(), nullptr);
    EXPECT_EQ(available, (std::vector<int>{2, 3, 1, 2, 3}));
    EXPECT_EQ(progress, std::vector<int>{45});
}

TEST(PageView, AttachingLinksBothWaysAndDetachingUndoesIt)
{
    PreviewRun first;
    PreviewRun second;
    int afterPreview = 0;
    first.printer().setAfterPreview([&] { ++afterPreview; });
    {
        TReportPreview view;
        view.AttachPrinter(&first.printer());
        EXPECT_EQ(first.printer().notificationTarget(), &view);
        EXPECT_TRUE(first.printer().previewing());
        view.AttachPrinter(&second.printer());
        EXPECT_EQ(first.printer().notificationTarget(), nullptr);
        EXPECT_FALSE(first.printer().previewing());
        EXPECT_EQ(afterPreview, 1);
        EXPECT_TRUE(second.printer().previewing());
        EXPECT_EQ(view.printer(), &second.printer());
    }
    // Destroying the view detaches it.
    EXPECT_FALSE(second.printer().previewing());
    EXPECT_EQ(second.printer().notificationTarget(), nullptr);

    // A printer released under the view leaves it without one.
    TReportPreview view;
    PreviewRun gone;
    view.AttachPrinter(&gone.printer());
    gone.run(1);
    gone.release();
    EXPECT_EQ(view.printer(), nullptr);
    view.setPageNumber(1);
    view.LayoutImage();
    EXPECT_EQ(view.sheet()->size(), QSize(220, 283));
}

TEST(PageView, ReattachingShowsPageOneOfTheNewRun)
{
    ViewOnRun v(3);
    v.view.setPageNumber(3);
    PreviewRun next;
    v.view.AttachPrinter(&next.printer());
    EXPECT_EQ(v.view.PageNumber(), 1);
    next.run(1);
    EXPECT_NE(v.view.sheet()->picture(), nullptr);
}

TEST(PageView, SheetPaintsFrameAndShadowOnlyOnceThePageArrived)
{
    PreviewRun run;
    TReportPreview view;
    view.resize(400, 300);
    view.setAutoFillBackground(true);
    QPalette palette = view.palette();
    palette.setColor(QPalette::Window, QColor(0, 0, 255));
    view.setPalette(palette);
    previewtest::showActive(view);
    view.AttachPrinter(&run.printer());
    view.setZoom(20); // round(158.74) + 4 by round(224.50) + 4
    ASSERT_EQ(view.sheet()->size(), QSize(163, 229));

    const QColor blue(0, 0, 255);
    // Nothing painted while the page has not arrived.
    // The sheet is windowless: what shows of it is what the view shows where it lies.
    const auto grabSheet = [&view] {
        return view.grab().toImage().copy(
            QRect(view.sheet()->mapTo(&view, QPoint(0, 0)), view.sheet()->size()));
    };
    const QImage blank = grabSheet();
    EXPECT_EQ(blank.pixelColor(1, 1), blue);
    EXPECT_EQ(blank.pixelColor(0, 0), blue);

    run.run(1);
    ASSERT_NE(view.sheet()->picture(), nullptr);
    const QImage sheet = grabSheet();
    const int w = sheet.width();
    const int h = sheet.height();
    struct Pixel
    {
        int x;
        int y;
        QColor colour;
    };
    const Pixel pixels[] = {
        {0, 0, Qt::black},         {0, h - 3, Qt::black},     {w - 3, h - 3, Qt::black},
        {w - 3, 0, Qt::black},     {w / 2, 0, Qt::black},     {1, 1, Qt::white},
        {w - 4, h - 4, Qt::white}, {w - 2, 2, Qt::black},     {w - 1, h - 1, Qt::black},
        {2, h - 2, Qt::black},     {w - 1, 1, blue},          {1, h - 1, blue},
        {w - 2, 1, blue},          {w / 2, h - 1, Qt::black}, {w - 1, h / 2, Qt::black},
    };
    for (const Pixel& p : pixels)
        EXPECT_EQ(sheet.pixelColor(p.x, p.y), p.colour) << p.x << "," << p.y;
}
