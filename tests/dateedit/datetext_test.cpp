#include "dateedit/datetext.h"
#include "platform/errors.h"
#include "tests/dateedit/printers.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace dateedit;

namespace {

const QDate kToday(2024, 5, 9);

QString q(const char16_t* s)
{
    return QString::fromUtf16(s);
}

} // namespace

TEST(DateTemplate, FollowsTheRegionalShortDateFormat)
{
    struct Case
    {
        const char16_t* shortFormat;
        QChar separator;
        const char16_t* mask;
        const char16_t* display;
        const char16_t* blank;
    };
    const Case cases[] = {
        {u"yyyy-MM-dd", u'-', u"!9999/99/99;1; ", u"YYYY/MM/DD", u"    -  -  "},
        {u"yyyy/M/d", u'/', u"!9999/99/99;1; ", u"YYYY/MM/DD", u"    /  /  "},
        {u"dd.MM.yyyy", u'.', u"!99/99/9999;1; ", u"DD/MM/YYYY", u"  .  .    "},
        {u"M/d/yyyy", u'/', u"!99/99/9999;1; ", u"MM/DD/YYYY", u"  /  /    "},
        {u"yy-MM-dd", u'-', u"!99/99/99;1; ", u"YY/MM/DD", u"  -  -  "},
        {u"d.M.yy", u'.', u"!99/99/99;1; ", u"DD/MM/YY", u"  .  .  "},
        {u"MM/dd/yy", u'/', u"!99/99/99;1; ", u"MM/DD/YY", u"  /  /  "},
        // Only the first letter decides the order; "yyy" counts as four digits.
        {u"dddd, yyy MMMM", u',', u"!99/99/9999;1; ", u"DD/MM/YYYY", u"  ,  ,    "},
        // No day, month or year letter: day-first.
        {u"", u'/', u"!99/99/99;1; ", u"DD/MM/YY", u"  /  /  "},
        // A separator that a cell could hold falls back to "/".
        {u"yyyy MM dd", u' ', u"!9999/99/99;1; ", u"YYYY/MM/DD", u"    /  /  "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.shortFormat).toStdString());
        const DateTemplate t = dateTemplateFor(q(c.shortFormat));
        EXPECT_EQ(t.editMask, q(c.mask));
        EXPECT_EQ(t.displayFormat, q(c.display));
        EXPECT_EQ(EditMask(t.editMask, c.separator, u':').blankText(), q(c.blank));
    }
}

