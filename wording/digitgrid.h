#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <array>

namespace wording {

/// Number of cells of the amount digit grid, Label21 (亿) to Label31 (分).
inline constexpr int kDigitGridCells = 11;

/// The eleven grid cells, left to right (Label21 … Label31), from the mock-up amount text
/// ("￥" followed by the amount as typed). Each cell holds one character taken by its position
/// from the end of the text; cells left of the "￥" that precedes the highest digit are empty.
std::array<QString, kDigitGridCells> AmountDigitGrid(QStringView mockupAmountText);

/// Whether every figure of an amount (digits and points, as typed or in the "0.00" form) has a
/// box of its own: at most eleven figures of whole fen, without leading zeros.
bool AmountFitsDigitGrid(QByteArrayView amountText);

/// The largest amount the boxes hold, in the "0.00" form.
QString LargestDigitGridAmount();

} // namespace wording
