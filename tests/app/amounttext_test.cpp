#include "app/amounttext.h"
#include "platform/errors.h"

#include <gtest/gtest.h>

TEST(AmountText, WrittenWithTwoDecimalsRoundedHalfAwayFromZero)
{
    struct Case
    {
        const char16_t* typed;
        const char16_t* shown;
    };
    const Case cases[] = {
        {u"5", u"5.00"},
        {u"12", u"12.00"},
        {u"12.345", u"12.35"},
        {u"1.005", u"1.01"}, // a binary double would give 1.00
        {u"2.675", u"2.68"}, // and 2.67 here
        {u".5", u"0.50"},
        {u".", u"0.00"},
        {u"5.", u"5.00"},
        {u"007.50", u"7.50"},
        {u"0.004", u"0.00"},
        {u"0.005", u"0.01"},
        {u"999.995", u"1000.00"},
        {u"99999999999999999999.999", u"100000000000000000000.00"},
        {u"123456789012345678901234.5649", u"123456789012345678901234.56"},
        {u"1e2", u"100.00"},
        {u"1.5E-2", u"0.02"},
        {u"  42 ", u"42.00"},
        {u"-1.005", u"-1.01"},
        {u"-0.001", u"0.00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(app::formatAmount(QString::fromUtf16(c.typed)), QString::fromUtf16(c.shown))
            << QString::fromUtf16(c.typed).toStdString();
}

TEST(AmountText, TextsThatAreNotNumbersRaiseTheConversionError)
{
    for (const char16_t* typed : {u"1.2.3", u"1..2", u"..", u"abc", u"12a", u"+", u"1e", u"e5",
                                  u"1e99999", u"１２", u"1,5"}) {
        const QString text = QString::fromUtf16(typed);
        try {
            app::formatAmount(text);
            ADD_FAILURE() << "accepted " << text.toStdString();
        } catch (const platform::EConvertError& e) {
            EXPECT_EQ(e.message(),
                      QStringLiteral("'%1' is not a valid floating point value").arg(text));
        }
    }
}
