#include "skins/skinstyle.h"

#include <QComboBox>
#include <QPainter>
#include <QPixmap>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>
#include <qdrawutil.h>

namespace skins {
namespace {

// Normal, mouse-over, pressed, disabled.
int stateFrame(const QStyleOption* option)
{
    if (!(option->state & QStyle::State_Enabled))
        return 3;
    if (option->state & (QStyle::State_Sunken | QStyle::State_On))
        return 2;
    if (option->state & QStyle::State_MouseOver)
        return 1;
    return 0;
}

bool inStatusBar(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget())
        if (w->inherits("platform::TStatusBar") || w->inherits("QStatusBar"))
            return true;
    return false;
}

} // namespace

bool drawSkinElement(QPainter* painter, const QRect& rect, const SkinElement& element, int frame)
{
    const QImage image = element.frame(frame);
    if (image.isNull() || rect.isEmpty())
        return false;
    const QPixmap pixmap = QPixmap::fromImage(image);
    // Margins never take more than the space there is.
    const int l = std::min(element.leftWidth, image.width() / 2);
    const int r = std::min(element.rightWidth, image.width() - l);
    const int t = std::min(element.topHeight, image.height() / 2);
    const int b = std::min(element.bottomHeight, image.height() - t);
    const QMargins source(l, t, r, b);
    const QMargins target(std::min(l, rect.width() / 2), std::min(t, rect.height() / 2),
                          std::min(r, rect.width() / 2), std::min(b, rect.height() / 2));
    const Qt::TileRule rule = element.tile ? Qt::RepeatTile : Qt::StretchTile;
    qDrawBorderPixmap(painter, rect, target, pixmap, pixmap.rect(), source, QTileRules(rule, rule));
    return true;
}

SkinStyle::SkinStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
{}

void SkinStyle::setSkin(std::shared_ptr<const SkinDescription> skin)
{
    m_skin = std::move(skin);
}

const SkinElement& SkinStyle::element(const char* section) const
{
    static const SkinElement absent;
    return m_skin ? m_skin->element(QString::fromLatin1(section)) : absent;
}

QPalette SkinStyle::skinPalette(QPalette p) const
{
    if (!m_skin)
        return p;
    const auto set = [&](const char* key, std::initializer_list<QPalette::ColorRole> roles) {
        const auto it = m_skin->colours.constFind(QString::fromLatin1(key));
        if (it == m_skin->colours.cend())
            return;
        for (QPalette::ColorRole role : roles)
            p.setColor(role, *it);
    };
    set("ButtonFace", {QPalette::Window, QPalette::Button});
    set("WindowText", {QPalette::WindowText, QPalette::Text});
    set("ButtonText", {QPalette::ButtonText});
    set("Hilight", {QPalette::Highlight});
    set("HilightText", {QPalette::HighlightedText});
    set("ButtonHilight", {QPalette::Light});
    set("Buttonlight", {QPalette::Midlight});
    set("ButtonShadow", {QPalette::Mid, QPalette::Dark});
    set("ButtonDkShadow", {QPalette::Shadow});
    if (const auto& edge = element("SunkEdge"); edge.normalColour)
        p.setColor(QPalette::Base, *edge.normalColour);
    return p;
}

void SkinStyle::drawPrimitive(PrimitiveElement pe, const QStyleOption* option, QPainter* painter,
                              const QWidget* widget) const
{
    if (m_skin) {
        switch (pe) {
        case PE_PanelButtonCommand:
        case PE_PanelButtonBevel:
            if (drawSkinElement(painter, option->rect, m_skin->button, stateFrame(option)))
                return;
            break;
        case PE_PanelButtonTool:
            if (drawSkinElement(painter, option->rect, element("UpDown.Vert"),
                                stateFrame(option)) ||
                drawSkinElement(painter, option->rect, m_skin->button, stateFrame(option)))
                return;
            break;
        case PE_PanelLineEdit: {
            const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
            painter->fillRect(option->rect, option->palette.brush(QPalette::Base));
            if (frame && frame->lineWidth > 0) {
                if (!drawSkinElement(painter, option->rect, element("SunkEdge"), 0))
                    QProxyStyle::drawPrimitive(PE_FrameLineEdit, option, painter, widget);
            } else if (!qobject_cast<const QComboBox*>(widget ? widget->parentWidget() : nullptr)) {
                // A flat edit keeps a single line in the skin's shadow colour.
                painter->setPen(option->palette.color(QPalette::Mid));
                painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
            }
            return;
        }
        case PE_FrameGroupBox:
            if (drawSkinElement(painter, option->rect, element("GroupBox"), 0))
                return;
            break;
        case PE_IndicatorCheckBox:
        case PE_IndicatorRadioButton: {
            const SkinElement& e =
                pe == PE_IndicatorCheckBox ? m_skin->checkButton : m_skin->radioButton;
            int frame = (option->state & State_On) ? 1 : 0;
            if (!(option->state & State_Enabled))
                frame += 2;
            if (drawSkinElement(painter, option->rect, e, frame))
                return;
            break;
        }
        case PE_PanelToolBar:
            if (drawSkinElement(painter, option->rect, element("Toolbars"), 0))
                return;
            break;
        case PE_FrameTabWidget:
            if (drawSkinElement(painter, option->rect, element("Tabs"), 0))
                return;
            break;
        case PE_PanelMenu:
        case PE_FrameMenu:
            if (drawSkinElement(painter, option->rect, element("MenuBackground"), 0))
                return;
            break;
        case PE_PanelStatusBar:
            if (drawSkinElement(painter, option->rect, element("StatusBarEdges"), 0))
                return;
            break;
        default:
            break;
        }
    }
    QProxyStyle::drawPrimitive(pe, option, painter, widget);
}

