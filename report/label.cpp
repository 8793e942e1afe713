#include "report/label.h"

namespace report {

TReportCustomLabel::TReportCustomLabel(TReportControl* parent) : TReportPrintable(parent)
{}

void TReportCustomLabel::setCaption(const QString& caption)
{
    m_caption = caption;
    m_printCaption = caption;
    m_linesBuilt = false;
}

void TReportCustomLabel::setFontSize(int points)
{
    if (isLoading()) {
        m_storedFontSize = points;
        return;
    }
    if (points > 0) {
        TReportFont changed = font();
        changed.setSize(points);
        setFont(changed);
    }
}

void TReportCustomLabel::finishLoading()
{
    TReportPrintable::finishLoading();
    const int stored = m_storedFontSize;
    m_storedFontSize = 0;
    setFontSize(stored);
}

} // namespace report
