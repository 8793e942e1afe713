#include "tests/wording/printing.h"
#include "wording/capitals.h"

#include <gtest/gtest.h>

TEST(YearInCapitals, EveryDigitInTurn)
{
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"2024", u"贰零贰肆"},
        {u"2010", u"贰零壹零"},
        {u"2000", u"贰零零零"},
        {u"1999", u"壹玖玖玖"},
        {u"7", u"柒"},
        {u"", u""},
        // Not produced by the refresh; whatever is not a digit stays visible as it is.
        {u"-44", u"-肆肆"},
        {u"20x4", u"贰零x肆"},
        {u"２0", u"２零"},
    };
    for (const auto& [year, capitals] : cases) {
        EXPECT_EQ(wording::YearInCapitals(QStringView(year)), QString::fromUtf16(capitals))
            << QString::fromUtf16(year).toStdString();
    }
}

TEST(DateInCapitals, EveryMonthAndDayOfTheTables)
{
    // Month 10 and days 10, 20, 30 carry the leading 零 that the payment rules demand.
    const std::pair<const char16_t*, const char16_t*> months[] = {
        {u"1", u"零壹"}, {u"2", u"零贰"},    {u"3", u"零叁"},    {u"4", u"零肆"},
        {u"5", u"零伍"}, {u"6", u"零陆"},    {u"7", u"零柒"},    {u"8", u"零捌"},
        {u"9", u"零玖"}, {u"10", u"零壹拾"}, {u"11", u"壹拾壹"}, {u"12", u"壹拾贰"},
    };
    const std::pair<const char16_t*, const char16_t*> days[] = {
        {u"1", u"零壹"},    {u"2", u"零贰"},    {u"3", u"零叁"},    {u"4", u"零肆"},
        {u"5", u"零伍"},    {u"6", u"零陆"},    {u"7", u"零柒"},    {u"8", u"零捌"},
        {u"9", u"零玖"},    {u"10", u"零壹拾"}, {u"11", u"壹拾壹"}, {u"12", u"壹拾贰"},
        {u"13", u"壹拾叁"}, {u"14", u"壹拾肆"}, {u"15", u"壹拾伍"}, {u"16", u"壹拾陆"},
        {u"17", u"壹拾柒"}, {u"18", u"壹拾捌"}, {u"19", u"壹拾玖"}, {u"20", u"零贰拾"},
        {u"21", u"贰拾壹"}, {u"22", u"贰拾贰"}, {u"23", u"贰拾叁"}, {u"24", u"贰拾肆"},
        {u"25", u"贰拾伍"}, {u"26", u"贰拾陆"}, {u"27", u"贰拾柒"}, {u"28", u"贰拾捌"},
        {u"29", u"贰拾玖"}, {u"30", u"零叁拾"}, {u"31", u"叁拾壹"},
    };
    for (const auto& [month, capitals] : months) {
        EXPECT_EQ(wording::MonthInCapitals(QStringView(month)), QString::fromUtf16(capitals))
            << QString::fromUtf16(month).toStdString();
    }
    for (const auto& [day, capitals] : days) {
        EXPECT_EQ(wording::DayInCapitals(QStringView(day)), QString::fromUtf16(capitals))
            << QString::fromUtf16(day).toStdString();
    }
}

TEST(DateInCapitals, TextsOutsideTheTablesLeaveTheLabel)
{
    // The comparison is on texts: a number written differently is not in the table.
    for (const char16_t* text : {u"", u"0", u"05", u"01", u"13", u" 1", u"1 ", u"１", u"1.0"})
        EXPECT_EQ(wording::MonthInCapitals(QStringView(text)), std::nullopt);
    for (const char16_t* text : {u"", u"0", u"05", u"32", u"010", u"+1", u"三十"})
        EXPECT_EQ(wording::DayInCapitals(QStringView(text)), std::nullopt);
    EXPECT_EQ(wording::DayInCapitals(u"31"), QStringLiteral("叁拾壹"));
    EXPECT_EQ(wording::MonthInCapitals(u"13"), std::nullopt);
}
