#pragma once

#include "platform/emf.h"

#include <QHash>
#include <QImage>
#include <QPainter>
#include <memory>

namespace platform {
class PainterCanvas;
}

namespace report {

/// The memory context a report measures text on while no printer page is open: a canvas of
/// 96 pixels per inch, so a measure never depends on the monitor. Widths are remembered per
/// font and text, since a label measures the same caption when it is set, when a run begins
/// and when it prints.
class TReportReferenceContext
{
public:
    TReportReferenceContext();
    ~TReportReferenceContext();
    TReportReferenceContext(const TReportReferenceContext&) = delete;
    TReportReferenceContext& operator=(const TReportReferenceContext&) = delete;

    /// Advance of `text` in device pixels; -1 when nothing can be measured (no font system).
    int textWidth(const platform::CanvasFont& font, const QString& text);
    /// Height of one character cell; -1 when nothing can be measured.
    int cellHeight(const platform::CanvasFont& font);

private:
    struct Key
    {
        platform::CanvasFont font;
        QString text;
        friend bool operator==(const Key&, const Key&) = default;
    };
    friend size_t qHash(const Key& key, size_t seed);

    platform::DeviceCanvas* canvas(const platform::CanvasFont& font);

    QImage m_image;
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<platform::PainterCanvas> m_canvas;
    platform::CanvasFont m_selected;
    bool m_selectedValid = false;
    QHash<Key, int> m_widths;
    QHash<Key, int> m_cells;
};

} // namespace report
