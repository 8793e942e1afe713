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
