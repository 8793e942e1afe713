#include "platform/errors.h"
#include "printlayout/printtable.h"

#include <gtest/gtest.h>

using printlayout::readOffset;

TEST(FieldOffset, ReadsWholeDecimalNumbersWithAnOptionalSign)
{
    const std::pair<const char16_t*, int> cases[] = {
        {u"0", 0},   {u"5", 5},       {u"-2", -2},
        {u"+7", 7},  {u"-100", -100}, {u"250", 250},
        {u"007", 7}, {u"-0", 0},      {u"536870000", 536870000},
    };
    for (const auto& [text, value] : cases) {
        SCOPED_TRACE(QString::fromUtf16(text).toStdString());
        EXPECT_EQ(readOffset(QString::fromUtf16(text)), value);
    }
}

TEST(FieldOffset, AnythingElseIsNotAValidIntegerValueNamingTheText)
{
    // Spaces, full-width digits and a bare sign are not whole decimal numbers either; a number
    // whose four-fold offset would overflow a position is refused rather than wrapped.
    const char16_t* cases[] = {u"",   u"1.5",         u"abc",       u" 5",         u"5 ",  u"-",
                               u"+",  u"1e2",         u"0x10",      u"５",         u"--1", u"1-",
                               u"3,", u"99999999999", u"536871000", u"-2147483648"};
    for (const char16_t* text : cases) {
        const QString t = QString::fromUtf16(text);
        SCOPED_TRACE(t.toStdString());
        try {
            readOffset(t);
            ADD_FAILURE() << "accepted";
        } catch (const platform::EConvertError& e) {
            EXPECT_EQ(e.message(),
                      QStringLiteral("'") + t + QStringLiteral("' is not a valid integer value"));
        }
    }
}
