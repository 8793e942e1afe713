#include "app/form1.h"
#include "dateedit/dbdatetimeedit.h"
#include "platform/controls.h"
#include "settings/calibrationpanel.h"
#include "tests/support/testsupport.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

QString u(const char16_t* s)
{
    return QString::fromUtf16(s);
}

class MockupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_form = std::make_unique<app::TForm1>(m_dir.filePath(QStringLiteral("myini.ini")));
        m_form->Timer1->stop(); // each test drives the ticks itself
        m_form->show();
        QApplication::setActiveWindow(m_form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
        m_form->Edit3->setFocus();
    }

    app::TForm1& f() { return *m_form; }
    void tick() { m_form->Timer1Timer(); }

    QString grid() const
    {
        QStringList cells;
        for (QLabel* l : {m_form->Label21, m_form->Label22, m_form->Label23, m_form->Label24,
                          m_form->Label25, m_form->Label26, m_form->Label27, m_form->Label28,
                          m_form->Label29, m_form->Label30, m_form->Label31})
            cells << (l->text().isEmpty() ? QStringLiteral("-") : l->text());
        return cells.join(u' ');
    }

    testsupport::MessageRecorder m_messages;
    QTemporaryDir m_dir;
    std::unique_ptr<app::TForm1> m_form;
};

TEST_F(MockupTest, TheTimerRunsTheRefreshEveryHalfSecond)
{
    f().ComboBox2->setEditText(u(u"北京某某科技有限公司"));
    f().Timer1->start();
    EXPECT_EQ(f().Timer1->interval(), 500);
    QTRY_COMPARE_WITH_TIMEOUT(f().Label11->text(), u(u"北京某某科技有限公司"), 2000);
}

TEST_F(MockupTest, OneTickShowsEveryFieldWhereItIsPrinted)
{
    f().ComboBox2->setEditText(u(u"北京某某科技有限公司"));
    f().ComboBox3->setEditText(u(u"某某科技"));
    f().ComboBox1->setEditText(u(u"货款"));
    f().Edit3->setText(QStringLiteral("10010.01"));
    f().Panel1->Edit7->setText(u(u"中国某某银行某某支行"));
    f().Panel1->Edit6->setText(QStringLiteral("1234567890123"));
    tick();

    // Today is fixed to 9 May 2024 by the test environment.
    struct Expect
    {
        QLabel* label;
        QString text;
    };
    const Expect expected[] = {
        {f().Label13, QStringLiteral("2024")},
        {f().Label14, QStringLiteral("5")},
        {f().Label19, QStringLiteral("9")},
        {f().Label8, u(u"贰零贰肆")},
        {f().Label9, u(u"零伍")},
        {f().Label10, u(u"零玖")},
        {f().Label11, u(u"北京某某科技有限公司")}, // the payee only on the body
        {f().Label15, u(u"某某科技")},             // the short name only on the stub
        {f().Label17, u(u"货款")},
        {f().Label18, u(u"货款")},
        {f().Label16, u(u"￥10010.01")},
        {f().Label12, u(u"壹万零壹拾元零壹分")},
        {f().Label2, u(u"中国某某银行某某支行")},
        {f().Label5, QStringLiteral("1234567890123")},
    };
    for (const Expect& e : expected)
        EXPECT_EQ(e.label->text(), e.text) << e.label->objectName().toStdString();
    EXPECT_EQ(grid(), u(u"- - - ￥ 1 0 0 1 0 0 1"));
    // Labels size themselves to their text.
    EXPECT_EQ(f().Label11->width(), f().Label11->sizeHint().width());
    EXPECT_EQ(f().Label11->pos(), QPoint(312, 96));
}

TEST_F(MockupTest, TheLongestMonthAndDayInCapitalsEndBeforeTheirCaptions)
{
    const QImage picture = f().Image1->picture();
    ASSERT_FALSE(picture.isNull());
    // The captions' ink: dark among the light paper and its pattern.
    const auto firstInk = [&](QLabel* label) {
        const QPoint origin = f().Image1->pos();
        for (int x = label->x(); x < label->x() + label->width() + 30; ++x) {
            for (int y = label->y(); y < label->y() + label->font().pixelSize(); ++y) {
                if (qGray(picture.pixel(x - origin.x(), y - origin.y())) < 140)
                    return x;
            }
        }
        return -1;
    };
    struct Case
    {
        QDate date;
        const char16_t* month;
        const char16_t* day;
    };
    const Case cases[] = {
        {{2024, 10, 29}, u"零壹拾", u"贰拾玖"},
        {{2024, 11, 30}, u"壹拾壹", u"零叁拾"},
        {{2024, 12, 31}, u"壹拾贰", u"叁拾壹"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.date.toString(Qt::ISODate).toStdString());
        f().DBDateTimeEdit1->setValue(double(QDate(1899, 12, 30).daysTo(c.date)));
        tick();
        ASSERT_EQ(f().Label9->text(), u(c.month));
        ASSERT_EQ(f().Label10->text(), u(c.day));
        for (QLabel* label : {f().Label9, f().Label10}) {
            const int ink = firstInk(label);
            EXPECT_GE(ink, label->x() + label->width()) << "the caption is covered";
            EXPECT_LE(ink, label->x() + label->width() + 12) << "the caption follows the text";
        }
    }
}

