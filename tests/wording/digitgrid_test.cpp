#include "tests/wording/printing.h"
#include "wording/digitgrid.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

// Cells left to right, separated by blanks; an empty cell is shown as "-".
QString shown(const std::array<QString, wording::kDigitGridCells>& cells)
{
    QStringList parts;
    for (const QString& cell : cells)
        parts << (cell.isEmpty() ? QStringLiteral("-") : cell);
    return parts.join(u' ');
}

} // namespace

TEST(AmountDigitGrid, FillsByPositionFromTheEndAndBlanksLeftOfTheSign)
{
    const std::pair<QString, const char16_t*> cases[] = {
        {QStringLiteral("123.45"), u"- - - - - ￥ 1 2 3 4 5"},
        {QStringLiteral("100000.00"), u"- - ￥ 1 0 0 0 0 0 0 0"},
        {QStringLiteral("12345678.90"), u"￥ 1 2 3 4 5 6 7 8 9 0"},
        {QStringLiteral("123456789.00"), u"1 2 3 4 5 6 7 8 9 0 0"},
        {QStringLiteral("0.05"), u"- - - - - - - ￥ 0 0 5"},
        {QStringLiteral("0.00"), u"- - - - - - - ￥ 0 0 0"},
        {QString(), u"- - - - - - - ￥ ￥ ￥ ￥"},
        {QStringLiteral("5"), u"- - - - - - - ￥ ￥ ￥ 5"},
        {QStringLiteral("12.5"), u"- - - - - - - ￥ 1 . 5"},
        // Only the lowest eleven positions show; the leading 1 is lost.
        {QStringLiteral("1234567890.00"), u"2 3 4 5 6 7 8 9 0 0 0"},
        {QStringLiteral("1.2.3"), u"- - - - - - ￥ 1 . . 3"},
        {QString(100000, u'8') + QStringLiteral(".12"), u"8 8 8 8 8 8 8 8 8 1 2"},
    };
    for (const auto& [amountField, cells] : cases) {
        EXPECT_EQ(shown(wording::AmountDigitGrid(QStringLiteral("￥") + amountField)),
                  QString::fromUtf16(cells))
            << amountField.left(20).toStdString();
    }
}

TEST(AmountDigitGrid, OddMockupTextsStayWholeCharacters)
{
    // Not produced by the refresh, but a cell must never hold half a character.
    EXPECT_EQ(shown(wording::AmountDigitGrid(u"")), QStringLiteral("- - - - - - - - - - -"));
    EXPECT_EQ(shown(wording::AmountDigitGrid(u"𠀀1.5")),
              QStringLiteral("𠀀 𠀀 𠀀 𠀀 𠀀 𠀀 𠀀 𠀀 𠀀 . 5"));
    EXPECT_EQ(shown(wording::AmountDigitGrid(u"￥1𠀀.05")),
              QStringLiteral("- - - - - - ￥ 1 𠀀 0 5"));
}
