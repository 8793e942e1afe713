#pragma once

#include "platform/fonts.h"

#include <QFont>
#include <QImage>
#include <QString>

namespace assetgen {

/// The blank cash cheque with its stub, 850 × 301, shown behind the mock-up labels.
QImage drawCheque();

/// A 260 × 72 picture button: a blue rounded bar carrying a two-character word.
QImage drawButton(const QString& word);

/// The 64 × 64 window icon.
QImage drawIcon();

inline constexpr int kPreviewButtonCount = 15;
inline constexpr int kPreviewButtonSize = 32;

/// The preview toolbar's pictures, 32 × 32 each, side by side in the order of its image list:
/// print, exit, zoom to fit, zoom to width, 100 %, print setup, save, first page, next page,
/// open, close, find, go to page, last page, previous page.
QImage drawPreviewButtons();

/// The cheque picture with a sample cheque's label texts laid over it where the window puts
/// them, to judge by eye whether every text sits in its box.
QImage composeSample(const QImage& cheque);

using platform::songti;

inline QFont windowFont()
{
    return platform::defaultWindowFont();
}

/// The window places the picture's top-left corner at this client position.
inline constexpr int kPictureLeft = 14;
inline constexpr int kPictureTop = 15;

} // namespace assetgen
