#include "dateedit/popupmonthcalendar.h"

#include "dateedit/monthcalendar.h"
#include "platform/environment.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <qdrawutil.h>

namespace dateedit {

namespace {

const QEvent::Type kCloseRequest = static_cast<QEvent::Type>(QEvent::registerEventType());

bool isInside(const QWidget* window, const QWidget* w)
{
    return w && (w == window || window->isAncestorOf(w));
}

} // namespace

TPopupMonthCalendar::TPopupMonthCalendar(QWidget* owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
{
    // Never activated: the field keeps the focus and routes the calendar's keys to it.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_X11NetWmWindowTypeCombo);
    setFocusPolicy(Qt::NoFocus);
    m_calendar = new MonthCalendar(this);
    m_calendar->setObjectName(QStringLiteral("MonthCalendar"));
    m_calendar->setFirstDayOfWeek(platform::regionalSettings().firstDayOfWeek);
    m_calendar->move(BorderWidth, BorderWidth);
    m_calendar->resize(m_calendar->sizeHint());
    setFixedSize(m_calendar->size() + QSize(2 * BorderWidth, 2 * BorderWidth));
    connect(m_calendar, &MonthCalendar::released, this, &TPopupMonthCalendar::calendarReleased);
    connect(m_calendar, &MonthCalendar::pressedOutside, this, [this] { requestCloseUp(false); });
    connect(qApp, &QApplication::focusChanged, this, &TPopupMonthCalendar::focusChanged);
}

QDate TPopupMonthCalendar::date() const
{
    return m_calendar->date();
}

void TPopupMonthCalendar::setDate(QDate date)
{
    m_calendar->setFirstDayOfWeek(platform::regionalSettings().firstDayOfWeek);
    m_calendar->setDate(date);
}

void TPopupMonthCalendar::routeKey(QKeyEvent* event)
{
    QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text(),
                   event->isAutoRepeat(), static_cast<ushort>(event->count()));
    QCoreApplication::sendEvent(m_calendar, &copy);
}

void TPopupMonthCalendar::paintEvent(QPaintEvent*)
{
    // A raised outer edge and inside it a raised inner edge.
    QPainter p(this);
    qDrawWinPanel(&p, rect(), palette(), false);
}

void TPopupMonthCalendar::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        requestCloseUp(true);
        break;
    case Qt::Key_Escape:
        requestCloseUp(false);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

bool TPopupMonthCalendar::event(QEvent* event)
{
    if (event->type() == kCloseRequest) {
        requestCloseUp(false);
        return true;
    }
    return QWidget::event(event);
}

void TPopupMonthCalendar::requestCloseUp(bool accept)
{
    if (auto* owner = dynamic_cast<CloseUpHandler*>(parentWidget()))
        owner->CloseUp(accept);
}

void TPopupMonthCalendar::calendarReleased(QPoint pos)
{
    if (!isVisible() || !m_calendar->rect().contains(pos))
        return;
    switch (m_calendar->hitTest(pos)) {
    case CalendarHit::Day:
    case CalendarHit::DaysBackground:
    case CalendarHit::TodayLine:
    case CalendarHit::TitleMonth:
        requestCloseUp(true);
        break;
    default:
        break;
    }
}

void TPopupMonthCalendar::focusChanged(QWidget* old, QWidget* now)
{
    // Handled later, once the focus change is complete.
    if (isInside(this, old) && !isInside(this, now))
        QCoreApplication::postEvent(this, new QEvent(kCloseRequest));
}

} // namespace dateedit
