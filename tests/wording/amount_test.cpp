#include "tests/wording/printing.h"
#include "wording/capitals.h"

#include <QStringEncoder>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

QByteArray gbk(const char16_t* text)
{
    QStringEncoder encoder("GBK");
    return encoder(QStringView(text));
}

struct AmountCase
{
    QByteArray amountText;
    const char16_t* capitals;
};

} // namespace

TEST(AmountInCapitals, WordsEveryAmountOfDigitsAndPoints)
{
    const AmountCase cases[] = {
        // Worked examples.
        {"100000.00", u"壹拾万元整"},
        {"100000000.00", u"壹亿元整"},
        {"1005.50", u"壹仟零伍元伍角"},
        {"0.05", u"伍分"},
        {"10010.01", u"壹万零壹拾元零壹分"},
        {"10.05", u"壹拾元零伍分"},
        {"100.10", u"壹佰元壹角"},
        {"20000.02", u"贰万元零贰分"},
        {"1010", u"壹仟零壹拾元整"},
        {"1.00", u"壹元整"},
        {"100010000.00", u"壹亿零壹万元整"},
        {"1010000000.00", u"壹拾亿壹仟万元整"},
        {"123456789.12", u"壹亿贰仟叁佰肆拾伍万陆仟柒佰捌拾玖元壹角贰分"},
        {"12.345", u"壹拾贰元叁角肆分"},
        {"0.00", u""},
        {"", u""},
        // One number of fen, one wording, however it is typed.
        {"1005.5", u"壹仟零伍元伍角"},
        {"1005.509", u"壹仟零伍元伍角"},
        {"0001005.5", u"壹仟零伍元伍角"},
        {"5.", u"伍元整"},
        {".5", u"伍角"},
        {"007.50", u"柒元伍角"},
        // Below one yuan: no 元, no 整.
        {"0.29", u"贰角玖分"},
        {"0.53", u"伍角叁分"},
        {"0.10", u"壹角"},
        {"0.01", u"壹分"},
        {".", u""},
        {"00.00", u""},
        {"1.05", u"壹元零伍分"},
        {"2.35", u"贰元叁角伍分"},
        // 角 without 分 takes no 整.
        {"5.50", u"伍元伍角"},
        {"100.90", u"壹佰元玖角"},
        // Zeros inside a group give one 零.
        {"1001", u"壹仟零壹元整"},
        {"100100", u"壹拾万零壹佰元整"},
        {"10000001.01", u"壹仟万零壹元零壹分"},
        {"1.01", u"壹元零壹分"},
        // Zeros ending at 元 are absorbed by it.
        {"1000", u"壹仟元整"},
        {"1000.05", u"壹仟元零伍分"},
        {"11000.10", u"壹万壹仟元壹角"},
        // A whole zero group after 亿 writes no 万.
        {"100000001", u"壹亿零壹元整"},
        {"300000000.50", u"叁亿元伍角"},
        {"200000000000", u"贰仟亿元整"},
        {"1000000000000.00", u"壹万亿元整"},
        {"1000100000000", u"壹万亿零壹亿元整"},
        {"10000000000000000", u"壹亿亿元整"},
        // The largest amounts that have unit words.
        {"1000000000000000000000000000", u"壹仟亿亿亿元整"},
        {"9999999999999999999999999999.99",
         u"玖仟玖佰玖拾玖亿亿亿玖仟玖佰玖拾玖万亿亿玖仟玖佰玖拾玖亿亿玖仟玖佰玖拾玖万亿"
         u"玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分"},
        // Two or more points read as zero, without a message.
        {"1.2.3", u""},
        {"100..", u""},
    };
    for (const auto& c : cases) {
        const wording::AmountCapitals result = wording::AmountInCapitals(c.amountText);
        EXPECT_EQ(result.text, QString::fromUtf16(c.capitals)) << c.amountText.constData();
        EXPECT_EQ(result.offendingByte, -1) << c.amountText.constData();
        EXPECT_FALSE(result.tooLarge) << c.amountText.constData();
    }
}

