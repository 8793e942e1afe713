#include "report/referencecontext.h"

#include "platform/emfpainter.h"
#include "report/units.h"

#include <QGuiApplication>

namespace report {

namespace {

// Long texts are measured each time: remembering them would cost more than measuring.
constexpr qsizetype longestRemembered = 256;
constexpr qsizetype mostRemembered = 4096;

} // namespace

size_t qHash(const TReportReferenceContext::Key& key, size_t seed)
{
    const platform::CanvasFont& f = key.font;
    return qHashMulti(seed, f.face, f.pixelHeight, f.weight, f.italic, f.underline, f.strikeOut,
                      key.text);
}

TReportReferenceContext::TReportReferenceContext() = default;

TReportReferenceContext::~TReportReferenceContext()
{
    m_canvas.reset();
    if (m_painter)
        m_painter->end();
}

platform::DeviceCanvas* TReportReferenceContext::canvas(const platform::CanvasFont& font)
{
    if (!m_canvas) {
        // Fonts need the GUI application; without one nothing can be measured.
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            return nullptr;
        m_image = QImage(1, 1, QImage::Format_RGB32);
        const int dotsPerMeter = qRound(reportPixelsPerInch / 0.0254);
        m_image.setDotsPerMeterX(dotsPerMeter);
        m_image.setDotsPerMeterY(dotsPerMeter);
        m_painter = std::make_unique<QPainter>(&m_image);
        m_canvas = std::make_unique<platform::PainterCanvas>(*m_painter);
    }
    if (!m_selectedValid || !(m_selected == font)) {
        m_canvas->setFont(font);
        m_selected = font;
        m_selectedValid = true;
    }
    return m_canvas.get();
}

int TReportReferenceContext::textWidth(const platform::CanvasFont& font, const QString& text)
{
    const bool remember = text.size() <= longestRemembered;
    if (remember) {
        const auto found = m_widths.constFind(Key{font, text});
        if (found != m_widths.cend())
            return *found;
    }
    platform::DeviceCanvas* surface = canvas(font);
    if (!surface)
        return -1;
    const int width = surface->textExtent(text).width();
    if (remember) {
        if (m_widths.size() >= mostRemembered)
            m_widths.clear();
        m_widths.insert(Key{font, text}, width);
    }
    return width;
}

int TReportReferenceContext::cellHeight(const platform::CanvasFont& font)
{
    const auto found = m_cells.constFind(Key{font, QString()});
    if (found != m_cells.cend())
        return *found;
    platform::DeviceCanvas* surface = canvas(font);
    if (!surface)
        return -1;
    const int height = surface->textExtent(QStringLiteral("W")).height();
    if (m_cells.size() >= mostRemembered)
        m_cells.clear();
    m_cells.insert(Key{font, QString()}, height);
    return height;
}

} // namespace report
