#include "preview/standardpreview.h"

#include "assets/assets.h"
#include "platform/controls.h"
#include "platform/messages.h"
#include "preview/printdialog.h"
#include "report/report.h"
#include "report/reportmessages.h"
#include "report/reportprinter.h"
#include "report/reportrequests.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>
#include <optional>

namespace preview {

using report::TReportPrinter;

namespace {

constexpr int PictureSize = 32;
constexpr int PictureCount = 15;
constexpr int StatusBarHeight = 19;

QString& sharedPreviewTitle()
{
    static QString title;
    return title;
}

std::vector<QPixmap> loadImages()
{
    QImage strip;
    strip.loadFromData(assets::load(QStringLiteral("preview_buttons.png")), "PNG");
    std::vector<QPixmap> images;
    for (int i = 0; i < PictureCount; ++i)
        images.push_back(strip.isNull() ? QPixmap()
                                        : QPixmap::fromImage(strip.copy(i * PictureSize, 0,
                                                                        PictureSize, PictureSize)));
    return images;
}

} // namespace

TReportToolBar::TReportToolBar(QWidget* parent) : QWidget(parent)
{}

void TReportToolBar::addButton(QToolButton* button, bool endsRow)
{
    button->setParent(this);
    m_buttons.push_back({button, endsRow});
    layoutButtons();
}

std::vector<std::vector<QToolButton*>> TReportToolBar::rows() const
{
    std::vector<std::vector<QToolButton*>> rows;
    int lastTop = -1;
    for (const Entry& e : m_buttons) {
        if (e.button->isHidden())
            continue;
        if (e.button->y() != lastTop) {
            rows.emplace_back();
            lastTop = e.button->y();
        }
        rows.back().push_back(e.button);
    }
    return rows;
}

void TReportToolBar::resizeEvent(QResizeEvent*)
{
    layoutButtons();
}

bool TReportToolBar::event(QEvent* event)
{
    // A button shown or hidden changes the rows.
    if (event->type() == QEvent::ChildAdded || event->type() == QEvent::LayoutRequest)
        layoutButtons();
    return QWidget::event(event);
}

void TReportToolBar::layoutButtons()
{
    int x = m_borderWidth;
    int y = m_borderWidth;
    int rowHeight = 0;
    bool rowEnded = false;
    for (const Entry& e : m_buttons) {
        if (e.button->isHidden())
            continue;
        const QSize size = e.button->size();
        if (rowHeight > 0 && (rowEnded || x + size.width() > width() - m_borderWidth)) {
            x = m_borderWidth;
            y += rowHeight;
            rowHeight = 0;
        }
        e.button->move(x, y);
        x += size.width();
        rowHeight = std::max(rowHeight, size.height());
        rowEnded = e.endsRow;
    }
    setFixedHeight(y + rowHeight + m_borderWidth);
}

TReportStandardPreview::TReportStandardPreview(TReportPrinter* printer, QWidget* parent)
    : QWidget(parent, Qt::Window), m_printer(printer)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("TReportStandardPreview"));
    resize(925, 639);
    Images = loadImages();

    ToolBar1 = new TReportToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ZoomFit = makeButton(QStringLiteral("ZoomFit"), QStringLiteral("正常"),
                         QStringLiteral("Zoom to fit"), 2, true);
    ZoomToWidth = makeButton(QStringLiteral("ZoomToWidth"), QStringLiteral("满窗口显示"),
                             QStringLiteral("Zoom to width"), 3, true);
    Zoom100 = makeButton(QStringLiteral("Zoom100"), QStringLiteral("100%显示"),
                         QStringLiteral("100% Size"), 4, true);
    FirstPage = makeButton(QStringLiteral("FirstPage"), QStringLiteral("FirstPage"),
                           QStringLiteral("First page"), 7, false);
    PreviousPage = makeButton(QStringLiteral("PreviousPage"), QStringLiteral("上一页"),
                              QStringLiteral("Previous page"), 14, true);
    LastPage = makeButton(QStringLiteral("LastPage"), QStringLiteral("下一页"),
                          QStringLiteral("Last page"), 13, true);
    nextPage = makeButton(QStringLiteral("nextPage"), QStringLiteral("NextPage"),
                          QStringLiteral("Next page"), 8, false);
    ExitButton = makeButton(QStringLiteral("ExitButton"), QStringLiteral("&Close"),
                            QStringLiteral("Close Preview"), -1, false);
    ExitButton->setFixedSize(40, ButtonHeight);
    GotoPageButton = makeButton(QStringLiteral("GotoPageButton"), QStringLiteral("Goto Page"),
                                QStringLiteral("Select a Page"), 12, false);
    FindButton = makeButton(QStringLiteral("FindButton"), QStringLiteral("FindButton"),
                            QStringLiteral("Search for Text"), 11, false);
    PrintSetup = makeButton(QStringLiteral("PrintSetup"), QStringLiteral("打印设置"),
                            QStringLiteral("Printer setup"), 5, true);
    Print = makeButton(QStringLiteral("Print"), QStringLiteral("打印"), QStringLiteral("Print"), 0,
                       true);
    SaveReport = makeButton(QStringLiteral("SaveReport"), QStringLiteral("打印设置"),
                            QStringLiteral("Save report"), 5, false);
    LoadReport = makeButton(QStringLiteral("LoadReport"), QStringLiteral("Print"),
                            QStringLiteral("Load report"), 0, false);
    ToolButton2 =
        makeButton(QStringLiteral("ToolButton2"), QStringLiteral("退出"), QString(), 1, true);
    for (QToolButton* b :
         {ZoomFit, ZoomToWidth, Zoom100, FirstPage, PreviousPage, LastPage, nextPage, ExitButton,
          GotoPageButton, FindButton, PrintSetup, Print, SaveReport, LoadReport, ToolButton2})
        ToolBar1->addButton(b, b == LastPage);

    m_zoomGroup = new QButtonGroup(this);
    m_zoomGroup->setExclusive(true);
    for (QToolButton* b : {ZoomFit, ZoomToWidth, Zoom100}) {
        b->setCheckable(true);
        m_zoomGroup->addButton(b);
    }

    Splitter1 = new QSplitter(Qt::Vertical, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(3);
    Splitter1->setChildrenCollapsible(false);
    PageView = new TReportPreview(Splitter1);
    PageView->setObjectName(QStringLiteral("PageView"));
    StatusBar = new platform::TStatusBar({40, 120, 50}, Splitter1);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setMinimumHeight(StatusBarHeight);
    StatusBar->setPanelAlignment(0, Qt::AlignRight);
    StatusBar->setPanelText(0, QStringLiteral("0%"));
    StatusBar->setPanelText(1, QStringLiteral("Page"));
    StatusBar->setPanelText(2, QStringLiteral(" "));
    Splitter1->addWidget(PageView);
    Splitter1->addWidget(StatusBar);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);
    Splitter1->setSizes({height(), StatusBarHeight});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ToolBar1);
    layout->addWidget(Splitter1, 1);

    // Every handler runs inside the default error report's guard (the page view guards its
    // own): an error from printing or from a damaged page store is shown and never unwinds
    // through Qt.
    PageView->setOnPageAvailable(
        [this](QObject* sender, int pageNum) { PageViewPageAvailable(sender, pageNum); });
    PageView->setOnProgressUpdate(
        [this](QObject* sender, int progress) { PageViewProgressUpdate(sender, progress); });
    const auto on = [this](QToolButton* button, void (TReportStandardPreview::*handler)()) {
        connect(button, &QToolButton::clicked, this,
                [this, handler] { platform::guarded([this, handler] { (this->*handler)(); }); });
    };
    on(ZoomFit, &TReportStandardPreview::ZoomToFitClick);
    on(ZoomToWidth, &TReportStandardPreview::ZoomToWidthClick);
    on(Zoom100, &TReportStandardPreview::ZoomTo100Click);
    on(FirstPage, &TReportStandardPreview::FirstPageClick);
    on(PreviousPage, &TReportStandardPreview::PrevPageClick);
    on(LastPage, &TReportStandardPreview::LastPageClick);
    on(nextPage, &TReportStandardPreview::NextPageClick);
    on(ExitButton, &TReportStandardPreview::ExitButtonClick);
    on(PrintSetup, &TReportStandardPreview::PrintSetupClick);
    on(Print, &TReportStandardPreview::PrintClick);
    on(ToolButton2, &TReportStandardPreview::ToolButton2Click);

    setWindowTitle(QStringLiteral("Report Preview : "));

    // What the printer's report asks for; a printer of no report gets a maximised fit view.
    report::TReportZoomState zoomState = report::zsZoomToFit;
    int zoom = 100;
    Qt::WindowStates state = Qt::WindowMaximized;
    std::optional<report::TReportOrientation> orientation;
    if (report::TCustomReport* r = report()) {
        const report::TReportPreviewSettings& wanted = r->previewSettings();
        if (wanted.prevFormStyle == report::fsStayOnTop)
            setWindowFlag(Qt::WindowStaysOnTopHint);
        resize(wanted.previewWidth <= 0 ? 500 : wanted.previewWidth,
               wanted.previewHeight <= 0 ? 500 : wanted.previewHeight);
        state = wanted.previewInitialState == report::wsMaximized   ? Qt::WindowMaximized
                : wanted.previewInitialState == report::wsMinimized ? Qt::WindowMinimized
                                                                    : Qt::WindowNoState;
        sharedPreviewTitle() = r->reportTitle();
        if (printer)
            printer->setTitle(r->reportTitle());
        orientation = r->page().orientation();
        zoomState = wanted.prevInitialZoom;
        zoom = r->zoom();
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    // The view takes its real size before a fit zoom is worked out from it.
    layout->activate();

    PageView->AttachPrinter(printer);
    if (printer && orientation)
        printer->settings().setOrientation(*orientation);
    if (printer && !printer->title().isEmpty())
        setWindowTitle(QStringLiteral("Report Preview : ") + printer->title());
    m_lastProgress = 0;

    switch (zoomState) {
    case report::zsZoomToFit:
        PageView->ZoomToFit();
        ZoomFit->setChecked(true);
        break;
    case report::zsZoomToWidth:
        PageView->ZoomToWidth();
        ZoomToWidth->setChecked(true);
        break;
    case report::zsZoomOther:
        PageView->setZoom(zoom);
        PageView->LayoutImage();
        Zoom100->setChecked(true);
        break;
    }
    PageView->setFocus();
    setWindowState(state);
    // Key preview: the window sees every key before the focused control does.
    qApp->installEventFilter(this);
}

