#include "report/band.h"

#include "report/report.h"

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
    m_band.setBounds(
        m_band.left(), m_band.top(),
        roundHalfEven(ToUnits(TReportUnit::Pixels, tenths(WidthIndex), TReportAxis::Horizontal)),
        roundHalfEven(ToUnits(TReportUnit::Pixels, tenths(HeightIndex), TReportAxis::Vertical)));
}

bool TReportBandSize::ownerLoading() const
{
    return m_band.isLoading();
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
    if (m_report)
        m_report->removeBand(this);
}

void TReportCustomBand::setHasChild(bool on)
{
    if (on == hasChild())
        return;
    if (!on) {
        delete m_childBand.data();
        return;
    }
    if (TCustomReport* report = parentReport())
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

void TReportCustomBand::reportLinksChanged(TCustomReport* oldReport)
{
    TReportBasePanel::reportLinksChanged(oldReport);
    TCustomReport* report = parentReport();
    m_size.setParentReport(report);
    if (report == m_report.data())
        return;
    if (report) {
        // Pixels follow the zoom of the report the band is shown in.
        setPanelZoom(report->zoom());
        m_size.setZoom(report->zoom());
        if (!isLoading())
            m_size.updateParentBounds();
    }
    if (m_report)
        m_report->removeBand(this);
    m_report = report;
    if (report)
        report->insertBand(this);
}

} // namespace report
