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
    m_page.setOwner(this);
    m_page.updateParentBounds();
}

TCustomReport::~TCustomReport()
{
    // Bands go while the report is whole; a band takes its child band with it.
    for (QList<TReportCustomBand*> bands = bandList(); !bands.isEmpty(); bands = bandList())
        delete bands.last();
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
    for (TReportCustomBand* band : bandList())
        band->setPanelZoom(zoom);
    forEachSize([zoom](TReportUnitBase& size) {
        size.setZoom(zoom);
        size.updateParentBounds();
    });
}

template <typename Action> void TCustomReport::forEachSize(Action action)
{
    action(m_page);
    for (TReportCustomBand* band : bandList()) {
        action(band->size());
        for (TReportPrintable* printable :
             band->findChildren<TReportPrintable*>(Qt::FindDirectChildrenOnly))
            action(printable->size());
    }
    for (TReportPrintable* printable : printables())
        action(printable->size());
}

QList<TReportCustomBand*> TCustomReport::bandList() const
{
    return findChildren<TReportCustomBand*>(Qt::FindDirectChildrenOnly);
}

TReportCustomBand* TCustomReport::bandOfType(TReportBandType type) const
{
    for (TReportCustomBand* band : bandList()) {
        if (band->bandType() == type)
            return band;
    }
    return nullptr;
}

QList<TReportPrintable*> TCustomReport::printables() const
{
    return findChildren<TReportPrintable*>(Qt::FindDirectChildrenOnly);
}

void TCustomReport::layoutBands()
{
    for (TReportCustomBand* band : bandList())
        layoutBand(*band);
}

void TCustomReport::layoutBand(TReportCustomBand& band)
{
    const long double leftMargin = m_page.leftMarginTenths();
    long double width = m_page.widthTenths() - leftMargin - m_page.rightMarginTenths();
    const int columns = m_page.columns();
    if (band.bandType() == rbDetail && columns > 1)
        width = (width - (columns - 1) * m_page.columnSpaceTenths()) / columns;
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

void TCustomReport::bandJoined(TReportCustomBand& band)
{
    if (!isLoading())
        layoutBand(band);
}

TCustomReport::TRunGuard::TRunGuard(TCustomReport& report, TReportRun& run)
    : m_report(report), m_visible(report.isVisible())
{
    report.m_available = false;
    report.m_run = &run;
}

TCustomReport::TRunGuard::~TRunGuard()
{
    m_report.m_run = nullptr;
    m_report.setVisible(m_visible);
    m_report.m_available = true;
}

} // namespace report