TEST(AmountInCapitals, ReportsTheFirstByteThatIsNeitherDigitNorPoint)
{
    struct Case
    {
        QByteArray amountText;
        int offendingByte;
    };
    const Case cases[] = {
        {"12a", 97},
        {"a12", 97},
        {"1.2.x", 120}, // validation comes before the point count
        {" 12", 32},
        {"-5", 45},
        {"1,5", 44},
        {QByteArray("1\0"
                    "2",
                    3),
         0},
        {"9\xff", 255},         // not valid GBK either
        {gbk(u"12金额"), 0xBD}, // the lead byte of 金
        {gbk(u"１2"), 0xA3},    // full-width digits are not digits
        {QByteArray(100000, '1') + 'z', 122},
    };
    for (const auto& c : cases) {
        const wording::AmountCapitals result = wording::AmountInCapitals(c.amountText);
        EXPECT_EQ(result.offendingByte, c.offendingByte) << c.amountText.toHex().constData();
        EXPECT_TRUE(result.text.isEmpty());
        EXPECT_FALSE(result.tooLarge);
    }
}

TEST(AmountInCapitals, AmountsBeyondTheUnitWordsAreTooLargeNotMisread)
{
    const QByteArray tooLarge[] = {
        "10000000000000000000000000000", // 10^28 yuan: 31 fen digits
        "99999999999999999999999999999.99",
        QByteArray(100000, '7'),
    };
    for (const auto& amountText : tooLarge) {
        const wording::AmountCapitals result = wording::AmountInCapitals(amountText);
        EXPECT_TRUE(result.tooLarge) << amountText.left(40).constData();
        EXPECT_TRUE(result.text.isEmpty());
        EXPECT_EQ(result.offendingByte, -1);
    }

    // Leading zeros and dropped decimals do not make an amount large.
    EXPECT_EQ(wording::AmountInCapitals(QByteArray(100000, '0') + "1.5").text,
              QStringLiteral("壹元伍角"));
    EXPECT_EQ(wording::AmountInCapitals("3." + QByteArray(100000, '9')).text,
              QStringLiteral("叁元玖角玖分"));
    const wording::AmountCapitals points = wording::AmountInCapitals(QByteArray(10000, '.'));
    EXPECT_TRUE(points.text.isEmpty());
    EXPECT_FALSE(points.tooLarge);
    EXPECT_EQ(points.offendingByte, -1);
}

TEST(FenString, CutsTheExactDecimalToWholeFen)
{
    const std::pair<QByteArray, QByteArray> cases[] = {
        {"12.345", "1234"}, {"5.", "500"},  {".5", "50"},    {"007.50", "750"},
        {"0.29", "29"},     {"1.2.3", "0"}, {"", "0"},       {".", "0"},
        {"0000", "0"},      {"00.05", "5"}, {"0.999", "99"}, {"10", "1000"},
    };
    for (const auto& [amountText, fen] : cases)
        EXPECT_EQ(wording::FenString(amountText), fen) << amountText.constData();
}

TEST(CapitalTables, DigitsAndUnitWordsByPosition)
{
    QString digits;
    for (int digit = 0; digit <= 9; ++digit)
        digits += wording::CapitalDigit(digit);
    EXPECT_EQ(digits, QStringLiteral("零壹贰叁肆伍陆柒捌玖"));

    QStringList units;
    for (int position = 1; position <= 30; ++position)
        units << wording::CapitalUnit(position);
    EXPECT_EQ(units.join(u'|'),
              QStringLiteral("分|角||拾|佰|仟|万|拾|佰|仟|亿|拾|佰|仟|万亿|拾|佰|仟|"
                             "亿亿|拾|佰|仟|万亿亿|拾|佰|仟|亿亿亿|拾|佰|仟"));

    for (const int outside : {-1, 10})
        EXPECT_TRUE(wording::CapitalDigit(outside).isEmpty()) << outside;
    for (const int outside : {0, 31, -5})
        EXPECT_TRUE(wording::CapitalUnit(outside).isEmpty()) << outside;
}