TEST(EditMask, FitsTextFieldByField)
{
    const EditMask mask(QStringLiteral("!9999/99/99;1; "), u'-', u':');
    const EditMask shortYear(QStringLiteral("!99/99/99;1; "), u'/', u':');
    struct Case
    {
        const EditMask* mask;
        const char16_t* text;
        const char16_t* fitted;
    };
    const Case cases[] = {
        {&mask, u"2024-05-09", u"2024-05-09"},   {&mask, u"2024-5-9", u"2024- 5- 9"},
        {&mask, u"12024-005-09", u"2024-05-09"}, {&mask, u"", u"    -  -  "},
        {&mask, u"20240509", u"0509-  -  "},     {&mask, u"2024-05-09-11", u"2024-05-09"},
        {&shortYear, u"100/05/09", u"00/05/09"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
        EXPECT_EQ(c.mask->fit(q(c.text)), q(c.fitted));
    }
}

TEST(TextToDate, ReadsWhatTheTextHoldsWithoutFilling)
{
    struct Case
    {
        const char16_t* format;
        const char16_t* text;
        QDate expected; // invalid: null
    };
    const Case cases[] = {
        {u"YYYY/MM/DD", u"2024-05-09", QDate(2024, 5, 9)},
        {u"YYYY/MM/DD", u"2024- 5- 9", QDate(2024, 5, 9)},
        // Blanks inside a part are skipped.
        {u"YYYY/MM/DD", u"2024-5 -9 ", QDate(2024, 5, 9)},
        {u"YYYY/MM/DD", u"2 24-05-09", QDate(224, 5, 9)},
        {u"YYYY/MM/DD", u"2024-05-  ", {}},
        {u"YYYY/MM/DD", u"    -  -  ", {}},
        {u"YYYY/MM/DD", u"2024-13-01", {}},
        {u"YYYY/MM/DD", u"2024-00-01", {}},
        {u"YYYY/MM/DD", u"2024-04-31", {}},
        {u"YYYY/MM/DD", u"2024-02-29", QDate(2024, 2, 29)},
        {u"YYYY/MM/DD", u"2023-02-29", {}},
        {u"YYYY/MM/DD", u"1900-02-29", {}},
        {u"YYYY/MM/DD", u"2000-02-29", QDate(2000, 2, 29)},
        {u"YYYY/MM/DD", u"9999-12-31", QDate(9999, 12, 31)},
        {u"YYYY/MM/DD", u"2024-0x-09", {}},
        // Century window 60 around 2024: 0..63 are 2000..2063, 64..99 are 1964..1999.
        {u"YYYY/MM/DD", u"0000-05-09", QDate(2000, 5, 9)},
        {u"YYYY/MM/DD", u"  63-05-09", QDate(2063, 5, 9)},
        {u"YYYY/MM/DD", u"  64-05-09", QDate(1964, 5, 9)},
        {u"YYYY/MM/DD", u"0100-05-09", QDate(100, 5, 9)},
        {u"DD/MM/YY", u"09.05.24", QDate(2024, 5, 9)},
        {u"DD/MM/YY", u"31.12.99", QDate(1999, 12, 31)},
        {u"MM/DD/YYYY", u"05/09/2024", QDate(2024, 5, 9)},
        {u"YY/MM/DD", u"24/05/09", QDate(2024, 5, 9)},
        {u"YYYY/MM/DD", u"", {}},
        // A text longer than the format reads nothing: month 0 makes it no date.
        {u"YYYY/MM/DD", u"2024-05-091", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
        const auto date = textToDate(q(c.format), q(c.text), false, false, kToday);
        EXPECT_EQ(date.value_or(QDate()), c.expected);
        EXPECT_EQ(date.has_value(), c.expected.isValid());
    }
}

TEST(TextToDate, FillingCompletesFromTodayAndClamps)
{
    struct Case
    {
        const char16_t* text;
        QDate expected; // invalid: null
    };
    const Case cases[] = {
        {u"    -  -  ", {}},
        {u"2024-02-30", QDate(2024, 2, 29)},
        {u"2023-02-30", QDate(2023, 2, 28)},
        {u"2023-04-31", QDate(2023, 4, 30)},
        {u"9999-13-01", QDate(9999, 12, 1)},
        {u"0000-00-00", QDate(2000, 5, 9)},
        {u"2024-  -  ", QDate(2024, 5, 9)},
        {u"  24-  -  ", QDate(2024, 5, 9)},
        {u"    -12-  ", QDate(2024, 12, 9)},
        {u"2021-  -31", QDate(2021, 5, 31)},
        {u"2021-06-  ", QDate(2021, 6, 9)},
        {u"2024-99-99", QDate(2024, 12, 31)},
        {u"2024-05-091", QDate(2024, 5, 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
        const auto date = textToDate(QStringLiteral("YYYY/MM/DD"), q(c.text), true, false, kToday);
        EXPECT_EQ(date.value_or(QDate()), c.expected);
    }
}

TEST(TextToDate, FailingRaisesOnlyForAnInvalidDate)
{
    try {
        textToDate(QStringLiteral("YYYY/MM/DD"), QStringLiteral("2024-13-01"), false, true, kToday);
        FAIL() << "no error raised";
    } catch (const platform::EConvertError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Invalid argument to date encode"));
    }
    EXPECT_FALSE(textToDate(QStringLiteral("YYYY/MM/DD"), QStringLiteral("    -  -  "), false, true,
                            kToday));
    EXPECT_EQ(
        textToDate(QStringLiteral("YYYY/MM/DD"), QStringLiteral("2024-02-29"), false, true, kToday),
        QDate(2024, 2, 29));
}

TEST(DateToText, WritesTheDisplayFormatWithTheRegionalSeparator)
{
    struct Case
    {
        QDate date;
        const char16_t* format;
        QChar separator;
        const char16_t* text;
    };
    const Case cases[] = {
        {QDate(2024, 5, 9), u"YYYY/MM/DD", u'-', u"2024-05-09"},
        {QDate(2024, 5, 9), u"DD/MM/YY", u'.', u"09.05.24"},
        {QDate(2024, 12, 31), u"MM/DD/YYYY", u'/', u"12/31/2024"},
        {QDate(5, 1, 2), u"YYYY/MM/DD", u'-', u"0005-01-02"},
        {QDate(2000, 1, 2), u"YY/MM/DD", u'/', u"00/01/02"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dateToText(c.date, q(c.format), c.separator), q(c.text));
    EXPECT_EQ(timeToText(QTime(7, 5, 0), QStringLiteral("HH:NN:SS"), u'.'),
              QStringLiteral("07.05.00"));
}

TEST(StepPart, StepsThePartUnderTheCaretWithoutCarry)
{
    const EditMask dateMask(QStringLiteral("!9999/99/99;1; "), u'-', u':');
    const EditMask shortMask(QStringLiteral("!99/99/99;1; "), u'/', u':');
    const EditMask timeMask(QStringLiteral("!99:99:99;1; "), u'/', u':');
    struct Case
    {
        const EditMask* mask;
        const char16_t* format;
        const char16_t* text;
        int caret;
        bool up;
        const char16_t* stepped; // nullptr: nothing steps
        int selStart;
        int selLength;
    };
    const Case cases[] = {
        {&dateMask, u"YYYY/MM/DD", u"2024-05-31", 8, true, u"2024-05-01", 8, 2},
        {&dateMask, u"YYYY/MM/DD", u"2024-05-01", 9, false, u"2024-05-31", 8, 2},
        {&dateMask, u"YYYY/MM/DD", u"2024-04-30", 8, true, u"2024-04-31", 8, 2},
        {&dateMask, u"YYYY/MM/DD", u"2024-01-09", 5, false, u"2024-12-09", 5, 2},
        {&dateMask, u"YYYY/MM/DD", u"2024-12-09", 6, true, u"2024-01-09", 5, 2},
        {&dateMask, u"YYYY/MM/DD", u"9999-05-09", 0, true, u"0001-05-09", 0, 4},
        {&dateMask, u"YYYY/MM/DD", u"0001-05-09", 3, false, u"9999-05-09", 0, 4},
        {&dateMask, u"YYYY/MM/DD", u"2024-05-09", 0, true, u"2025-05-09", 0, 4},
        // Blank day: 0, so up gives 1 and down wraps to 31.
        {&dateMask, u"YYYY/MM/DD", u"2024-05-  ", 8, true, u"2024-05-01", 8, 2},
        {&dateMask, u"YYYY/MM/DD", u"2024-05-  ", 8, false, u"2024-05-31", 8, 2},
        // A leading blank is ignored, a trailing one makes the number 0.
        {&dateMask, u"YYYY/MM/DD", u"2024-05- 9", 9, false, u"2024-05-08", 8, 2},
        {&dateMask, u"YYYY/MM/DD", u"2024-05-9 ", 8, true, u"2024-05-01", 8, 2},
        // Past the end counts as the last position.
        {&dateMask, u"YYYY/MM/DD", u"2024-05-09", 10, true, u"2024-05-10", 8, 2},
        {&dateMask, u"YYYY/MM/DD", u"2024-05-09", 4, true, nullptr, 0, 0},
        {&shortMask, u"YY/MM/DD", u"99/05/09", 1, true, u"00/05/09", 0, 2},
        {&shortMask, u"YY/MM/DD", u"01/05/09", 0, false, u"99/05/09", 0, 2},
        {&shortMask, u"DD/MM/YY", u"31/12/24", 3, true, u"31/01/24", 3, 2},
        {&timeMask, u"HH:NN:SS", u"23:59:59", 0, true, u"00:59:59", 0, 2},
        {&timeMask, u"HH:NN:SS", u"00:00:00", 4, false, u"00:59:00", 3, 2},
        {&timeMask, u"HH:NN:SS", u"00:00:00", 7, false, u"00:00:59", 6, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString() + " at " + std::to_string(c.caret));
        const auto r = stepPart(q(c.text), q(c.format), *c.mask, c.caret, c.up);
        ASSERT_EQ(r.has_value(), c.stepped != nullptr);
        if (!r)
            continue;
        EXPECT_EQ(r->text, q(c.stepped));
        EXPECT_EQ(r->selStart, c.selStart);
        EXPECT_EQ(r->selLength, c.selLength);
    }
}

TEST(DateNumber, CountsDaysFromTheLastDayOf1899)
{
    EXPECT_EQ(dateToNumber(QDate(1899, 12, 30)), 0.0);
    EXPECT_EQ(dateToNumber(QDate(1900, 1, 1)), 2.0);
    EXPECT_EQ(dateToNumber(QDate(2024, 5, 9)), 45421.0);

    struct Case
    {
        double number;
        QDate date; // invalid: none
    };
    const Case cases[] = {
        {45421.4375, QDate(2024, 5, 9)},
        {45421.9999, QDate(2024, 5, 9)},
        // The time of day is cut off toward zero, also before the day zero.
        {-1.5, QDate(1899, 12, 29)},
        {-693593.0, QDate(1, 1, 1)},
        {2958465.9, QDate(9999, 12, 31)},
        {-693594.0, {}},
        {2958466.0, {}},
        {std::numeric_limits<double>::quiet_NaN(), {}},
        {std::numeric_limits<double>::infinity(), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(numberToDate(c.number).value_or(QDate()), c.date);
    }
    EXPECT_EQ(numberToTime(45421.4375), QTime(10, 30));
}
