#pragma once

#include <QDate>
#include <QWidget>

namespace dateedit {

/// The areas of a month calendar a mouse position can fall on.
enum class CalendarHit
{
    Nowhere,
    TitleBackground,
    PrevButton,
    NextButton,
    TitleMonth,
    TitleYear,
    DayOfWeek,
    Day,
    DaysBackground,
    TodayLine
};

/// A month calendar showing one month: a title with the previous and next buttons, the
/// weekday header, six weeks of days, today's date circled and a line naming today at the
/// bottom. Its selected date moves with clicks, the keyboard and the wheel.
class MonthCalendar : public QWidget
{
    Q_OBJECT
public:
    explicit MonthCalendar(QWidget* parent = nullptr);

    QDate date() const { return m_selected; }
    /// Selects a date and shows its month.
    void setDate(QDate date);
    /// The first day of the month on show.
    QDate shownMonth() const { return m_shown; }
    void setFirstDayOfWeek(Qt::DayOfWeek day);
    Qt::DayOfWeek firstDayOfWeek() const { return m_firstDay; }

    /// Moves the selected date by whole days or months, showing its month.
    void moveDays(int days);
    void moveMonths(int months);

    CalendarHit hitTest(QPoint pos, QDate* day = nullptr) const;
    /// Where things are drawn, for the hit areas; a day not on show has an empty rectangle.
    QRect dayRect(QDate day) const;
    QRect prevButtonRect() const;
    QRect nextButtonRect() const;
    QRect titleMonthRect() const;
    QRect titleYearRect() const;
    QRect headerRect() const;
    QRect todayLineRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void dateChanged(QDate date);
    /// A mouse release, after the calendar's own handling of it.
    void released(QPoint pos);
    /// A press outside the calendar while it holds the mouse.
    void pressedOutside();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    struct Layout
    {
        QRect title, prev, next, month, year, header, grid, days, today;
        int cellWidth = 0;
        int cellHeight = 0;
    };
    Layout layout() const;
    QDate firstShownDay() const;
    QString monthText() const;
    QString todayText() const;
    void select(QDate date, bool showItsMonth);

    QDate m_selected;
    QDate m_shown;
    Qt::DayOfWeek m_firstDay = Qt::Monday;
    int m_wheelRest = 0;
};

} // namespace dateedit