TEST_F(MockupTest, EmptyAmountGivesTheBareSignAndTheEmptyGrid)
{
    f().Edit3->setText(QStringLiteral("5"));
    tick();
    f().Edit3->clear();
    tick();
    EXPECT_EQ(f().Label16->text(), u(u"￥"));
    EXPECT_EQ(f().Label12->text(), QString());
    EXPECT_EQ(grid(), u(u"- - - - - - - ￥ ￥ ￥ ￥"));
}

TEST_F(MockupTest, TheGridLinesUpOnceTheAmountIsReformattedOnLeaving)
{
    QTest::keyClicks(f().Edit3, QStringLiteral("12"));
    tick();
    EXPECT_EQ(grid(), u(u"- - - - - - - ￥ ￥ 1 2"));
    EXPECT_EQ(f().Label12->text(), u(u"壹拾贰元整"));
    QTest::keyClick(f().Edit3, Qt::Key_Tab);
    tick();
    EXPECT_EQ(f().Label16->text(), u(u"￥12.00"));
    EXPECT_EQ(grid(), u(u"- - - - - - ￥ 1 2 0 0"));
}

TEST_F(MockupTest, ALetterInTheAmountIsReportedOnceWhileItLasts)
{
    f().Edit3->setText(QStringLiteral("12a")); // pasting is not filtered
    tick();
    tick();
    tick();
    EXPECT_EQ(m_messages.texts(), (QStringList{QStringLiteral("97"), u(u"读取错误，应为数字")}));
    EXPECT_EQ(m_messages.messages()[0].kind, platform::MessageKind::Information);
    EXPECT_EQ(f().Label12->text(), QString());
    EXPECT_EQ(f().Label16->text(), u(u"￥12a")) << "the other steps run normally";

    f().Edit3->setText(QStringLiteral("12"));
    tick();
    EXPECT_EQ(f().Label12->text(), u(u"壹拾贰元整"));
    f().Edit3->setText(u(u"1元"));
    tick();
    ASSERT_EQ(m_messages.texts().size(), 4) << "reported again after a valid amount";
    EXPECT_EQ(m_messages.texts()[2], QString::number(0xd4)); // first GBK byte of 元
}

TEST_F(MockupTest, ABlankDateKeepsTheLastCompleteRefreshAndReportsOnce)
{
    f().ComboBox2->setEditText(QStringLiteral("A"));
    f().Edit3->setText(QStringLiteral("1"));
    tick();
    f().DBDateTimeEdit1->setValue(QVariant());
    f().ComboBox2->setEditText(QStringLiteral("B"));
    f().Edit3->setText(QStringLiteral("2"));
    tick();
    tick();
    EXPECT_EQ(
        m_messages.texts(),
        QStringList{QStringLiteral("Could not convert variant of type (Null) into type (Double)")});
    EXPECT_EQ(m_messages.messages()[0].kind, platform::MessageKind::Error);
    EXPECT_EQ(f().Label11->text(), QStringLiteral("A"));
    EXPECT_EQ(f().Label12->text(), u(u"壹元整"));
    EXPECT_EQ(f().Label31->text(), QStringLiteral("1"));

    f().DBDateTimeEdit1->setValue(45352.0); // 1 March 2024
    tick();
    EXPECT_EQ(f().Label11->text(), QStringLiteral("B"));
    EXPECT_EQ(f().Label8->text(), u(u"贰零贰肆"));
    EXPECT_EQ(f().Label9->text(), u(u"零叁"));
    EXPECT_EQ(f().Label10->text(), u(u"零壹"));
    f().DBDateTimeEdit1->setValue(QVariant());
    tick();
    EXPECT_EQ(m_messages.texts().size(), 2) << "reported again after a good refresh";
}

} // namespace
