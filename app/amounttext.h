#pragma once

#include <QString>

namespace app {

/// The amount written with the pattern "0.00": read as an exact decimal (the point is the
/// decimal separator, an exponent is allowed), the third decimal rounded half away from zero.
/// Throws platform::EConvertError "'%s' is not a valid floating point value" when the text is
/// not a number.
QString formatAmount(const QString& text);

} // namespace app
