#include "dateedit/dbdatetimeedit.h"
#include "dateedit/monthcalendar.h"
#include "platform/environment.h"
#include "platform/errors.h"
#include "tests/dateedit/printers.h"
#include "tests/support/testsupport.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QShortcut>
#include <QStyle>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <memory>

using namespace dateedit;

namespace {

platform::RegionalSettings regional(const QString& shortFormat, QChar separator)
{
    platform::RegionalSettings s;
    s.shortDateFormat = shortFormat;
    s.dateSeparator = separator;
    s.timeSeparator = u':';
    s.firstDayOfWeek = Qt::Monday;
    return s;
}

void wheel(QWidget* w, int notchesUp, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QPointF pos(w->rect().center());
    QWheelEvent event(pos, w->mapToGlobal(pos), QPoint(), QPoint(0, 120 * notchesUp), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(w, &event);
}

class DateField : public ::testing::Test
{
protected:
    void SetUp() override { build(QStringLiteral("yyyy-MM-dd"), u'-'); }

    void TearDown() override
    {
        m_window.reset();
        platform::setRegionalSettings(std::nullopt);
    }

    void build(const QString& shortFormat, QChar separator)
    {
        m_window.reset();
        platform::setRegionalSettings(regional(shortFormat, separator));
        m_window = std::make_unique<QWidget>();
        m_window->setGeometry(50, 50, 400, 200);
        field = new TDBDateTimeEdit(m_window.get());
        field->setGeometry(104, 24, 121, 22);
        other = new QLineEdit(m_window.get());
        other->setGeometry(104, 60, 121, 22);
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
        other->setFocus(Qt::TabFocusReason);
    }

    QWidget* window() const { return m_window.get(); }
    void enter() { field->setFocus(Qt::TabFocusReason); }
    void leave() { other->setFocus(Qt::TabFocusReason); }
    void setDate(QDate date) { field->setValue(dateToNumber(date)); }
    QDate value() const
    {
        const QVariant v = field->Value();
        return v.isNull() ? QDate() : *numberToDate(v.toDouble());
    }
    void type(const QString& keys) { QTest::keyClicks(field, keys); }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(field, k, modifiers);
    }
    void caretAt(int pos) { field->setSelection(pos, 1); }
    MonthCalendar* calendar() const { return field->Calendar()->CalendarControl(); }
    void click(const QPoint& pos) { QTest::mouseClick(calendar(), Qt::LeftButton, {}, pos); }
    void clickButton() { QTest::mouseClick(field->editButtonControl(), Qt::LeftButton); }

    TDBDateTimeEdit* field = nullptr;
    QLineEdit* other = nullptr;

private:
    std::unique_ptr<QWidget> m_window;
};

} // namespace

TEST_F(DateField, ValueKeepsTheWholeDayAndCanBeNull)
{
    EXPECT_TRUE(field->Value().isNull());
    EXPECT_EQ(field->text(), QStringLiteral("    -  -  "));

    field->setValue(45421.4375); // 9 May 2024, 10:30
    EXPECT_EQ(field->text(), QStringLiteral("2024-05-09"));
    EXPECT_EQ(field->Value().typeId(), QMetaType::Double);
    EXPECT_EQ(field->Value().toDouble(), 45421.0);

    field->setValue(QVariant());
    EXPECT_TRUE(field->Value().isNull());
    EXPECT_EQ(field->text(), QStringLiteral("    -  -  "));

    for (const QVariant& invalid : {QVariant(QDate()), QVariant(QDateTime())}) {
        setDate(QDate(2024, 5, 9));
        field->setValue(invalid);
        EXPECT_TRUE(field->Value().isNull()) << invalid.typeName();
        EXPECT_EQ(field->text(), QStringLiteral("    -  -  "));
    }

    // The edit's own text calls keep to the template too.
    field->setText(QStringLiteral("24"));
    EXPECT_EQ(field->text(), QStringLiteral("  24-  -  "));
    field->clear();
    EXPECT_EQ(field->text(), QStringLiteral("    -  -  "));

    EXPECT_THROW(field->setValue(1e9), platform::EConvertError);
    EXPECT_THROW(field->setValue(QStringLiteral("soon")), platform::EVariantError);
    EXPECT_TRUE(field->Value().isNull());
}

