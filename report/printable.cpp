#include "report/printable.h"

#include "platform/emf.h"
#include "report/reporttarget.h"

namespace report {

TReportPrintableSize::TReportPrintableSize(TReportPrintable& printable)
    : TReportUnitBase(4), m_printable(printable)
{}

TReportAxis TReportPrintableSize::axisOf(std::size_t index) const
{
    return index == LeftIndex || index == WidthIndex ? TReportAxis::Horizontal
                                                     : TReportAxis::Vertical;
}

void TReportPrintableSize::pushBounds()
{
    m_printable.setBounds(pixels(LeftIndex), pixels(TopIndex), pixels(WidthIndex),
                          pixels(HeightIndex));
}

bool TReportPrintableSize::ownerLoading() const
{
    return m_printable.isLoading();
}

int TReportPrintableSize::characterFontPoints() const
{
    const TReportBasePanel* report = m_printable.reportPanel();
    return report ? report->font().size() : 0;
}

TReportPrintable::TReportPrintable(TReportControl* parent) : TReportControl(nullptr), m_size(*this)
{
    setBounds(0, 0, 10, 10);
    setParentControl(parent);
}

void TReportPrintable::setAlignment(TReportAlignment alignment)
{
    m_alignment = alignment;
    if (m_alignToBand)
        realignToBand();
}

void TReportPrintable::setAlignToBand(bool on)
{
    m_alignToBand = on;
    if (on)
        realignToBand();
}

void TReportPrintable::setBounds(int left, int top, int width, int height)
{
    if (isLoading()) {
        if (left != 0)
            m_pending.left = left;
        if (top != 0)
            m_pending.top = top;
        if (width != 0)
            m_pending.width = width;
        if (height != 0)
            m_pending.height = height;
        moveTo(left, top, width, height);
        return;
    }
    applyBounds(left, top, width, height);
    if (m_alignToBand && !m_size.parentUpdating())
        realignToBand();
}

void TReportPrintable::applyBounds(int left, int top, int width, int height)
{
    if (!m_size.parentUpdating()) {
        m_size.storePixels(TReportPrintableSize::HeightIndex, height);
        m_size.storePixels(TReportPrintableSize::WidthIndex, width);
        m_size.storePixels(TReportPrintableSize::TopIndex, top);
        m_size.storePixels(TReportPrintableSize::LeftIndex, left);
    }
    moveTo(left, top, width, height);
}

bool TReportPrintable::takesPart() const
{
    return m_enabled || !isVisible();
}

void TReportPrintable::realignToBand()
{
    const TReportControl* band = parentControl();
    if (!band || isLoading())
        return;
    int left = this->left();
    switch (m_alignment) {
    case taLeftJustify:
        left = 0;
        break;
    case taRightJustify:
        left = band->width() - width();
        break;
    case taCenter:
        left = (band->width() - width()) / 2;
        break;
    }
    applyBounds(left, top(), width(), height());
}

void TReportPrintable::BeginOutput(TReportOutput& output)
{
    m_output = &output;
    m_printing = true;
}

void TReportPrintable::PrintAt(int ox, int oy)
{
    if (!m_output || !m_output->canvas() || !m_frame.hasAnySide())
        return;
    const TReportDevice& device = m_output->device();
    const long double left = ox + m_size.leftTenths();
    const long double top = oy + m_size.topTenths();
    paintFrame(*m_output->canvas(), m_frame, device.DeviceX(left), device.DeviceY(top),
               device.DeviceX(left + m_size.widthTenths()),
               device.DeviceY(top + m_size.heightTenths()), device);
}

void TReportPrintable::EndOutput()
{
    m_printing = false;
    // The output lives for one run only.
    m_output = nullptr;
}

void TReportPrintable::finishLoading()
{
    TReportControl::finishLoading();
    m_size.updateParentBounds();
    const TReportPendingBounds pending = m_pending;
    m_pending = {};
    setBounds(left() == 0 ? pending.left : left(), top() == 0 ? pending.top : top(),
              width() == 0 ? pending.width : width(), height() == 0 ? pending.height : height());
}

void TReportPrintable::reportLinksChanged(TReportBasePanel* oldReport)
{
    TReportControl::reportLinksChanged(oldReport);
    TReportBasePanel* report = reportPanel();
    if (report && report != oldReport) {
        m_size.setZoom(report->panelZoom());
        if (!isLoading())
            m_size.updateParentBounds();
    }
}

void paintFrame(platform::DeviceCanvas& canvas, const TReportFrame& frame, int left, int top,
                int right, int bottom, const TReportDevice& device)
{
    // Points to 0.1 mm to device pixels.
    const auto thickness = [&frame](long double factor) {
        int t = roundHalfEven(factor / 72.0L * 254.0L * frame.width);
        if ((t <= 0 && frame.width > 0) || frame.width == -1)
            t = 1;
        return t;
    };
    const int v = thickness(device.horzFactor);
    const int t = thickness(device.vertFactor);
    if (frame.drawTop)
        canvas.fillRect(left, top, right, top + t, frame.color);
    if (frame.drawBottom)
        canvas.fillRect(left, bottom - t, right, bottom, frame.color);
    if (frame.drawLeft)
        canvas.fillRect(left, top, left + v, bottom, frame.color);
    if (frame.drawRight)
        canvas.fillRect(right - v, top, right, bottom, frame.color);
}

} // namespace report
