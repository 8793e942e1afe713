#include "platform/controls.h"
#include "preview/standardpreview.h"
#include "report/reportmessages.h"
#include "tests/preview/previewrun.h"

#include <QApplication>
#include <QPointer>
#include <QScrollBar>
#include <QSplitter>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using preview::TReportStandardPreview;
using previewtest::PreviewRun;

namespace {

QStringList captions(const std::vector<QToolButton*>& buttons)
{
    QStringList out;
    for (const QToolButton* b : buttons)
        out << b->text();
    return out;
}

// Records the CM_PREVIEWCLOSED messages a report receives.
class ClosedLog : public QObject
{
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == report::CM_PREVIEWCLOSED)
            printers.push_back(static_cast<report::TReportMessage*>(event)->lParam());
        return false;
    }
    std::vector<QObject*> printers;
};

// A report with a small preview window, and a finished run of `pages` pages behind it.
struct Previewed
{
    explicit Previewed(int pages, const QString& title = QString())
    {
        report.previewSettings().previewWidth = 925;
        report.previewSettings().previewHeight = 639;
        report.setReportTitle(title);
        window = new TReportStandardPreview(&run.printer());
        previewtest::showActive(*window);
        run.run(pages);
        QCoreApplication::processEvents();
    }
    ~Previewed() { delete window.data(); }

    int page() const { return window->PageView->PageNumber(); }
    QString status() const { return window->StatusBar->panelText(1); }
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = window->focusWidget() ? window->focusWidget() : window.data();
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    }

    report::TReport report;
    PreviewRun run{&report};
    QPointer<TReportStandardPreview> window;
};

} // namespace