TEST_F(DateField, ShowsAndReadsTheRegionalFormat)
{
    struct Case
    {
        const char16_t* shortFormat;
        QChar separator;
        const char16_t* shown;
        const char16_t* typed;
        QDate typedDate;
    };
    const Case cases[] = {
        {u"dd.MM.yyyy", u'.', u"09.05.2024", u"31121999", QDate(1999, 12, 31)},
        {u"M/d/yyyy", u'/', u"05/09/2024", u"12311999", QDate(1999, 12, 31)},
        {u"yy-MM-dd", u'-', u"24-05-09", u"991231", QDate(1999, 12, 31)},
        {u"d.M.yy", u'.', u"09.05.24", u"311263", QDate(2063, 12, 31)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.shortFormat).toStdString());
        build(QString::fromUtf16(c.shortFormat), c.separator);
        setDate(QDate(2024, 5, 9));
        EXPECT_EQ(field->text(), QString::fromUtf16(c.shown));
        enter();
        type(QString::fromUtf16(c.typed));
        EXPECT_EQ(value(), c.typedDate);
    }
}

TEST_F(DateField, ValueFollowsTheTextWhileTyping)
{
    setDate(QDate(2023, 11, 30));
    enter();
    EXPECT_EQ(field->selectedText(), field->text());

    type(QStringLiteral("2024"));
    EXPECT_EQ(field->text(), QStringLiteral("2024-  -  "));
    EXPECT_FALSE(value().isValid());
    type(QStringLiteral("-12-2"));
    EXPECT_EQ(value(), QDate(2024, 12, 2));
    type(QStringLiteral("5"));
    EXPECT_EQ(field->text(), QStringLiteral("2024-12-25"));
    EXPECT_EQ(value(), QDate(2024, 12, 25));
}

TEST_F(DateField, LeavingCompletesAnIncompleteDate)
{
    setDate(QDate(2023, 11, 30));
    enter();
    type(QStringLiteral("24"));
    leave();
    EXPECT_EQ(field->text(), QStringLiteral("2024-05-09"));
    EXPECT_EQ(value(), QDate(2024, 5, 9));
    enter();
    EXPECT_EQ(field->text(), QStringLiteral("2024-05-09"));
}

TEST_F(DateField, EnterValidatesAndKeepsTheFocus)
{
    struct Case
    {
        const char16_t* typed;
        bool validWhileTyping;
        const char16_t* validated;
    };
    const Case cases[] = {
        {u"20240230", false, u"2024-02-29"}, {u"20230230", false, u"2023-02-28"},
        {u"20240431", false, u"2024-04-30"}, {u"99991301", false, u"9999-12-01"},
        {u"00000000", false, u"2000-05-09"}, {u"20240229", true, u"2024-02-29"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.typed).toStdString());
        enter();
        field->selectAll();
        type(QString::fromUtf16(c.typed));
        EXPECT_EQ(field->Value().isNull(), !c.validWhileTyping);
        key(Qt::Key_Return);
        EXPECT_EQ(field->text(), QString::fromUtf16(c.validated));
        EXPECT_FALSE(field->Value().isNull());
        EXPECT_TRUE(field->hasFocus());
    }

    field->selectAll();
    key(Qt::Key_Delete);
    key(Qt::Key_Return);
    EXPECT_EQ(field->text(), QStringLiteral("    -  -  "));
    EXPECT_TRUE(field->Value().isNull());
}

TEST_F(DateField, TemplateRefusesWhatDoesNotFit)
{
    setDate(QDate(2024, 5, 9));
    enter();
    caretAt(1);
    type(QStringLiteral("-"));
    EXPECT_EQ(field->selectionStart(), 5);
    caretAt(8);
    type(QStringLiteral("-x/ "));
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(field->text(), QStringLiteral("2024-05-09"));
    EXPECT_EQ(field->selectionStart(), 8);

    key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(field->selectedText(), QStringLiteral("2024-05-09"));
}

TEST_F(DateField, EscReturnsToTheEntryTextOrGoesToTheWindow)
{
    int windowEscapes = 0;
    QShortcut escape(QKeySequence(Qt::Key_Escape), window());
    QObject::connect(&escape, &QShortcut::activated, [&] { ++windowEscapes; });

    setDate(QDate(2024, 5, 9));
    enter();
    type(QStringLiteral("2023"));
    key(Qt::Key_Escape);
    EXPECT_EQ(field->text(), QStringLiteral("2024-05-09"));
    EXPECT_EQ(value(), QDate(2024, 5, 9));
    EXPECT_EQ(windowEscapes, 0);

    key(Qt::Key_Escape);
    EXPECT_EQ(windowEscapes, 1);
}

