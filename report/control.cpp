#include "report/control.h"

#include "report/referencecontext.h"

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
    TReportBasePanel* oldReport = reportPanel();
    setParent(parent);
    reportLinksChanged(oldReport);
    if (m_parentFont)
        adoptParentFont();
}

TReportBasePanel* TReportControl::reportPanel() const
{
    for (QObject* object = parent(); object; object = object->parent()) {
        if (auto* control = qobject_cast<TReportControl*>(object); control && control->isReport())
            return static_cast<TReportBasePanel*>(control);
    }
    return nullptr;
}

QList<TReportControl*> TReportControl::childControls() const
{
    return findChildren<TReportControl*>(Qt::FindDirectChildrenOnly);
}

TReportReferenceContext& TReportControl::referenceContext() const
{
    const TReportControl* keeper = reportPanel();
    if (!keeper)
        keeper = this;
    if (!keeper->m_referenceContext)
        keeper->m_referenceContext = std::make_unique<TReportReferenceContext>();
    return *keeper->m_referenceContext;
}

void TReportControl::finishLoading()
{
    for (TReportControl* child : childControls()) {
        if (child->isLoading())
            child->finishLoading();
    }
    m_loading = false;
}

void TReportControl::reportLinksChanged(TReportBasePanel* oldReport)
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
