#pragma once

#include "report/report.h"
#include "report/reportprinter.h"
#include "report/reporttypes.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class QScrollBar;

namespace platform {
class EmfPicture;
}

namespace preview {

using TReportPageAvailableEvent = std::function<void(QObject* sender, int pageNum)>;
using TReportProgressUpdateEvent = std::function<void(QObject* sender, int progress)>;

/// The sheet of a page view: the page picture on a white sheet with a black frame and a
/// two-pixel shadow. It paints nothing while its page has not arrived. Mouse actions on it
/// reach the view, its parent.
class TReportPreviewImage : public QWidget
{
    Q_OBJECT
public:
    explicit TReportPreviewImage(QWidget* parent = nullptr);
    ~TReportPreviewImage() override;

    void setPrinter(report::TReportPrinter* printer) { m_printer = printer; }
    /// Replaces the held picture by the printer's page n (none while it is not stored).
    void LoadPage(int n);
    int pageNumber() const { return m_pageNumber; }
    const platform::EmfPicture* picture() const { return m_picture.get(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPointer<report::TReportPrinter> m_printer;
    std::unique_ptr<platform::EmfPicture> m_picture;
    int m_pageNumber = 1;
};

/// Shows one page of a report printer's run at a zoom, following the run while it goes: a
/// page is shown as soon as the printer has stored it. A scrolling container whose scroll
/// range on each axis is the sheet's far edge; its scroll bars track.
class TReportPreview : public QWidget
{
    Q_OBJECT
public:
    static constexpr int MinZoom = 2;
    static constexpr int MaxZoom = 2000;

    explicit TReportPreview(QWidget* parent = nullptr);
    /// Detaches the printer first.
    ~TReportPreview() override;

    /// Connects the view to a printer (or none) and shows page 1. The view becomes the
    /// printer's notification target and sets its previewing flag; a printer it leaves gets
    /// both cleared. The view never releases a printer.
    void AttachPrinter(report::TReportPrinter* printer);
    report::TReportPrinter* printer() const { return m_printer; }
    /// Lets go of the printer without touching it, once its owner has been told to release it.
    void forgetPrinter();

    int PageNumber() const { return m_pageNumber; }
    /// Another page; page numbers outside 1 to the printer's page count are ignored, and so
    /// is the page already shown once its picture is there.
    void setPageNumber(int page);
    int Zoom() const { return m_zoom; }
    /// A fixed zoom in percent; values outside 2 to 2000 are ignored.
    void setZoom(int zoom);
    report::TReportZoomState zoomState() const { return m_zoomState; }

    void ZoomToFit();
    void ZoomToWidth();
    /// Sizes and centres the sheet for the zoom and scrolls to the top left.
    void LayoutImage();
    /// Fit or width zoom again for the view's size, then LayoutImage.
    void ApplyZoomState();

    const TReportPageAvailableEvent& onPageAvailable() const { return m_onPageAvailable; }
    void setOnPageAvailable(TReportPageAvailableEvent event)
    {
        m_onPageAvailable = std::move(event);
    }
    const TReportProgressUpdateEvent& onProgressUpdate() const { return m_onProgressUpdate; }
    void setOnProgressUpdate(TReportProgressUpdateEvent event)
    {
        m_onProgressUpdate = std::move(event);
    }

    TReportPreviewImage* sheet() const { return m_sheet; }
    QScrollBar* horzScrollBar() const { return m_horz; }
    QScrollBar* vertScrollBar() const { return m_vert; }
    /// The scroll range: the sheet's right and bottom edges at scroll position 0.
    int horzRange() const;
    int vertRange() const;
    /// The part of the view the content shows in, without the scroll bars.
    QSize clientSize() const;

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void layoutScrollBars();
    void placeSheet();
    void detachPrinter();

    QPointer<report::TReportPrinter> m_printer;
    QWidget* m_client;
    TReportPreviewImage* m_sheet;
    QScrollBar* m_horz;
    QScrollBar* m_vert;
    QWidget* m_corner;
    int m_pageNumber = 1;
    int m_zoom = 100;
    report::TReportZoomState m_zoomState = report::zsZoomOther;
    QPoint m_sheetPos; // at scroll position 0
    TReportPageAvailableEvent m_onPageAvailable;
    TReportProgressUpdateEvent m_onProgressUpdate;
};

} // namespace preview