TReportStandardPreview::~TReportStandardPreview() = default;

const QString& TReportStandardPreview::previewTitle()
{
    return sharedPreviewTitle();
}

QToolButton* TReportStandardPreview::makeButton(const QString& name, const QString& caption,
                                                const QString& hint, int picture, bool visible)
{
    auto* b = new QToolButton(this);
    b->setObjectName(name);
    b->setText(caption);
    b->setToolTip(hint);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setIconSize(QSize(PictureSize, PictureSize));
    if (picture >= 0 && picture < static_cast<int>(Images.size()))
        b->setIcon(QIcon(Images[static_cast<std::size_t>(picture)]));
    b->setFixedSize(ButtonWidth, ButtonHeight);
    b->setHidden(!visible);
    return b;
}

report::TCustomReport* TReportStandardPreview::report() const
{
    if (!m_printer)
        return nullptr;
    return m_printer->parentReport() ? m_printer->parentReport() : m_printer->reportLink();
}

void TReportStandardPreview::ShowPage(int page)
{
    PageView->setPageNumber(page);
    UpdateStatus();
}

void TReportStandardPreview::UpdateStatus()
{
    const int count = m_printer ? m_printer->pageCount() : 0;
    StatusBar->setPanelText(
        1, QStringLiteral("Page") + QLatin1Char(' ') + QString::number(PageView->PageNumber()) +
               QLatin1Char(' ') + QStringLiteral("of") + QLatin1Char(' ') + QString::number(count));
    StatusBar->setPanelText(2, sharedPreviewTitle());
}

