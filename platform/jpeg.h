#pragma once

#include <QByteArray>
#include <QImage>

namespace platform {

/// Decodes a baseline or progressive JPEG through libjpeg; a null image on any error.
QImage decodeJpeg(const QByteArray& data);

} // namespace platform
