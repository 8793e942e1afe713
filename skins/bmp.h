#pragma once

#include <QByteArrayView>
#include <QImage>

namespace skins {

/// Decodes a Windows BMP file (uncompressed 1, 4, 8, 24 or 32 bits, bottom-up or top-down,
/// rows padded to 4 bytes) into an RGB32 image. Anything malformed gives a null image.
QImage decodeBmp(QByteArrayView file);

/// A 24-bit bottom-up BMP file of image, for building skins.
QByteArray encodeBmp(const QImage& image);

} // namespace skins
