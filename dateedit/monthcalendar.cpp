#include "dateedit/monthcalendar.h"

#include "platform/environment.h"

#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace dateedit {

namespace {

constexpr int kMargin = 4;
constexpr int kWeeks = 6;
constexpr int kNotch = 120;

int bottom(const QRect& r)
{
    return r.y() + r.height();
}

bool inRange(QDate date)
{
    return date.isValid() && date.year() >= 1 && date.year() <= 9999;
}

QDate today()
{
    return platform::currentDateTime().date();
}

/// The weekday's name in the header: the narrow one, unless the locale's narrow names are
/// mere numbers.
QString weekdayName(int day)
{
    const QLocale locale;
    const QString narrow = locale.dayName(day, QLocale::NarrowFormat);
    if (!narrow.isEmpty() && !narrow.front().isDigit())
        return narrow;
    return locale.dayName(day, QLocale::ShortFormat).left(2);
}

} // namespace

MonthCalendar::MonthCalendar(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setDate(today());
}

void MonthCalendar::setDate(QDate date)
{
    select(date, true);
}

void MonthCalendar::setFirstDayOfWeek(Qt::DayOfWeek day)
{
    m_firstDay = day;
    update();
}

void MonthCalendar::select(QDate date, bool showItsMonth)
{
    if (!inRange(date))
        return;
    const bool changed = date != m_selected;
    m_selected = date;
    if (showItsMonth)
        m_shown = QDate(date.year(), date.month(), 1);
    update();
    if (changed)
        emit dateChanged(date);
}

void MonthCalendar::moveDays(int days)
{
    select(m_selected.addDays(days), true);
}

void MonthCalendar::moveMonths(int months)
{
    select(m_selected.addMonths(months), true);
}

QDate MonthCalendar::firstShownDay() const
{
    const int offset = (m_shown.dayOfWeek() - m_firstDay + 7) % 7;
    return m_shown.addDays(-offset);
}

QString MonthCalendar::monthText() const
{
    return QLocale().standaloneMonthName(m_shown.month(), QLocale::LongFormat);
}

QString MonthCalendar::todayText() const
{
    return QStringLiteral("今天: ") +
           today().toString(platform::regionalSettings().shortDateFormat);
}

MonthCalendar::Layout MonthCalendar::layout() const
{
    const QFontMetrics fm = fontMetrics();
    Layout l;
    int dayNameWidth = fm.horizontalAdvance(QStringLiteral("00"));
    for (int d = 1; d <= 7; ++d)
        dayNameWidth = std::max(dayNameWidth, fm.horizontalAdvance(weekdayName(d)));
    l.cellWidth = dayNameWidth + 12;
    l.cellHeight = fm.height() + 4;

    const int titleHeight = fm.height() + 10;
    l.title = QRect(kMargin, kMargin, width() - 2 * kMargin, titleHeight);
    const int button = titleHeight - 4;
    l.prev = QRect(l.title.x() + 2, l.title.y() + 2, button, button);
    l.next = QRect(l.title.x() + l.title.width() - 2 - button, l.title.y() + 2, button, button);
    const QString month = monthText();
    const QString year = QString::number(m_shown.year());
    const int monthWidth = fm.horizontalAdvance(month);
    const int spaceWidth = fm.horizontalAdvance(u' ');
    const int yearWidth = fm.horizontalAdvance(year);
    const int textLeft = l.title.x() + (l.title.width() - monthWidth - spaceWidth - yearWidth) / 2;
    l.month = QRect(textLeft, l.title.y(), monthWidth, titleHeight);
    l.year = QRect(textLeft + monthWidth + spaceWidth, l.title.y(), yearWidth, titleHeight);

    const int gridLeft = (width() - 7 * l.cellWidth) / 2;
    l.header = QRect(gridLeft, bottom(l.title), 7 * l.cellWidth, l.cellHeight + 3);
    l.grid = QRect(gridLeft, bottom(l.header), 7 * l.cellWidth, kWeeks * l.cellHeight);
    l.days = QRect(kMargin, l.grid.y(), width() - 2 * kMargin, l.grid.height());
    const int lineHeight = fm.height() + 6;
    l.today = QRect(gridLeft, bottom(l.grid) + 2,
                    fm.height() + 4 + fm.horizontalAdvance(todayText()), lineHeight);
    return l;
}

