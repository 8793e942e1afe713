#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

namespace wording {

/// The capital numeral of a decimal digit (0 → 零 … 9 → 玖); empty outside 0..9.
QString CapitalDigit(int digit);

/// The unit word of a fen-string position, 1 (分) to 30 (仟); empty outside 1..30 and for 3.
QString CapitalUnit(int position);

/// Longest fen string that has unit words: amounts below 10^28 yuan.
inline constexpr int kMaxFenDigits = 30;

/// Shown by the window when an amount has more digits than there are unit words.
inline const QString kAmountTooLargeMessage = QStringLiteral("金额过大，无法转换为大写");

struct AmountCapitals
{
    QString text; // the wording; empty for zero, empty text, validation failure, too large
    int offendingByte =
        -1; // value (0..255) of the first byte that is neither digit nor '.', else -1
    bool tooLarge = false; // fen string longer than kMaxFenDigits digits
};

/// The amount in whole fen as decimal digits without leading zeros ("0" for zero), cut (not
/// rounded) from a text of digits and points by exact decimal reading. Bytes that are neither
/// digits nor points are skipped; AmountInCapitals rejects them before this is reached.
QByteArray FenString(QByteArrayView amountText);

/// The capital-numeral wording of an amount text given as GBK bytes.
AmountCapitals AmountInCapitals(QByteArrayView gbkAmountText);

/// The year text with every ASCII digit replaced by its capital numeral (2024 → 贰零贰肆). Any
/// other character is kept as it stands, so an unexpected text shows rather than vanishes.
QString YearInCapitals(QStringView yearText);

/// The month text ("1" … "12") in capitals; nullopt for any other text (the label stays).
std::optional<QString> MonthInCapitals(QStringView monthText);

/// The day text ("1" … "31") in capitals; nullopt for any other text (the label stays).
std::optional<QString> DayInCapitals(QStringView dayText);

} // namespace wording
