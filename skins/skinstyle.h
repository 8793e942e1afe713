#pragma once

#include "skins/skindescription.h"

#include <QPalette>
#include <QProxyStyle>
#include <memory>

namespace skins {

/// Draws an element's frame into rect: margins kept, the middle and edges stretched or tiled.
/// False when the element has no bitmap to draw.
bool drawSkinElement(QPainter* painter, const QRect& rect, const SkinElement& element, int frame);

/// Paints standard controls from a skin's elements; what the skin lacks falls back to the base
/// style in the skin's colours.
class SkinStyle : public QProxyStyle
{
    Q_OBJECT
public:
    SkinStyle();

    void setSkin(std::shared_ptr<const SkinDescription> skin);
    const SkinDescription* skin() const { return m_skin.get(); }
    /// base with the roles the skin's "Colours" section gives.
    QPalette skinPalette(QPalette base) const;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;

private:
    const SkinElement& element(const char* section) const;

    std::shared_ptr<const SkinDescription> m_skin;
};

} // namespace skins