QSize MonthCalendar::sizeHint() const
{
    const QFontMetrics fm = fontMetrics();
    const Layout l = layout();
    const int titleWidth =
        2 * (fm.height() + 10) + fm.horizontalAdvance(QStringLiteral("September 9999")) + 16;
    const int width = 2 * kMargin + std::max({7 * l.cellWidth, titleWidth, l.today.width() + 8});
    const int height = bottom(l.today) + kMargin;
    return {width, height};
}

QRect MonthCalendar::dayRect(QDate day) const
{
    const qint64 index = firstShownDay().daysTo(day);
    if (!day.isValid() || index < 0 || index >= 7 * kWeeks)
        return {};
    const Layout l = layout();
    return QRect(l.grid.x() + static_cast<int>(index % 7) * l.cellWidth,
                 l.grid.y() + static_cast<int>(index / 7) * l.cellHeight, l.cellWidth,
                 l.cellHeight);
}

QRect MonthCalendar::prevButtonRect() const
{
    return layout().prev;
}

QRect MonthCalendar::nextButtonRect() const
{
    return layout().next;
}

QRect MonthCalendar::titleMonthRect() const
{
    return layout().month;
}

QRect MonthCalendar::titleYearRect() const
{
    return layout().year;
}

QRect MonthCalendar::headerRect() const
{
    return layout().header;
}

QRect MonthCalendar::todayLineRect() const
{
    return layout().today;
}

CalendarHit MonthCalendar::hitTest(QPoint pos, QDate* day) const
{
    const Layout l = layout();
    if (l.title.contains(pos)) {
        if (l.prev.contains(pos))
            return CalendarHit::PrevButton;
        if (l.next.contains(pos))
            return CalendarHit::NextButton;
        if (l.month.contains(pos))
            return CalendarHit::TitleMonth;
        if (l.year.contains(pos))
            return CalendarHit::TitleYear;
        return CalendarHit::TitleBackground;
    }
    if (l.header.contains(pos))
        return CalendarHit::DayOfWeek;
    if (l.grid.contains(pos)) {
        const int column = (pos.x() - l.grid.x()) / l.cellWidth;
        const int row = (pos.y() - l.grid.y()) / l.cellHeight;
        const QDate hit = firstShownDay().addDays(row * 7 + column);
        if (!inRange(hit))
            return CalendarHit::DaysBackground;
        if (day)
            *day = hit;
        return CalendarHit::Day;
    }
    if (l.days.contains(pos))
        return CalendarHit::DaysBackground;
    if (l.today.contains(pos))
        return CalendarHit::TodayLine;
    return CalendarHit::Nowhere;
}