void SkinStyle::drawControl(ControlElement ce, const QStyleOption* option, QPainter* painter,
                            const QWidget* widget) const
{
    if (m_skin) {
        switch (ce) {
        case CE_ShapedFrame: {
            const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
            if (frame && frame->frameShape != QFrame::NoFrame &&
                frame->frameShape != QFrame::HLine && frame->frameShape != QFrame::VLine) {
                const char* section = inStatusBar(widget)              ? "StatusBarEdges"
                                      : (option->state & State_Sunken) ? "SunkEdge"
                                                                       : "GroupBoxEdge";
                if (drawSkinElement(painter, option->rect, element(section), 0))
                    return;
            }
            break;
        }
        case CE_ProgressBarGroove:
            if (drawSkinElement(painter, option->rect, element("Progress"), 0))
                return;
            break;
        case CE_ProgressBarContents:
            if (const auto* bar = qstyleoption_cast<const QStyleOptionProgressBar*>(option)) {
                const qint64 span = qint64(bar->maximum) - bar->minimum;
                if (span > 0 && !element("Progress").image.isNull()) {
                    QRect done = option->rect;
                    done.setWidth(
                        int(done.width() * (qint64(bar->progress) - bar->minimum) / span));
                    drawSkinElement(painter, done, element("Progress"), 1);
                    return;
                }
            }
            break;
        case CE_MenuItem:
            if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
                item && (item->state & State_Selected) &&
                item->menuItemType != QStyleOptionMenuItem::Separator)
                drawSkinElement(painter, option->rect, element("MenuItem"), 0);
            break;
        case CE_TabBarTabShape:
            if (drawSkinElement(painter, option->rect, element("Tabs"),
                                (option->state & State_Selected) ? 1 : 0))
                return;
            break;
        case CE_HeaderSection:
            if (drawSkinElement(painter, option->rect, element("Headerbar"), stateFrame(option)))
                return;
            break;
        default:
            break;
        }
    }
    QProxyStyle::drawControl(ce, option, painter, widget);
}

void SkinStyle::drawComplexControl(ComplexControl cc, const QStyleOptionComplex* option,
                                   QPainter* painter, const QWidget* widget) const
{
    if (m_skin && cc == CC_ComboBox) {
        if (const auto* box = qstyleoption_cast<const QStyleOptionComboBox*>(option)) {
            painter->fillRect(option->rect, option->palette.brush(QPalette::Base));
            if (box->frame)
                drawSkinElement(painter, option->rect, element("SunkEdge"), 0);
            const QRect arrow = subControlRect(cc, option, SC_ComboBoxArrow, widget);
            QStyleOption arrowOption = *option;
            arrowOption.rect = arrow;
            if (!(box->activeSubControls & SC_ComboBoxArrow) || !(option->state & State_Sunken))
                arrowOption.state &= ~State_Sunken;
            if (drawSkinElement(painter, arrow, element("ComboButton"), stateFrame(&arrowOption))) {
                arrowOption.rect = arrow.adjusted(3, 3, -3, -3);
                proxy()->drawPrimitive(PE_IndicatorArrowDown, &arrowOption, painter, widget);
                return;
            }
        }
    }
    if (m_skin && cc == CC_ScrollBar) {
        if (const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option)) {
            const bool horizontal = bar->orientation == Qt::Horizontal;
            const SkinElement& groove = element(horizontal ? "HorzScroll" : "VertScroll");
            const SkinElement& thumb = element(horizontal ? "HorzScrollThumb" : "VertScrollThumb");
            if (drawSkinElement(painter, option->rect, groove, 0)) {
                const QRect slider = subControlRect(cc, option, SC_ScrollBarSlider, widget);
                if (!drawSkinElement(painter, slider, thumb, stateFrame(option)))
                    painter->fillRect(slider, option->palette.button());
                for (const auto& [sub, arrow] :
                     {std::pair{SC_ScrollBarSubLine,
                                horizontal ? PE_IndicatorArrowLeft : PE_IndicatorArrowUp},
                      std::pair{SC_ScrollBarAddLine,
                                horizontal ? PE_IndicatorArrowRight : PE_IndicatorArrowDown}}) {
                    QStyleOption button = *option;
                    button.rect = subControlRect(cc, option, sub, widget);
                    if (!(bar->activeSubControls & sub))
                        button.state &= ~State_Sunken;
                    if (!drawSkinElement(painter, button.rect, m_skin->button, stateFrame(&button)))
                        painter->fillRect(button.rect, option->palette.button());
                    proxy()->drawPrimitive(arrow, &button, painter, widget);
                }
                return;
            }
        }
    }
    if (m_skin && cc == CC_Slider) {
        if (const auto* slider = qstyleoption_cast<const QStyleOptionSlider*>(option)) {
            const QRect handle = subControlRect(cc, option, SC_SliderHandle, widget);
            QStyleOptionSlider rest = *slider;
            rest.subControls &= ~SC_SliderHandle;
            QProxyStyle::drawComplexControl(cc, &rest, painter, widget);
            const char* section =
                slider->orientation == Qt::Horizontal ? "Trackbar.ThumbHorz" : "Trackbar.ThumbVert";
            if (!drawSkinElement(painter, handle, element(section), stateFrame(option)))
                QProxyStyle::drawComplexControl(cc, option, painter, widget);
            return;
        }
    }
    QProxyStyle::drawComplexControl(cc, option, painter, widget);
}

int SkinStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                           const QWidget* widget) const
{
    if (m_skin && metric == PM_ButtonShiftHorizontal)
        return 1;
    if (m_skin && metric == PM_ButtonShiftVertical)
        return 1;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

} // namespace skins