void TReportStandardPreview::ZoomToFitClick()
{
    report::processPendingMessages();
    PageView->ZoomToFit();
}

void TReportStandardPreview::ZoomToWidthClick()
{
    report::processPendingMessages();
    PageView->ZoomToWidth();
}

void TReportStandardPreview::ZoomTo100Click()
{
    report::processPendingMessages();
    PageView->setZoom(100);
    PageView->LayoutImage();
}

void TReportStandardPreview::FirstPageClick()
{
    ShowPage(1);
}

void TReportStandardPreview::PrevPageClick()
{
    ShowPage(PageView->PageNumber() - 1);
}

void TReportStandardPreview::LastPageClick()
{
    ShowPage(m_printer ? m_printer->pageCount() : 0);
}

void TReportStandardPreview::NextPageClick()
{
    ShowPage(PageView->PageNumber() + 1);
}

void TReportStandardPreview::ExitButtonClick()
{
    close();
}

void TReportStandardPreview::ToolButton2Click()
{
    close();
}

void TReportStandardPreview::PrintSetupClick()
{
    report::TCustomReport* r = report();
    if (!r)
        return;
    RunPrintSetup(*r);
    // Also after a cancel: the choices of the last confirmation, or their defaults.
    const report::TReportPrinterSettings& chosen = r->dialogSettings();
    report::TReportPrinterSettings& settings = r->printerSettings();
    if (TReportPrinter* printer = m_printer) {
        printer->selectPrinter(settings.printerIndex);
        // What decides how stored pages print; the paper and orientation stay the page's.
        report::TReportPrinterSettingsBase handed = printer->settings().values();
        handed.outputBin = chosen.outputBin;
        handed.collate = chosen.collate;
        handed.colorOption = chosen.colorOption;
        handed.printQuality = chosen.printQuality;
        handed.copies = chosen.copies;
        handed.duplex = chosen.duplex;
        handed.customBinCode = chosen.customBinCode;
        handed.useCustomBinCode = settings.useCustomBinCode;
        handed.extendedDuplex = chosen.extendedDuplex;
        printer->settings().setValues(handed);
        printer->setFirstPage(chosen.firstPage);
        printer->setLastPage(chosen.lastPage);
    }
    const QString title = settings.title;
    const bool printMetaFile = settings.printMetaFile;
    settings = chosen;
    settings.title = title;
    settings.printMetaFile = printMetaFile;
}

