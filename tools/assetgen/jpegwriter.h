#pragma once

#include <QByteArray>
#include <QImage>

namespace assetgen {

/// Baseline JPEG through libjpeg, the same library the program decodes with; empty on failure.
QByteArray encodeJpeg(const QImage& image, int quality);

} // namespace assetgen
