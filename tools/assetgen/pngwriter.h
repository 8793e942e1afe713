#pragma once

#include <QByteArray>
#include <QImage>

namespace assetgen {

/// A PNG whose rows carry no filter: the program decodes the cheque picture before its window
/// first shows, and undoing a filter per row costs more there than the larger file does.
/// RGB for an opaque picture, RGBA otherwise; empty on failure.
QByteArray encodePngUnfiltered(const QImage& image);

} // namespace assetgen
