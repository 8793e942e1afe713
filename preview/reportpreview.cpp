#include "preview/reportpreview.h"

#include "platform/emfpicture.h"
#include "platform/messages.h"
#include "report/reportmessages.h"
#include "report/reportprinter.h"
#include "report/units.h"

#include <QApplication>
#include <QPainter>
#include <QPolygon>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>

namespace preview {

using report::TReportPrinter;

TReportPreviewImage::TReportPreviewImage(QWidget* parent) : QWidget(parent)
{
    resize(100, 50);
}

TReportPreviewImage::~TReportPreviewImage() = default;

void TReportPreviewImage::LoadPage(int n)
{
    m_pageNumber = n;
    m_picture.reset();
    if (m_printer)
        m_picture = m_printer->GetPage(n);
    repaint();
}

void TReportPreviewImage::paintEvent(QPaintEvent*)
{
    // Until the page arrives the view's background shows through.
    if (!m_picture)
        return;
    const int w = width();
    const int h = height();
    QPainter p(this);
    p.fillRect(QRect(1, 1, w - 4, h - 4), Qt::white);
    m_picture->play(p, QRect(0, 0, w, h));
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(Qt::NoBrush);
    const QPoint frame[] = {{0, 0}, {0, h - 3}, {w - 3, h - 3}, {w - 3, 0}, {0, 0}};
    p.drawPolyline(frame, 5);
    p.fillRect(QRect(w - 2, 2, 2, h - 2), Qt::black);
    p.fillRect(QRect(2, h - 2, w - 2, 2), Qt::black);
}

TReportPreview::TReportPreview(QWidget* parent)
    : QWidget(parent), m_client(new QWidget(this)), m_sheet(new TReportPreviewImage(m_client)),
      m_horz(new QScrollBar(Qt::Horizontal, this)), m_vert(new QScrollBar(Qt::Vertical, this)),
      m_corner(new QWidget(this))
{
    setFocusPolicy(Qt::StrongFocus);
    m_sheet->move(0, 0);
    for (QScrollBar* bar : {m_horz, m_vert}) {
        bar->setTracking(true);
        bar->setFocusPolicy(Qt::NoFocus);
        bar->hide();
        connect(bar, &QScrollBar::valueChanged, this, [this] { placeSheet(); });
    }
    m_corner->hide();
    resize(250, 250);
}

TReportPreview::~TReportPreview()
{
    detachPrinter();
}

void TReportPreview::detachPrinter()
{
    if (m_printer && m_printer->notificationTarget() == this) {
        // Clearing the flag first lets the printer stop a run that is still generating.
        m_printer->setPreviewing(false);
        m_printer->setNotificationTarget(nullptr);
    }
}

void TReportPreview::forgetPrinter()
{
    m_printer = nullptr;
    m_sheet->setPrinter(nullptr);
}

void TReportPreview::AttachPrinter(TReportPrinter* printer)
{
    detachPrinter();
    m_printer = printer;
    m_sheet->setPrinter(printer);
    if (printer) {
        printer->setNotificationTarget(this);
        printer->setPreviewing(true);
    }
    setPageNumber(1);
    m_sheet->LoadPage(1);
    // The sheet now waits for page 1 whatever was shown before, so its page-available
    // message must be recognised as the shown page's.
    m_pageNumber = 1;
    update();
}

void TReportPreview::setPageNumber(int page)
{
    if ((page == m_pageNumber && m_sheet->picture()) || page <= 0 || !m_printer ||
        page > m_printer->pageCount())
        return;
    m_sheet->LoadPage(page);
    m_pageNumber = page;
    m_vert->setValue(0);
    m_horz->setValue(0);
}

void TReportPreview::setZoom(int zoom)
{
    if (zoom < MinZoom || zoom > MaxZoom)
        return;
    m_zoomState = report::zsZoomOther;
    m_zoom = zoom;
    LayoutImage();
}

void TReportPreview::LayoutImage()
{
    int w;
    int h;
    if (m_printer) {
        w = report::roundHalfEven(m_printer->paperWidth() / 100.0L * m_zoom *
                                  m_printer->HorzFactor()) +
            4;
        h = report::roundHalfEven(m_printer->paperLength() / 100.0L * m_zoom *
                                  m_printer->VertFactor()) +
            4;
    } else {
        // A letter sheet, its millimetres taken as pixels.
        w = report::roundHalfEven(215.9L / 100 * m_zoom) + 4;
        h = report::roundHalfEven(279.4L / 100 * m_zoom) + 4;
    }
    m_sheet->resize(w, h);
    m_sheetPos = QPoint(w < width() ? (width() - w) / 2 : 0, h < height() ? (height() - h) / 2 : 0);
    layoutScrollBars();
    m_horz->setValue(0);
    m_vert->setValue(0);
    placeSheet();
}

namespace {

// view ÷ page × percent, rounded; a page of no size (no printer installed) gives a value the
// zoom refuses.
int fitZoom(int view, long double page, int percent)
{
    if (page <= 0)
        return 0;
    return report::roundHalfEven(view / page * percent);
}

} // namespace

void TReportPreview::ZoomToFit()
{
    int zw;
    int zh;
    if (m_printer) {
        zw = fitZoom(width(), m_printer->DeviceWidth(m_printer->paperWidth()), 95);
        zh = fitZoom(height(), m_printer->DeviceHeight(m_printer->paperLength()), 95);
    } else {
        zw = fitZoom(width(), 215.9L, 95);
        zh = fitZoom(height(), 279.4L, 95);
    }
    setZoom(std::min(zw, zh));
    LayoutImage();
    m_zoomState = report::zsZoomToFit;
}

void TReportPreview::ZoomToWidth()
{
    if (m_printer)
        setZoom(fitZoom(width(), m_printer->DeviceWidth(m_printer->paperWidth()), 90));
    else
        setZoom(fitZoom(width(), 215.9L, 95));
    LayoutImage();
    m_zoomState = report::zsZoomToWidth;
}

void TReportPreview::ApplyZoomState()
{
    if (m_zoomState == report::zsZoomToFit)
        ZoomToFit();
    else if (m_zoomState == report::zsZoomToWidth)
        ZoomToWidth();
    LayoutImage();
}

int TReportPreview::horzRange() const
{
    return m_sheetPos.x() + m_sheet->width();
}

int TReportPreview::vertRange() const
{
    return m_sheetPos.y() + m_sheet->height();
}

QSize TReportPreview::clientSize() const
{
    return m_client->size();
}

void TReportPreview::layoutScrollBars()
{
    const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int rangeX = horzRange();
    const int rangeY = vertRange();
    // A bar shows when its range exceeds the client; one bar showing shrinks the other axis.
    bool needV = rangeY > height();
    bool needH = rangeX > width() - (needV ? barWidth : 0);
    if (needH && !needV)
        needV = rangeY > height() - barWidth;
    const int cw = std::max(0, width() - (needV ? barWidth : 0));
    const int ch = std::max(0, height() - (needH ? barWidth : 0));
    m_client->setGeometry(0, 0, cw, ch);
    m_vert->setGeometry(cw, 0, barWidth, ch);
    m_horz->setGeometry(0, ch, cw, barWidth);
    m_corner->setGeometry(cw, ch, barWidth, barWidth);
    m_vert->setVisible(needV);
    m_horz->setVisible(needH);
    m_corner->setVisible(needV && needH);

    struct Axis
    {
        QScrollBar* bar;
        int range;
        int visible;
    };
    for (const Axis& a : {Axis{m_horz, rangeX, cw}, Axis{m_vert, rangeY, ch}}) {
        // Smooth scrolling: nine tenths of the client a page, a tenth of that a line.
        const int page = a.visible * 9 / 10;
        a.bar->setRange(0, std::max(0, a.range - a.visible));
        a.bar->setPageStep(std::max(1, page));
        a.bar->setSingleStep(std::max(1, page / 10));
    }
}

void TReportPreview::placeSheet()
{
    m_sheet->move(m_sheetPos - QPoint(m_horz->value(), m_vert->value()));
}

bool TReportPreview::event(QEvent* event)
{
    if (event->type() == report::CM_PAGEAVAILABLE) {
        const int n = static_cast<int>(static_cast<report::TReportMessage*>(event)->wParam());
        // A page the store cannot give back is reported like any handler's error; the owner
        // hears of the page all the same.
        platform::guarded([&] {
            if (n == m_pageNumber && m_printer && !m_sheet->picture() &&
                m_sheet->pageNumber() <= m_printer->pageStore().pageCount())
                m_sheet->LoadPage(m_sheet->pageNumber());
        });
        if (m_onPageAvailable)
            platform::guarded([&] { m_onPageAvailable(this, n); });
        return true;
    }
    if (event->type() == report::CM_PROGRESSUPDATE) {
        const int p = static_cast<int>(static_cast<report::TReportMessage*>(event)->wParam());
        if (m_onProgressUpdate)
            platform::guarded([&] { m_onProgressUpdate(this, p); });
        return true;
    }
    return QWidget::event(event);
}

void TReportPreview::resizeEvent(QResizeEvent*)
{
    ApplyZoomState();
}

void TReportPreview::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    ApplyZoomState();
}

void TReportPreview::wheelEvent(QWheelEvent* event)
{
    QScrollBar* bar = m_vert->isVisible() || !m_horz->isVisible() ? m_vert : m_horz;
    QApplication::sendEvent(bar, event);
}

} // namespace preview