TEST_F(DateField, UpAndDownStepThePartUnderTheCaret)
{
    setDate(QDate(2024, 5, 31));
    enter();
    caretAt(8);
    key(Qt::Key_Up);
    EXPECT_EQ(field->text(), QStringLiteral("2024-05-01"));
    EXPECT_EQ(field->selectionStart(), 8);
    EXPECT_EQ(field->selectedText(), QStringLiteral("01"));

    setDate(QDate(2024, 1, 9));
    caretAt(6);
    key(Qt::Key_Down);
    EXPECT_EQ(field->text(), QStringLiteral("2024-12-09"));
    EXPECT_EQ(value(), QDate(2024, 12, 9));

    field->selectAll();
    key(Qt::Key_Up);
    EXPECT_EQ(field->text(), QStringLiteral("2025-12-09"));
    EXPECT_EQ(field->selectedText(), QStringLiteral("2025"));

    // The day wraps at 31 whatever the month: null until validation.
    setDate(QDate(2024, 4, 30));
    caretAt(9);
    key(Qt::Key_Up);
    EXPECT_EQ(field->text(), QStringLiteral("2024-04-31"));
    EXPECT_TRUE(field->Value().isNull());
    leave();
    EXPECT_EQ(field->text(), QStringLiteral("2024-04-30"));
}

TEST_F(DateField, WheelStepsOnlyWhenFocusedWithoutModifiers)
{
    setDate(QDate(2024, 5, 9));
    wheel(field, 1);
    EXPECT_EQ(field->text(), QStringLiteral("2024-05-09"));

    enter();
    caretAt(8);
    wheel(field, 1);
    EXPECT_EQ(field->text(), QStringLiteral("2024-05-10"));
    wheel(field, -2);
    EXPECT_EQ(field->text(), QStringLiteral("2024-05-08"));
    wheel(field, 1, Qt::ControlModifier);
    EXPECT_EQ(field->text(), QStringLiteral("2024-05-08"));
}

TEST_F(DateField, PasteEntersCellByCell)
{
    setDate(QDate(2024, 5, 9));
    enter();
    QApplication::clipboard()->setText(QStringLiteral("2023-12-25"));
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(value(), QDate(2023, 12, 25));

    field->selectAll();
    QApplication::clipboard()->setText(QString(1000, u'7'));
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field->text(), QStringLiteral("7777-77-77"));
    EXPECT_TRUE(field->Value().isNull());
    key(Qt::Key_Return);
    EXPECT_EQ(field->text(), QStringLiteral("7777-12-31"));

    QApplication::clipboard()->setText(QStringLiteral("junk\n"));
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field->text(), QStringLiteral("7777-12-31"));

    field->selectAll();
    key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(field->text(), QStringLiteral("    -  -  "));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("7777-12-31"));
}

TEST_F(DateField, LeavingCommitsOnlyAModifiedValue)
{
    setDate(QDate(2024, 5, 9));
    int updates = 0;
    bool handled = false;
    field->OnUpdateData = [&](QObject* sender, bool& h) {
        EXPECT_EQ(sender, field);
        ++updates;
        h = handled;
    };
    enter();
    leave();
    EXPECT_EQ(updates, 0);

    enter();
    type(QStringLiteral("2023"));
    leave();
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(field->text(), QStringLiteral("2023-05-09"));

    // A handler that claims the commit keeps the stored value: the text returns to it.
    handled = true;
    enter();
    type(QStringLiteral("1999"));
    leave();
    EXPECT_EQ(updates, 2);
    EXPECT_EQ(field->text(), QStringLiteral("2023-05-09"));
    EXPECT_EQ(value(), QDate(2023, 5, 9));
}

TEST_F(DateField, AFailedCommitKeepsTheFocusInTheField)
{
    setDate(QDate(2024, 5, 9));
    field->OnUpdateData = [](QObject*, bool&) {
        throw platform::EError(QStringLiteral("Field value required"));
    };
    testsupport::MessageRecorder recorder;
    enter();
    type(QStringLiteral("2023"));
    leave();
    EXPECT_EQ(recorder.texts(), QStringList{QStringLiteral("Field value required.")});
    EXPECT_TRUE(field->hasFocus());
    EXPECT_EQ(field->text(), QStringLiteral("2024-05-09"));
    EXPECT_EQ(field->selectedText(), field->text());
}