void MonthCalendar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const Layout l = layout();
    const QPalette& pal = palette();
    p.fillRect(rect(), pal.color(QPalette::Base));

    p.fillRect(l.title, pal.color(QPalette::Button));
    p.setPen(pal.color(QPalette::ButtonText));
    p.setBrush(pal.color(QPalette::ButtonText));
    p.setRenderHint(QPainter::Antialiasing);
    const auto arrow = [&p](const QRect& r, bool left) {
        const QPointF c = QRectF(r).center();
        const qreal s = r.height() / 4.0;
        const QPointF tip(left ? c.x() - s : c.x() + s, c.y());
        const QPointF a(left ? c.x() + s : c.x() - s, c.y() - s);
        const QPointF b(left ? c.x() + s : c.x() - s, c.y() + s);
        const QPointF points[3] = {tip, a, b};
        p.drawPolygon(points, 3);
    };
    arrow(l.prev, true);
    arrow(l.next, false);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    QFont bold = font();
    bold.setBold(true);
    p.setFont(bold);
    p.drawText(l.month.united(l.year).adjusted(-8, 0, 8, 0), Qt::AlignCenter,
               monthText() + u' ' + QString::number(m_shown.year()));
    p.setFont(font());

    p.setPen(pal.color(QPalette::Text));
    for (int i = 0; i < 7; ++i) {
        const int dow = (m_firstDay - 1 + i) % 7 + 1;
        const QRect cell(l.header.x() + i * l.cellWidth, l.header.y(), l.cellWidth, l.cellHeight);
        p.drawText(cell, Qt::AlignCenter, weekdayName(dow));
    }
    p.drawLine(l.header.x(), bottom(l.header) - 2, l.header.x() + l.header.width() - 1,
               bottom(l.header) - 2);

    const QDate now = today();
    const QDate first = firstShownDay();
    for (int i = 0; i < 7 * kWeeks; ++i) {
        const QDate d = first.addDays(i);
        if (!inRange(d))
            continue;
        const QRect cell = dayRect(d);
        QColor ink = pal.color(QPalette::Text);
        if (d == m_selected) {
            p.fillRect(cell.adjusted(1, 1, -1, -1), pal.color(QPalette::Highlight));
            ink = pal.color(QPalette::HighlightedText);
        } else if (d.month() != m_shown.month()) {
            ink = pal.color(QPalette::Disabled, QPalette::Text);
        }
        p.setPen(ink);
        p.drawText(cell, Qt::AlignCenter, QString::number(d.day()));
        if (d == now) {
            p.setPen(QPen(Qt::red, 1));
            p.drawEllipse(cell.adjusted(1, 1, -2, -2));
        }
    }

    const int mark = fontMetrics().height();
    const QRect marker(l.today.x(), l.today.y() + (l.today.height() - mark) / 2, mark, mark);
    p.setPen(QPen(Qt::red, 1));
    p.drawEllipse(marker.adjusted(1, 1, -2, -2));
    p.setPen(pal.color(QPalette::Text));
    p.drawText(l.today.adjusted(mark + 4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, todayText());
}

void MonthCalendar::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (!rect().contains(pos)) {
        emit pressedOutside();
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    QDate day;
    switch (hitTest(pos, &day)) {
    case CalendarHit::PrevButton:
        moveMonths(-1);
        break;
    case CalendarHit::NextButton:
        moveMonths(1);
        break;
    case CalendarHit::Day:
        select(day, false);
        break;
    case CalendarHit::TodayLine:
        select(today(), true);
        break;
    default:
        break;
    }
}

void MonthCalendar::mouseMoveEvent(QMouseEvent* event)
{
    QDate day;
    if ((event->buttons() & Qt::LeftButton) &&
        hitTest(event->position().toPoint(), &day) == CalendarHit::Day)
        select(day, false);
}

void MonthCalendar::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_selected.year() != m_shown.year() || m_selected.month() != m_shown.month())
        select(m_selected, true);
    emit released(event->position().toPoint());
}

void MonthCalendar::keyPressEvent(QKeyEvent* event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Left:
        moveDays(-1);
        break;
    case Qt::Key_Right:
        moveDays(1);
        break;
    case Qt::Key_Up:
        moveDays(-7);
        break;
    case Qt::Key_Down:
        moveDays(7);
        break;
    case Qt::Key_PageUp:
        moveMonths(ctrl ? -12 : -1);
        break;
    case Qt::Key_PageDown:
        moveMonths(ctrl ? 12 : 1);
        break;
    case Qt::Key_Home:
        select(QDate(m_selected.year(), m_selected.month(), 1), true);
        break;
    case Qt::Key_End:
        select(QDate(m_selected.year(), m_selected.month(), m_selected.daysInMonth()), true);
        break;
    default:
        event->ignore();
        return;
    }
    event->accept();
}

void MonthCalendar::wheelEvent(QWheelEvent* event)
{
    // Wheel down is one day later, wheel up one day earlier, a notch at a time.
    m_wheelRest += event->angleDelta().y();
    while (m_wheelRest >= kNotch) {
        m_wheelRest -= kNotch;
        moveDays(-1);
    }
    while (m_wheelRest <= -kNotch) {
        m_wheelRest += kNotch;
        moveDays(1);
    }
    event->accept();
}

} // namespace dateedit
