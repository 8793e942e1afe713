#include "report/report.h"

namespace report {

bool TReportBands::has(TReportBandType type) const
{
    return m_report.bandOfType(type) != nullptr;
}

void TReportBands::setHas(TReportBandType type, bool on)
{
    if (on) {
        if (!has(type))
            new TReportBand(&m_report, type);
        return;
    }
    while (TReportCustomBand* band = m_report.bandOfType(type))
        delete band;
}

TCustomReport::TCustomReport(QObject* parent) : TReportBasePanel(parent), m_bands(*this)
{
    setFont(TReportFont::fromPoints(QStringLiteral("Arial"), 10));
    m_page.setParentReport(this);
    m_page.updateParentBounds();
}

TCustomReport::~TCustomReport()
{
    // Bands leave the band list as they go; they must go while the list still exists.
    while (!m_bandList.isEmpty())
        delete m_bandList.takeLast();
}

void TCustomReport::setUnits(TReportUnit units)
{
    forEachSize([units](TReportUnitBase& size) { size.setUnits(units); });
}

void TCustomReport::setZoom(int zoom)
{
    if (zoom < 1 || zoom > 300)
        return;
    setPanelZoom(zoom);
    for (TReportCustomBand* band : m_bandList)
        band->setPanelZoom(zoom);
    forEachSize([zoom](TReportUnitBase& size) {
        size.setZoom(zoom);
        size.updateParentBounds();
    });
}

template <typename Action> void TCustomReport::forEachSize(Action action)
{
    action(m_page);
    for (TReportCustomBand* band : m_bandList) {
        action(band->size());
        for (TReportControl* child : band->childControls()) {
            if (auto* printable = qobject_cast<TReportPrintable*>(child))
                action(printable->size());
        }
    }
    for (TReportPrintable* printable : printables())
        action(printable->size());
}

TReportCustomBand* TCustomReport::bandOfType(TReportBandType type) const
{
    for (TReportCustomBand* band : m_bandList) {
        if (band->bandType() == type)
            return band;
    }
    return nullptr;
}

QList<TReportPrintable*> TCustomReport::printables() const
{
    QList<TReportPrintable*> result;
    for (TReportControl* child : childControls()) {
        if (auto* printable = qobject_cast<TReportPrintable*>(child))
            result.append(printable);
    }
    return result;
}

void TCustomReport::layoutBands()
{
    for (TReportCustomBand* band : m_bandList)
        layoutBand(*band);
}

void TCustomReport::layoutBand(TReportCustomBand& band)
{
    const long double leftMargin = m_page.tenths(TReportPage::LeftMarginIndex);
    long double width = m_page.tenths(TReportPage::WidthIndex) - leftMargin -
                        m_page.tenths(TReportPage::RightMarginIndex);
    const int columns = m_page.columns();
    if (band.bandType() == rbDetail && columns > 1)
        width = (width - (columns - 1) * m_page.tenths(TReportPage::ColumnSpaceIndex)) / columns;
    const auto pixels = [this](long double tenths) {
        return roundHalfEven(m_page.ToUnits(TReportUnit::Pixels, tenths, TReportAxis::Horizontal));
    };
    band.setBounds(pixels(leftMargin), band.top(), pixels(width), band.height());
}

void TCustomReport::finishLoading()
{
    TReportBasePanel::finishLoading();
    m_page.updateParentBounds();
    layoutBands();
}

void TCustomReport::insertBand(TReportCustomBand* band)
{
    if (m_bandList.contains(band))
        return;
    m_bandList.append(band);
    if (!isLoading())
        layoutBand(*band);
}

void TCustomReport::removeBand(TReportCustomBand* band)
{
    m_bandList.removeOne(band);
}

} // namespace report