TEST_F(DateField, ReadOnlyRefusesTypingSteppingAndPicks)
{
    setDate(QDate(2024, 5, 9));
    field->setReadOnly(true);
    enter();
    caretAt(8);
    type(QStringLiteral("1"));
    key(Qt::Key_Up);
    key(Qt::Key_Delete);
    key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(field->DroppedDown());
    key(Qt::Key_Right);
    key(Qt::Key_Return);
    EXPECT_FALSE(field->DroppedDown());
    EXPECT_EQ(field->text(), QStringLiteral("2024-05-09"));
    EXPECT_EQ(value(), QDate(2024, 5, 9));
}

// ---------------------------------------------------------------------------------------------

TEST_F(DateField, AltDownOpensOnTheValueAndEnterTakesTheCalendarDate)
{
    int dropDowns = 0;
    field->OnDropDown = [&](QObject*) { ++dropDowns; };
    int windowEnters = 0;
    QShortcut enterKey(QKeySequence(Qt::Key_Return), window());
    QObject::connect(&enterKey, &QShortcut::activated, [&] { ++windowEnters; });

    setDate(QDate(2024, 5, 9));
    enter();
    key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(field->DroppedDown());
    EXPECT_EQ(dropDowns, 1);
    EXPECT_TRUE(field->Calendar()->isVisible());
    EXPECT_TRUE(field->hasFocus());
    EXPECT_EQ(field->Calendar()->date(), QDate(2024, 5, 9));
    EXPECT_EQ(field->Calendar()->pos(), field->mapToGlobal(QPoint(0, field->height())));

    key(Qt::Key_Down);
    EXPECT_EQ(field->Calendar()->date(), QDate(2024, 5, 16));
    EXPECT_EQ(field->text(), QStringLiteral("2024-05-09"));
    key(Qt::Key_Return);
    EXPECT_FALSE(field->DroppedDown());
    EXPECT_FALSE(field->Calendar()->isVisible());
    EXPECT_EQ(field->text(), QStringLiteral("2024-05-16"));
    EXPECT_EQ(value(), QDate(2024, 5, 16));
    EXPECT_EQ(windowEnters, 0);
}

TEST_F(DateField, EscClosesWithoutTakingTheDate)
{
    std::vector<bool> closeUps;
    field->OnCloseUp = [&](QObject*, bool accept) { closeUps.push_back(accept); };
    int windowEscapes = 0;
    QShortcut escape(QKeySequence(Qt::Key_Escape), window());
    QObject::connect(&escape, &QShortcut::activated, [&] { ++windowEscapes; });

    enter();
    key(Qt::Key_Down, Qt::AltModifier);
    // No value: the calendar opens on today.
    EXPECT_EQ(field->Calendar()->date(), QDate(2024, 5, 9));
    key(Qt::Key_Right);
    key(Qt::Key_Escape);
    EXPECT_FALSE(field->DroppedDown());
    EXPECT_TRUE(field->Value().isNull());
    EXPECT_EQ(field->text(), QStringLiteral("    -  -  "));
    EXPECT_EQ(closeUps, std::vector<bool>{false});
    EXPECT_EQ(windowEscapes, 0);
}

TEST_F(DateField, SecondClickOnTheButtonClosesWithoutReopening)
{
    setDate(QDate(2024, 5, 9));
    clickButton();
    ASSERT_TRUE(field->DroppedDown());
    EXPECT_TRUE(field->hasFocus());
    clickButton();
    EXPECT_FALSE(field->DroppedDown());
    QCoreApplication::processEvents();
    EXPECT_FALSE(field->DroppedDown());
    clickButton();
    EXPECT_TRUE(field->DroppedDown());
}

TEST_F(DateField, AClickOnADayPicksItAndLeavingCommitsIt)
{
    int updates = 0;
    setDate(QDate(2024, 5, 9));
    field->OnUpdateData = [&](QObject*, bool&) { ++updates; };
    enter();
    clickButton();
    click(calendar()->dayRect(QDate(2024, 5, 22)).center());
    EXPECT_FALSE(field->DroppedDown());
    EXPECT_EQ(field->text(), QStringLiteral("2024-05-22"));
    EXPECT_EQ(value(), QDate(2024, 5, 22));
    EXPECT_EQ(field->selectedText(), field->text());
    EXPECT_EQ(updates, 0);
    leave();
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(value(), QDate(2024, 5, 22));
}

