#pragma once

#include <QDate>
#include <QWidget>

class QKeyEvent;

namespace dateedit {

class MonthCalendar;

/// What an owner of a drop-down calendar offers it: closing, with or without taking the
/// calendar's date. An owner without it gets no requests.
class CloseUpHandler
{
public:
    virtual ~CloseUpHandler() = default;
    virtual void CloseUp(bool Accept) = 0;
};

/// The month calendar that drops down under a date field: a borderless window owned by the
/// field, shown without taking the focus, so the field keeps the keyboard.
class TPopupMonthCalendar : public QWidget
{
    Q_OBJECT
public:
    explicit TPopupMonthCalendar(QWidget* owner);

    QDate date() const;
    void setDate(QDate date);
    MonthCalendar* CalendarControl() const { return m_calendar; }
    /// Hands a key to the calendar's own keyboard navigation.
    void routeKey(QKeyEvent* event);
    /// Width of the raised border around the calendar.
    static constexpr int BorderWidth = 2;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    void requestCloseUp(bool accept);
    void calendarReleased(QPoint pos);
    void focusChanged(QWidget* old, QWidget* now);

    MonthCalendar* m_calendar = nullptr;
};

} // namespace dateedit
