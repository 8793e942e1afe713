#pragma once

namespace platform {

/// Maps the Windows font names the layouts use onto fonts this system has.
void installFontSubstitutions();

} // namespace platform