TEST_F(DateField, NextMonthButtonKeepsTheCalendarOpen)
{
    setDate(QDate(2024, 5, 9));
    enter();
    clickButton();
    click(calendar()->nextButtonRect().center());
    ASSERT_TRUE(field->DroppedDown());
    EXPECT_EQ(calendar()->shownMonth(), QDate(2024, 6, 1));
    click(calendar()->dayRect(QDate(2024, 6, 20)).center());
    EXPECT_FALSE(field->DroppedDown());
    EXPECT_EQ(field->text(), QStringLiteral("2024-06-20"));
}

TEST_F(DateField, ReleaseOnlyOverAPickingAreaCloses)
{
    setDate(QDate(2024, 3, 1));
    enter();
    struct Case
    {
        const char* area;
        QRect (MonthCalendar::*rect)() const;
        bool closes;
    };
    const Case cases[] = {
        {"weekday header", &MonthCalendar::headerRect, false},
        {"year in the title", &MonthCalendar::titleYearRect, false},
        {"previous button", &MonthCalendar::prevButtonRect, false},
        {"month in the title", &MonthCalendar::titleMonthRect, true},
        {"today line", &MonthCalendar::todayLineRect, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.area);
        // Between two inputs the event loop runs, which clears the just-closed mark.
        QCoreApplication::processEvents();
        if (!field->DroppedDown())
            key(Qt::Key_Down, Qt::AltModifier);
        ASSERT_TRUE(field->DroppedDown());
        click((calendar()->*c.rect)().center());
        EXPECT_EQ(field->DroppedDown(), !c.closes);
    }
    // The today line picks today.
    EXPECT_EQ(value(), QDate(2024, 5, 9));
}

TEST_F(DateField, WheelMovesTheOpenCalendarOneDayPerNotch)
{
    setDate(QDate(2024, 5, 9));
    enter();
    key(Qt::Key_Down, Qt::AltModifier);
    wheel(calendar(), -2);
    EXPECT_EQ(field->Calendar()->date(), QDate(2024, 5, 11));
    wheel(field, 1);
    EXPECT_EQ(field->Calendar()->date(), QDate(2024, 5, 10));
    EXPECT_TRUE(field->DroppedDown());
    EXPECT_EQ(field->text(), QStringLiteral("2024-05-09"));
    key(Qt::Key_Return);
    EXPECT_EQ(value(), QDate(2024, 5, 10));
}

TEST_F(DateField, PressElsewhereOrFocusMovingAwayCloses)
{
    setDate(QDate(2024, 5, 9));
    enter();
    key(Qt::Key_Down, Qt::AltModifier);
    key(Qt::Key_Right);
    QTest::mousePress(window(), Qt::LeftButton, {}, QPoint(10, 150));
    EXPECT_FALSE(field->DroppedDown());
    QTest::mouseRelease(window(), Qt::LeftButton, {}, QPoint(10, 150));
    EXPECT_EQ(value(), QDate(2024, 5, 9));

    QCoreApplication::processEvents();
    key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(field->DroppedDown());
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(field->DroppedDown());

    leave();
    EXPECT_FALSE(field->DroppedDown());
    EXPECT_EQ(value(), QDate(2024, 5, 9));
}

TEST_F(DateField, DragFromTheButtonIntoTheCalendarPicksTheDay)
{
    setDate(QDate(2024, 5, 9));
    QWidget* button = field->editButtonControl();
    QTest::mousePress(button, Qt::LeftButton);
    ASSERT_TRUE(field->DroppedDown());
    const QPoint day = button->mapFromGlobal(
        calendar()->mapToGlobal(calendar()->dayRect(QDate(2024, 5, 23)).center()));
    QTest::mouseMove(button, day);
    QTest::mouseRelease(button, Qt::LeftButton, {}, day);
    EXPECT_FALSE(field->DroppedDown());
    EXPECT_EQ(field->text(), QStringLiteral("2024-05-23"));
}

TEST_F(DateField, TypingWhileOpenEditsTheField)
{
    setDate(QDate(2024, 5, 9));
    enter();
    key(Qt::Key_Down, Qt::AltModifier);
    type(QStringLiteral("2"));
    EXPECT_TRUE(field->DroppedDown());
    EXPECT_EQ(field->text(), QStringLiteral("2   -  -  "));
    EXPECT_EQ(field->Calendar()->date(), QDate(2024, 5, 9));
}

