#include "platform/errors.h"
#include "platform/gbk.h"
#include "platform/messages.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

using platform::MessageKind;

TEST(ErrorReport, FullStopOnlyAfterCharactersSortingAfterThePoint)
{
    struct Case
    {
        const char16_t* message;
        const char16_t* shown;
    };
    const Case cases[] = {
        {u"'1.2.3' is not a valid floating point value",
         u"'1.2.3' is not a valid floating point value."},
        {u"Could not convert variant of type (Null) into type (Double)",
         u"Could not convert variant of type (Null) into type (Double)"},
        {u"Unable to write to /x/myini.ini", u"Unable to write to /x/myini.ini."},
        {u"Already ends.", u"Already ends."},
        {u"读取错误，应为数字", u"读取错误，应为数字."},
        {u"", u""},
    };
    for (const auto& c : cases) {
        testsupport::MessageRecorder recorder;
        platform::showErrorReport(QString::fromUtf16(c.message));
        ASSERT_EQ(recorder.messages().size(), 1u);
        EXPECT_EQ(recorder.messages()[0].kind, MessageKind::Error);
        EXPECT_EQ(recorder.messages()[0].text, QString::fromUtf16(c.shown));
    }
}

TEST(ErrorReport, GuardShowsTheErrorAndSkipsTheRestOfTheHandler)
{
    testsupport::MessageRecorder recorder;
    bool after = false;
    const bool ok = platform::guarded([&] {
        throw platform::EConvertError(QStringLiteral("'x' is not a valid integer value"));
        after = true;
    });
    EXPECT_FALSE(ok);
    EXPECT_FALSE(after);
    EXPECT_EQ(recorder.texts(), QStringList{QStringLiteral("'x' is not a valid integer value.")});
}

TEST(ErrorReport, FormatMessageFillsEachPlaceholderInTurn)
{
    EXPECT_EQ(platform::formatMessage(QStringLiteral("Could not convert variant of type (%s) into "
                                                     "type (%s)"),
                                      {QStringLiteral("Null"), QStringLiteral("Double")}),
              QStringLiteral("Could not convert variant of type (Null) into type (Double)"));
    EXPECT_EQ(platform::formatMessage(QStringLiteral("%s and %s"), {QStringLiteral("a")}),
              QStringLiteral("a and %s"));
}

TEST(TextEncoding, AMissingConverterStopsTheProgramWithOneClearMessage)
{
    EXPECT_NO_THROW(platform::requireTextEncoding());
    try {
        platform::requireTextEncoding("no-such-encoding");
        ADD_FAILURE() << "no error";
    } catch (const platform::EError& e) {
        EXPECT_TRUE(e.message().startsWith(
            QStringLiteral("The text encoding no-such-encoding is missing from this system")));
    }
}
