#pragma once

#include <QString>
#include <array>

namespace printlayout {

/// One row of the cheque's print table: which mock-up label a print label copies, where it
/// stands with all offsets 0 (report pixels, relative to the band) and which offset edits move
/// it. Controls are named as the entry window names them.
struct TPrintRow
{
    const char16_t* printLabel;
    const char16_t* captionFrom;
    int baseLeft;
    int baseTop;
    const char16_t* rightEdit;
    const char16_t* downEdit;
};

/// The 25 rows in the order the labels are positioned.
const std::array<TPrintRow, 25>& printTable();

/// The print labels in the order their captions are copied.
const std::array<const char16_t*, 25>& captionOrder();

/// One offset unit moves a printed field by this many report pixels.
inline constexpr int kPixelsPerOffset = 4;

/// A field offset: the edit's text read as a whole decimal number with an optional sign.
/// Anything else (empty, a decimal, letters, spaces, a number whose position would not fit)
/// throws platform::EConvertError "'%s' is not a valid integer value" naming the text.
int readOffset(const QString& text);

} // namespace printlayout
