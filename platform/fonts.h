#pragma once

#include <QFont>

namespace platform {

/// Maps the Windows font names the layouts use onto fonts this system has.
void installFontSubstitutions();

/// "宋体" with a character height in pixels, as the window layouts give it.
QFont songti(int pixelHeight, bool bold = false);

/// The windows' default font: "MS Sans Serif", 11 pixels (8 pt).
QFont defaultWindowFont();

} // namespace platform
