#include "wording/digitgrid.h"

#include "wording/capitals.h"

namespace wording {

namespace {

// Position from the end of the text of each cell; position 3 is the decimal point, no cell.
constexpr std::array<int, kDigitGridCells> kCellPositions = {12, 11, 10, 9, 8, 7, 6, 5, 4, 2, 1};
constexpr int kHighestPosition = 12;

// Cells Label28 … Label22, in the order the blanking examines them.
constexpr int kFirstBlankingCell = 7;
constexpr int kLastBlankingCell = 1;

// One character: a surrogate pair is kept whole so a cell never holds half of one.
qsizetype characterLengthEndingAt(QStringView text, qsizetype end)
{
    if (end >= 2 && text[end - 1].isLowSurrogate() && text[end - 2].isHighSurrogate())
        return 2;
    return 1;
}

qsizetype characterLengthStartingAt(QStringView text, qsizetype start)
{
    if (start + 1 < text.size() && text[start].isHighSurrogate() &&
        text[start + 1].isLowSurrogate())
        return 2;
    return 1;
}

} // namespace

std::array<QString, kDigitGridCells> AmountDigitGrid(QStringView mockupAmountText)
{
    const QStringView text = mockupAmountText;
    const QString first =
        text.isEmpty() ? QString() : text.first(characterLengthStartingAt(text, 0)).toString();

    // Only the last twelve characters can reach a cell; a long text is not walked further.
    std::array<QString, kHighestPosition + 1> fromEnd; // index = position, 0 unused
    qsizetype end = text.size();
    for (int position = 1; position <= kHighestPosition; ++position) {
        if (end == 0) {
            fromEnd[static_cast<std::size_t>(position)] = first;
            continue;
        }
        const qsizetype length = characterLengthEndingAt(text, end);
        fromEnd[static_cast<std::size_t>(position)] = text.sliced(end - length, length).toString();
        end -= length;
    }

    std::array<QString, kDigitGridCells> cells;
    for (std::size_t i = 0; i < cells.size(); ++i)
        cells[i] = fromEnd[static_cast<std::size_t>(kCellPositions[i])];

    const QString yuanSign = QStringLiteral("￥");
    for (int i = kFirstBlankingCell; i >= kLastBlankingCell; --i) {
        if (cells[static_cast<std::size_t>(i)] == yuanSign) {
            for (int left = 0; left < i; ++left)
                cells[static_cast<std::size_t>(left)].clear();
            break;
        }
    }
    return cells;
}

bool AmountFitsDigitGrid(QByteArrayView amountText)
{
    return FenString(amountText).size() <= kDigitGridCells;
}

QString LargestDigitGridAmount()
{
    // Nine figures of yuan, then 角 and 分.
    return QString(kDigitGridCells - 2, u'9') + QStringLiteral(".99");
}

} // namespace wording