TEST_F(DateField, TheClickThatClosedTheCalendarDoesNotReopenIt)
{
    enter();
    field->DropDown();
    ASSERT_TRUE(field->DroppedDown());
    field->CloseUp(false);
    field->DropDown();
    EXPECT_FALSE(field->DroppedDown());
    QCoreApplication::processEvents();
    field->DropDown();
    EXPECT_TRUE(field->DroppedDown());
}

TEST_F(DateField, ButtonEventsCanHoldBackOpeningAndClosing)
{
    bool holdOpening = true;
    field->OnButtonDown = [&](QObject*, bool top, bool&, bool& handled) {
        EXPECT_TRUE(top);
        handled = holdOpening;
    };
    clickButton();
    EXPECT_FALSE(field->DroppedDown());

    holdOpening = false;
    int clicks = 0;
    field->OnButtonClick = [&](QObject*, bool& handled) {
        ++clicks;
        handled = true;
    };
    clickButton();
    ASSERT_TRUE(field->DroppedDown());
    clickButton();
    EXPECT_TRUE(field->DroppedDown());
    EXPECT_EQ(clicks, 2);
}

TEST_F(DateField, ChangeAndKeyEvents)
{
    int changes = 0;
    field->OnChange = [&](QObject*) { ++changes; };
    setDate(QDate(2024, 5, 9));
    EXPECT_EQ(changes, 1);
    enter();
    caretAt(8);
    type(QStringLiteral("1"));
    EXPECT_EQ(changes, 2);

    field->OnKeyDown = [](QObject*, int& key, Qt::KeyboardModifiers) {
        if (key == Qt::Key_Up)
            key = 0;
    };
    field->OnKeyPress = [](QObject*, QChar& c) {
        if (c == u'a')
            c = u'2';
    };
    caretAt(8);
    key(Qt::Key_Up);
    EXPECT_EQ(field->text(), QStringLiteral("2024-05-19"));
    type(QStringLiteral("a"));
    EXPECT_EQ(field->text(), QStringLiteral("2024-05-29"));
}

TEST_F(DateField, EnteringPicksUpChangedRegionalSettings)
{
    setDate(QDate(2024, 5, 9));
    platform::setRegionalSettings(regional(QStringLiteral("dd.MM.yyyy"), u'.'));
    enter();
    EXPECT_EQ(field->text(), QStringLiteral("09.05.2024"));
    caretAt(0);
    key(Qt::Key_Up);
    EXPECT_EQ(value(), QDate(2024, 5, 10));
}

TEST_F(DateField, TimeKindKeepsTheTimeOfDay)
{
    field->setKind(dtkTime);
    field->setValue(45421.5);
    EXPECT_EQ(field->text(), QStringLiteral("12:00:00"));
    EXPECT_EQ(field->Value().toDouble(), 0.5);
    enter();
    caretAt(0);
    key(Qt::Key_Down);
    EXPECT_EQ(field->text(), QStringLiteral("11:00:00"));
    field->selectAll();
    type(QStringLiteral("2"));
    key(Qt::Key_Return);
    EXPECT_EQ(field->text(), QStringLiteral("02:00:00"));
}

TEST_F(DateField, AClickInTheTextPutsTheCaretOnACell)
{
    setDate(QDate(2024, 5, 9));
    QPoint separator;
    for (int x = 0; x < field->width() && separator.isNull(); ++x) {
        if (field->cursorPositionAt(QPoint(x, field->height() / 2)) == 4)
            separator = QPoint(x, field->height() / 2);
    }
    ASSERT_FALSE(separator.isNull());
    QTest::mouseClick(field, Qt::LeftButton, {}, separator);
    EXPECT_TRUE(field->hasFocus());
    EXPECT_EQ(field->selectionStart(), 5);
    EXPECT_EQ(field->selectedText(), QStringLiteral("0"));
}

TEST_F(DateField, ButtonSitsAtTheRightEdgeAndHeightFollowsTheFont)
{
    const QRect button = field->editButtonControl()->geometry();
    const int frame = button.top();
    EXPECT_EQ(button.x() + button.width(), field->width() - frame);
    EXPECT_EQ(button.height(), field->height() - 2 * frame);
    EXPECT_EQ(button.width(), field->style()->pixelMetric(QStyle::PM_ScrollBarExtent));

    QFont songti(QStringLiteral("宋体"));
    songti.setPixelSize(14);
    field->setFont(songti);
    EXPECT_EQ(field->height(), 22);

    field->setLayoutDirection(Qt::RightToLeft);
    EXPECT_EQ(field->editButtonControl()->x(), frame);
}