void TReportStandardPreview::PrintClick()
{
    if (!m_printer)
        return;
    if (report::TCustomReport* r = report())
        report::TReportRequests::of(*r).Print();
    else
        m_printer->PrintStoredPages();
}

void TReportStandardPreview::PageViewPageAvailable(QObject*, int)
{
    UpdateStatus();
    if (m_printer && m_printer->status() == report::psComplete) {
        PrintSetup->setEnabled(true);
        Print->setEnabled(true);
    }
}

void TReportStandardPreview::PageViewProgressUpdate(QObject*, int progress)
{
    if (progress >= m_lastProgress + 5) {
        StatusBar->setPanelText(0, QString::number(progress) + QLatin1Char('%'));
        m_lastProgress = progress;
    }
    if (progress == 0 || progress == 100)
        StatusBar->setPanelText(0, QString());
}

bool TReportStandardPreview::eventFilter(QObject* watched, QEvent* event)
{
    // A key reaches the focused control first and then, unhandled, its parents; act on its
    // first delivery only, and let it go on.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        QWidget* target = focusWidget() ? focusWidget() : this;
        if (watched == target) {
            const auto* key = static_cast<QKeyEvent*>(event);
            platform::guarded(
                [&] { handleKey(key->key(), key->modifiers() & ~Qt::KeypadModifier); });
        }
    }
    return false;
}

bool TReportStandardPreview::handleKey(int key, Qt::KeyboardModifiers modifiers)
{
    QScrollBar* bar = PageView->vertScrollBar();
    const int p = bar->value();
    const int s = bar->singleStep();
    switch (key) {
    case Qt::Key_PageUp:
        modifiers == Qt::ControlModifier ? FirstPageClick() : PrevPageClick();
        return true;
    case Qt::Key_PageDown:
        modifiers == Qt::ControlModifier ? LastPageClick() : NextPageClick();
        return true;
    case Qt::Key_Home:
        FirstPageClick();
        return true;
    case Qt::Key_End:
        LastPageClick();
        return true;
    case Qt::Key_Up:
        if (p - s > 0) {
            bar->setValue(p - s);
        } else {
            // The lower part of the page before, or of page 1 when there is none.
            PrevPageClick();
            bar->setValue(PageView->vertRange() - PageView->height() - s);
        }
        return true;
    case Qt::Key_Down:
        if (p + s < PageView->vertRange() - PageView->height())
            bar->setValue(p + s);
        else
            NextPageClick();
        return true;
    default:
        return false;
    }
}

void TReportStandardPreview::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    PageView->LayoutImage();
}

void TReportStandardPreview::closeEvent(QCloseEvent* event)
{
    if (m_closing) {
        event->accept();
        return;
    }
    m_closing = true;
    qApp->removeEventFilter(this);
    platform::guarded([this] {
        if (report::TCustomReport* r = report()) {
            // The report releases the printer; the window does not touch it afterwards.
            TReportPrinter* printer = m_printer;
            PageView->forgetPrinter();
            m_printer = nullptr;
            report::TReportMessage message(report::CM_PREVIEWCLOSED, 0, printer);
            QCoreApplication::sendEvent(r, &message);
        }
        report::processPendingMessages();
    });
    event->accept();
}

} // namespace preview
