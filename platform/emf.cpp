#include "platform/emf.h"

#include "platform/fonts.h"

#include <algorithm>

namespace platform {

QFont toQFont(const CanvasFont& font)
{
    QFont f = fontNamed(font.face);
    f.setPixelSize(std::max(1, font.pixelHeight));
    f.setWeight(QFont::Weight(std::clamp(font.weight <= 0 ? 400 : font.weight, 1, 1000)));
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikeOut);
    return f;
}

} // namespace platform
