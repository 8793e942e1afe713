#include "report/band.h"

namespace report {

namespace {

constexpr int newBandHeight = 40;

} // namespace

TReportBandSize::TReportBandSize(TReportCustomBand& band) : TReportUnitBase(2), m_band(band)
{}

TReportAxis TReportBandSize::axisOf(std::size_t index) const
{
    return index == HeightIndex ? TReportAxis::Vertical : TReportAxis::Horizontal;
}

void TReportBandSize::pushBounds()
{
    m_band.setBounds(m_band.left(), m_band.top(), pixels(WidthIndex), pixels(HeightIndex));
}

bool TReportBandSize::ownerLoading() const
{
    return m_band.isLoading();
}

int TReportBandSize::characterFontPoints() const
{
    const TReportBasePanel* report = m_band.reportPanel();
    return report ? report->font().size() : 0;
}

TReportCustomBand::TReportCustomBand(TReportControl* parent, TReportBandType type)
    : TReportBasePanel(nullptr), m_size(*this), m_bandType(type)
{
    setBounds(0, 0, 0, newBandHeight);
    setParentControl(parent);
}

TReportCustomBand::~TReportCustomBand()
{
    delete m_childBand.data();
}

void TReportCustomBand::setHasChild(bool on)
{
    if (on == hasChild())
        return;
    if (!on) {
        delete m_childBand.data();
        return;
    }
    if (TReportBasePanel* report = reportPanel())
        m_childBand = new TReportBand(report, rbChild);
}

void TReportCustomBand::setBounds(int left, int top, int width, int height)
{
    if (isLoading()) {
        m_pendingHeight = height;
    } else if (!m_size.parentUpdating()) {
        m_size.storePixels(TReportBandSize::HeightIndex, height);
        m_size.storePixels(TReportBandSize::WidthIndex, width);
    }
    moveTo(left, top, width, height);
}

void TReportCustomBand::finishLoading()
{
    TReportBasePanel::finishLoading();
    m_size.updateParentBounds();
    if (height() == newBandHeight && m_pendingHeight > 0 && m_pendingHeight != newBandHeight)
        setHeight(m_pendingHeight);
}

void TReportCustomBand::reportLinksChanged(TReportBasePanel* oldReport)
{
    TReportBasePanel::reportLinksChanged(oldReport);
    TReportBasePanel* report = reportPanel();
    if (!report || report == oldReport)
        return;
    // Pixels follow the zoom of the report the band is shown in.
    setPanelZoom(report->panelZoom());
    m_size.setZoom(report->panelZoom());
    if (!isLoading())
        m_size.updateParentBounds();
    report->bandJoined(*this);
}

} // namespace report