TEST(PreviewWindow, ToolbarShowsTwoRowsOfItsButtons)
{
    Previewed p(1);
    TReportStandardPreview& w = *p.window;
    const auto rows = w.ToolBar1->rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(captions(rows[0]), (QStringList{QStringLiteral("正常"), QStringLiteral("满窗口显示"),
                                              QStringLiteral("100%显示"), QStringLiteral("上一页"),
                                              QStringLiteral("下一页")}));
    EXPECT_EQ(captions(rows[1]), (QStringList{QStringLiteral("打印设置"), QStringLiteral("打印"),
                                              QStringLiteral("退出")}));
    EXPECT_EQ(w.ToolBar1->height(), 2 * 52 + 2 * 2);
    EXPECT_EQ(rows[0].front()->pos(), QPoint(2, 2));
    EXPECT_EQ(rows[1].front()->pos(), QPoint(2, 54));

    struct Button
    {
        QToolButton* button;
        bool visible;
        const char16_t* caption;
        const char16_t* hint;
    };
    const Button buttons[] = {
        {w.ZoomFit, true, u"正常", u"Zoom to fit"},
        {w.ZoomToWidth, true, u"满窗口显示", u"Zoom to width"},
        {w.Zoom100, true, u"100%显示", u"100% Size"},
        {w.FirstPage, false, u"FirstPage", u"First page"},
        {w.PreviousPage, true, u"上一页", u"Previous page"},
        {w.LastPage, true, u"下一页", u"Last page"},
        {w.nextPage, false, u"NextPage", u"Next page"},
        {w.ExitButton, false, u"&Close", u"Close Preview"},
        {w.GotoPageButton, false, u"Goto Page", u"Select a Page"},
        {w.FindButton, false, u"FindButton", u"Search for Text"},
        {w.PrintSetup, true, u"打印设置", u"Printer setup"},
        {w.Print, true, u"打印", u"Print"},
        {w.SaveReport, false, u"打印设置", u"Save report"},
        {w.LoadReport, false, u"Print", u"Load report"},
        {w.ToolButton2, true, u"退出", u""},
    };
    for (const Button& b : buttons) {
        SCOPED_TRACE(b.button->objectName().toStdString());
        EXPECT_EQ(b.button->isHidden(), !b.visible);
        EXPECT_EQ(b.button->text(), QString::fromUtf16(b.caption));
        EXPECT_EQ(b.button->toolTip(), QString::fromUtf16(b.hint));
        EXPECT_TRUE(b.button->isEnabled());
        if (b.visible) {
            EXPECT_EQ(b.button->size(), QSize(67, 52));
            EXPECT_EQ(b.button->iconSize(), QSize(32, 32));
            EXPECT_EQ(b.button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
            EXPECT_FALSE(b.button->icon().isNull());
        }
    }
    EXPECT_EQ(w.ExitButton->size(), QSize(40, 52));
    EXPECT_EQ(w.Images.size(), 15u);

    // Status bar and splitter below the page view.
    EXPECT_EQ(w.StatusBar->panelCount(), 3);
    EXPECT_EQ(w.StatusBar->panelText(0), QStringLiteral("0%"));
    EXPECT_EQ(w.Splitter1->handleWidth(), 3);
    EXPECT_EQ(w.Splitter1->orientation(), Qt::Vertical);
    EXPECT_EQ(w.Splitter1->widget(0), w.PageView);
    EXPECT_EQ(w.Splitter1->widget(1), w.StatusBar);
    EXPECT_EQ(w.Splitter1->handle(1)->cursor().shape(), Qt::SplitVCursor);
    EXPECT_EQ(w.PageView->y(), 0);
    EXPECT_GE(w.PageView->mapTo(p.window.data(), QPoint(0, 0)).y(), w.ToolBar1->height());
}

TEST(PreviewWindow, CaptionStatusAndTitle)
{
    struct Case
    {
        const char16_t* title;
        const char16_t* caption;
        const char16_t* panel;
    };
    const Case cases[] = {
        {u"", u"Report Preview : ", u""},
        {u"Cheques", u"Report Preview : Cheques", u"Cheques"},
    };
    for (const Case& c : cases) {
        Previewed p(1, QString::fromUtf16(c.title));
        EXPECT_EQ(p.window->windowTitle(), QString::fromUtf16(c.caption));
        EXPECT_EQ(p.window->StatusBar->panelText(2), QString::fromUtf16(c.panel));
        EXPECT_EQ(p.status(), QStringLiteral("Page 1 of 1"));
        EXPECT_EQ(TReportStandardPreview::previewTitle(), QString::fromUtf16(c.title));
        EXPECT_EQ(p.run.printer().title(), QString::fromUtf16(c.title));
    }
}

TEST(PreviewWindow, SizeStateAndFirstZoomComeFromTheReport)
{
    struct Case
    {
        int width;
        int height;
        report::TReportZoomState zoom;
        QSize size;
        QToolButton* TReportStandardPreview::*down;
        report::TReportZoomState viewState;
    };
    const Case cases[] = {
        {1600,
         2000,
         report::zsZoomOther,
         {1600, 2000},
         &TReportStandardPreview::Zoom100,
         report::zsZoomOther},
        {0,
         -3,
         report::zsZoomToFit,
         {500, 500},
         &TReportStandardPreview::ZoomFit,
         report::zsZoomToFit},
        {-1,
         700,
         report::zsZoomToWidth,
         {500, 700},
         &TReportStandardPreview::ZoomToWidth,
         report::zsZoomToWidth},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        report::TReport report;
        report.previewSettings().previewWidth = c.width;
        report.previewSettings().previewHeight = c.height;
        report.previewSettings().prevInitialZoom = c.zoom;
        report.setZoom(100);
        PreviewRun run(&report);
        TReportStandardPreview window(&run.printer());
        EXPECT_EQ(window.size(), c.size);
        EXPECT_EQ(window.windowState(), Qt::WindowNoState);
        EXPECT_EQ(window.PageView->zoomState(), c.viewState);
        int down = 0;
        for (QToolButton* b : {window.ZoomFit, window.ZoomToWidth, window.Zoom100})
            down += b->isChecked() ? 1 : 0;
        EXPECT_EQ(down, 1);
        EXPECT_TRUE((window.*c.down)->isChecked());
        EXPECT_TRUE(run.printer().previewing());
        EXPECT_EQ(run.printer().notificationTarget(), window.PageView);
        // The zoom group keeps exactly one button down.
        window.ZoomToWidth->click();
        EXPECT_TRUE(window.ZoomToWidth->isChecked());
        EXPECT_FALSE(window.ZoomFit->isChecked() || window.Zoom100->isChecked());
        EXPECT_EQ(window.PageView->zoomState(), report::zsZoomToWidth);
        window.Zoom100->click();
        EXPECT_EQ(window.PageView->Zoom(), 100);
        EXPECT_EQ(window.PageView->zoomState(), report::zsZoomOther);
    }
    // A printer of no report: maximised, fit.
    PreviewRun alone;
    TReportStandardPreview window(&alone.printer());
    EXPECT_EQ(window.windowState(), Qt::WindowMaximized);
    EXPECT_TRUE(window.ZoomFit->isChecked());
}

TEST(PreviewWindow, OnePageStaysOnPageOne)
{
    Previewed p(1);
    TReportStandardPreview& w = *p.window;
    w.PreviousPage->click();
    w.LastPage->click();
    for (const int key : {Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End})
        p.key(key);
    p.key(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(p.page(), 1);
    EXPECT_EQ(p.status(), QStringLiteral("Page 1 of 1"));
}

TEST(PreviewWindow, PageButtonsAndKeysOnThreePages)
{
    Previewed p(3);
    TReportStandardPreview& w = *p.window;
    ASSERT_EQ(p.status(), QStringLiteral("Page 1 of 3"));
    struct Step
    {
        const char* what;
        std::function<void()> act;
        int page;
    };
    const Step steps[] = {
        {"下一页 shows the last page", [&] { w.LastPage->click(); }, 3},
        {"上一页", [&] { w.PreviousPage->click(); }, 2},
        {"Home", [&] { p.key(Qt::Key_Home); }, 1},
        {"Page Down", [&] { p.key(Qt::Key_PageDown); }, 2},
        {"Page Down again", [&] { p.key(Qt::Key_PageDown); }, 3},
        {"Page Down on the last page", [&] { p.key(Qt::Key_PageDown); }, 3},
        {"Ctrl+Shift+Page Up goes back one",
         [&] { p.key(Qt::Key_PageUp, Qt::ControlModifier | Qt::ShiftModifier); }, 2},
        {"Ctrl+Page Up goes to the first", [&] { p.key(Qt::Key_PageUp, Qt::ControlModifier); }, 1},
        {"Ctrl+Page Down goes to the last", [&] { p.key(Qt::Key_PageDown, Qt::ControlModifier); },
         3},
        {"Page Up", [&] { p.key(Qt::Key_PageUp); }, 2},
        {"End", [&] { p.key(Qt::Key_End); }, 3},
        {"Left does nothing", [&] { p.key(Qt::Key_Left); }, 3},
    };
    for (const Step& s : steps) {
        s.act();
        EXPECT_EQ(p.page(), s.page) << s.what;
        EXPECT_EQ(p.status(), QStringLiteral("Page %1 of 3").arg(s.page)) << s.what;
    }
}

TEST(PreviewWindow, UpAndDownScrollIntoTheNeighbouringPages)
{
    Previewed p(2);
    TReportStandardPreview& w = *p.window;
    w.Zoom100->click();
    QScrollBar* bar = w.PageView->vertScrollBar();
    const int s = bar->singleStep();
    ASSERT_GT(s, 0);
    ASSERT_GT(bar->maximum(), 3 * s);
    const int lower = std::min(bar->maximum(), w.PageView->vertRange() - w.PageView->height() - s);

    // Up at the very top of page 1: the page stays, the view moves to its lower part.
    p.key(Qt::Key_Up);
    EXPECT_EQ(p.page(), 1);
    EXPECT_EQ(bar->value(), lower);

    bar->setValue(0);
    p.key(Qt::Key_Down);
    EXPECT_EQ(bar->value(), s);
    p.key(Qt::Key_Up); // s − s is not above 0: the page before, which page 1 has not
    EXPECT_EQ(p.page(), 1);
    EXPECT_EQ(bar->value(), lower);

    // Down at the bottom goes to the top of the next page, and on the last page stays.
    bar->setValue(bar->maximum());
    p.key(Qt::Key_Down);
    EXPECT_EQ(p.page(), 2);
    EXPECT_EQ(bar->value(), 0);
    bar->setValue(bar->maximum());
    p.key(Qt::Key_Down);
    EXPECT_EQ(p.page(), 2);
    EXPECT_EQ(bar->value(), bar->maximum());
    // Up at the top of page 2 shows the lower part of page 1.
    bar->setValue(0);
    p.key(Qt::Key_Up);
    EXPECT_EQ(p.page(), 1);
    EXPECT_EQ(bar->value(), lower);
}

TEST(PreviewWindow, ProgressShowsEveryFifthPercentAndClearsAtTheEnds)
{
    Previewed p(1);
    TReportStandardPreview& w = *p.window;
    struct Step
    {
        int progress;
        const char* shown;
    };
    const Step steps[] = {{3, "0%"},   {5, "5%"},   {7, "5%"}, {10, "10%"},
                          {14, "10%"}, {55, "55%"}, {100, ""}, {0, ""}};
    for (const Step& s : steps) {
        report::postReportMessage(w.PageView, report::CM_PROGRESSUPDATE, s.progress);
        QCoreApplication::processEvents();
        EXPECT_EQ(w.StatusBar->panelText(0), QString::fromLatin1(s.shown)) << s.progress;
    }
}

TEST(PreviewWindow, ClosingTellsTheReportOnceAndDestroysTheWindow)
{
    const std::function<void(TReportStandardPreview&)> ways[] = {
        [](TReportStandardPreview& w) { w.ToolButton2->click(); },
        [](TReportStandardPreview& w) { w.close(); },
    };
    for (const auto& close : ways) {
        Previewed p(1);
        ClosedLog log;
        p.report.installEventFilter(&log);
        close(*p.window);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(p.window.isNull());
        ASSERT_EQ(log.printers.size(), 1u);
        EXPECT_EQ(log.printers[0], &p.run.printer());
    }
}
