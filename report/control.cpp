#include "report/control.h"

#include "report/report.h"

namespace report {

TReportControl::TReportControl(QObject* parent)
    : QObject(parent), m_font(TReportFont::fromPoints(QStringLiteral("Arial"), 10))
{}

TReportControl::~TReportControl() = default;

void TReportControl::setBounds(int left, int top, int width, int height)
{
    moveTo(left, top, width, height);
}

void TReportControl::moveTo(int left, int top, int width, int height)
{
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
}

void TReportControl::setFont(const TReportFont& font)
{
    m_font = font;
    m_parentFont = false;
    fontChanged();
    for (TReportControl* child : childControls()) {
        if (child->parentFont())
            child->adoptParentFont();
    }
}

void TReportControl::setParentFont(bool parentFont)
{
    m_parentFont = parentFont;
    if (parentFont)
        adoptParentFont();
}

void TReportControl::adoptParentFont()
{
    const TReportControl* parent = parentControl();
    if (!parent)
        return;
    m_font = parent->font();
    fontChanged();
    for (TReportControl* child : childControls()) {
        if (child->parentFont())
            child->adoptParentFont();
    }
}

TReportControl* TReportControl::parentControl() const
{
    return qobject_cast<TReportControl*>(parent());
}

void TReportControl::setParentControl(TReportControl* parent)
{
    TCustomReport* oldReport = parentReport();
    setParent(parent);
    reportLinksChanged(oldReport);
    if (m_parentFont)
        adoptParentFont();
}

TCustomReport* TReportControl::parentReport() const
{
    for (QObject* object = parent(); object; object = object->parent()) {
        if (auto* report = qobject_cast<TCustomReport*>(object))
            return report;
    }
    return nullptr;
}

QList<TReportControl*> TReportControl::childControls() const
{
    QList<TReportControl*> controls;
    for (QObject* child : children()) {
        if (auto* control = qobject_cast<TReportControl*>(child))
            controls.append(control);
    }
    return controls;
}

void TReportControl::finishLoading()
{
    for (TReportControl* child : childControls()) {
        if (child->isLoading())
            child->finishLoading();
    }
    m_loading = false;
}

void TReportControl::reportLinksChanged(TCustomReport* oldReport)
{
    for (TReportControl* child : childControls())
        child->reportLinksChanged(oldReport);
}

TReportBasePanel::TReportBasePanel(QObject* parent) : TReportControl(parent)
{}

void TReportBasePanel::fontChanged()
{
    m_fontSizeCache = font().size();
}

} // namespace report
