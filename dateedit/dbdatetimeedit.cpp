#include "dateedit/dbdatetimeedit.h"

#include "dateedit/geometry.h"
#include "dateedit/monthcalendar.h"
#include "platform/environment.h"
#include "platform/errors.h"
#include "platform/messages.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QScreen>
#include <QWheelEvent>

namespace dateedit {

namespace {

constexpr int kNotch = 120;

Qt::KeyboardModifiers plainModifiers(const QKeyEvent* event)
{
    return event->modifiers() & ~Qt::KeypadModifier;
}

bool isCalendarKey(const QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
        return true;
    case Qt::Key_Home:
    case Qt::Key_End:
        return event->modifiers() & Qt::ControlModifier;
    default:
        return false;
    }
}

bool isEnterOrEscape(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
           event->key() == Qt::Key_Escape;
}

} // namespace

TCustomDBDateTimeEdit::TCustomDBDateTimeEdit(QWidget* parent) : TCustomDBEdit(parent)
{
    updateTemplate();
    refreshFromStored();
}

TCustomDBDateTimeEdit::~TCustomDBDateTimeEdit()
{
    if (m_droppedDown)
        qApp->removeEventFilter(this);
}

void TCustomDBDateTimeEdit::updateTemplate()
{
    const platform::RegionalSettings regional = platform::regionalSettings();
    const DateTemplate t =
        m_kind == dtkDate ? dateTemplateFor(regional.shortDateFormat) : timeTemplate();
    m_dateSeparator = usableDateSeparator(regional.dateSeparator);
    m_timeSeparator = usableTimeSeparator(regional.timeSeparator);
    m_displayFormat = t.displayFormat;
    const EditMask mask(t.editMask, m_dateSeparator, m_timeSeparator);
    if (!(mask == editMask()))
        setEditMask(mask);
}

void TCustomDBDateTimeEdit::setKind(TDateTimeKind kind)
{
    if (kind == m_kind)
        return;
    m_kind = kind;
    updateTemplate();
    refreshFromStored();
}

void TCustomDBDateTimeEdit::setValue(const QVariant& value)
{
    QVariant number;
    // An invalid date or moment is no date at all, not day 0.
    const bool invalidDate =
        (value.typeId() == QMetaType::QDate && !value.toDate().isValid()) ||
        (value.typeId() == QMetaType::QDateTime && !value.toDateTime().isValid());
    if (value.isValid() && !value.isNull() && !invalidDate) {
        double d = 0;
        if (value.typeId() == QMetaType::QDate) {
            d = dateToNumber(value.toDate());
        } else if (value.typeId() == QMetaType::QDateTime) {
            const QDateTime dt = value.toDateTime();
            d = dateToNumber(dt.date()) + timeToNumber(dt.time());
        } else {
            bool ok = false;
            d = value.toDouble(&ok);
            if (!ok)
                throw platform::EVariantError(platform::formatMessage(
                    QStringLiteral("Could not convert variant of type (%s) into type (Double)"),
                    {QString::fromLatin1(value.typeName())}));
        }
        const std::optional<QDate> date = numberToDate(d);
        if (!date)
            throw platform::EConvertError(platform::formatMessage(
                QStringLiteral("'%s' is not a valid date"), {QString::number(d, 'g', 17)}));
        // A date keeps only its whole-day part, a time only its time of day.
        number = m_kind == dtkDate ? dateToNumber(*date) : timeToNumber(*numberToTime(d));
    }
    writeValue(number);
}

QDate TCustomDBDateTimeEdit::today() const
{
    return platform::currentDateTime().date();
}

QVariant TCustomDBDateTimeEdit::valueOfText(const QString& text) const
{
    if (m_kind == dtkDate) {
        if (const auto date = textToDate(m_displayFormat, text, false, false, today()))
            return dateToNumber(*date);
        return {};
    }
    if (const auto time = textToTime(m_displayFormat, text, false))
        return timeToNumber(*time);
    return {};
}

QString TCustomDBDateTimeEdit::textOfValue(const QVariant& value) const
{
    if (value.isValid() && !value.isNull()) {
        const double number = value.toDouble();
        if (m_kind == dtkDate) {
            if (const auto date = numberToDate(number))
                return dateToText(*date, m_displayFormat, m_dateSeparator);
        } else if (const auto time = numberToTime(number)) {
            return timeToText(*time, m_displayFormat, m_timeSeparator);
        }
    }
    return editMask().blankText();
}

void TCustomDBDateTimeEdit::validateEdit()
{
    if (m_validating)
        return;
    QScopedValueRollback guard(m_validating, true);
    QVariant value;
    if (m_kind == dtkDate) {
        if (const auto date = textToDate(m_displayFormat, text(), true, false, today()))
            value = dateToNumber(*date);
    } else if (const auto time = textToTime(m_displayFormat, text(), true)) {
        value = timeToNumber(*time);
    }
    setOwnText(textOfValue(value), value);
}

void TCustomDBDateTimeEdit::prepareEnter()
{
    updateTemplate();
}

void TCustomDBDateTimeEdit::enterKeyPressed()
{
    validateEdit();
}

bool TCustomDBDateTimeEdit::canStep() const
{
    return !isReadOnly() && isEditable();
}

void TCustomDBDateTimeEdit::step(bool up)
{
    const auto stepped = stepPart(text(), m_displayFormat, editMask(), caretPosition(), up);
    if (!stepped)
        return;
    putText(stepped->text);
    selectCells(stepped->selStart, stepped->selLength);
}

bool TCustomDBDateTimeEdit::fieldKey(QKeyEvent* event)
{
    if ((event->key() != Qt::Key_Up && event->key() != Qt::Key_Down) ||
        plainModifiers(event) != Qt::NoModifier)
        return false;
    event->accept();
    if (canStep())
        step(event->key() == Qt::Key_Up);
    return true;
}

void TCustomDBDateTimeEdit::wheelEvent(QWheelEvent* event)
{
    platform::guarded([this, event] {
        if (m_droppedDown) {
            QCoreApplication::sendEvent(m_calendar->CalendarControl(), event);
            event->accept();
            return;
        }
        if (!hasFocus() || event->modifiers() != Qt::NoModifier ||
            event->buttons() != Qt::NoButton || !canStep()) {
            event->ignore();
            return;
        }
        event->accept();
        m_wheelRest += event->angleDelta().y();
        while (m_wheelRest >= kNotch) {
            m_wheelRest -= kNotch;
            step(true);
        }
        while (m_wheelRest <= -kNotch) {
            m_wheelRest += kNotch;
            step(false);
        }
    });
}

// ---------------------------------------------------------------------------------------------

void TCustomDBDateTimeEdit::DropDown()
{
    pressEditButton(false);
}

void TCustomDBDateTimeEdit::showDropDown()
{
    if (!m_calendar) {
        m_calendar = new TPopupMonthCalendar(this);
        m_calendar->setObjectName(QStringLiteral("Calendar"));
    }
    if (OnDropDown)
        OnDropDown(this);
    std::optional<QDate> date;
    if (m_kind == dtkDate && !currentValue().isNull())
        date = numberToDate(currentValue().toDouble());
    m_calendar->setDate(date.value_or(today()));
    m_calendar->move(calendarPosition());
    m_calendar->show();
    m_droppedDown = true;
    // A press anywhere else closes the calendar.
    qApp->installEventFilter(this);
}

QPoint TCustomDBDateTimeEdit::calendarPosition() const
{
    const QRect field(mapToGlobal(QPoint(0, 0)), size());
    std::vector<Monitor> monitors;
    for (const QScreen* screen : QGuiApplication::screens())
        monitors.push_back({screen->geometry(), screen->availableGeometry()});
    const QRect workArea = nearestWorkArea(field, monitors);
    if (workArea.isEmpty())
        return {field.x(), field.y() + field.height()};
    return dropDownPosition(workArea, field, m_calendar->size(),
                            layoutDirection() == Qt::RightToLeft);
}

void TCustomDBDateTimeEdit::CloseUp(bool Accept)
{
    if (!m_droppedDown)
        return;
    m_droppedDown = false;
    qApp->removeEventFilter(this);
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    const QWidget* focus = QApplication::focusWidget();
    if (focus && (focus == m_calendar || m_calendar->isAncestorOf(focus)))
        setFocus(Qt::OtherFocusReason);
    m_calendar->hide();

    const auto release = qScopeGuard([this] {
        setEditButtonHeldDown(false);
        postJustClosedMarker();
    });
    if (Accept && !isReadOnly() && isEditable() && m_kind == dtkDate) {
        // Taken into the text and the current value; committed when the field is left.
        const QVariant value = dateToNumber(m_calendar->date());
        setOwnText(textOfValue(value), value);
        if (hasFocus())
            selectAll();
    }
    if (OnCloseUp)
        OnCloseUp(this, Accept);
}

bool TCustomDBDateTimeEdit::dropDownKey(QKeyEvent* event)
{
    if (!m_droppedDown)
        return false;
    if (isCalendarKey(event)) {
        m_calendar->routeKey(event);
    } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        CloseUp(true);
    } else if (event->key() == Qt::Key_Escape) {
        CloseUp(false);
    } else {
        return false;
    }
    event->accept();
    return true;
}

bool TCustomDBDateTimeEdit::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        // Keys the field takes are kept from the window's shortcuts.
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods = plainModifiers(key);
        const bool arrow = key->key() == Qt::Key_Up || key->key() == Qt::Key_Down;
        const QKeySequence& shortCut = EditButton().ShortCut();
        const bool claimed =
            (m_droppedDown && (isCalendarKey(key) || isEnterOrEscape(key))) ||
            (key->key() == Qt::Key_Escape && mods == Qt::NoModifier && isTextModified()) ||
            (arrow && mods == Qt::NoModifier) ||
            (!shortCut.isEmpty() && shortCut[0] == QKeyCombination(mods, Qt::Key(key->key())));
        if (claimed) {
            event->accept();
            return true;
        }
    }
    return TCustomDBEdit::event(event);
}

bool TCustomDBDateTimeEdit::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (m_droppedDown && (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
                          type == QEvent::NonClientAreaMouseButtonPress)) {
        const auto* w = qobject_cast<QWidget*>(watched);
        const bool ours = w == this || isAncestorOf(w) || w == m_calendar ||
                          (m_calendar && m_calendar->isAncestorOf(w));
        if (w && !ours)
            platform::guarded([this] { CloseUp(false); });
    }
    return TCustomDBEdit::eventFilter(watched, event);
}

void TCustomDBDateTimeEdit::hideEvent(QHideEvent* event)
{
    TCustomDBEdit::hideEvent(event);
    platform::guarded([this] { CloseUp(false); });
}

void TCustomDBDateTimeEdit::changeEvent(QEvent* event)
{
    TCustomDBEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        platform::guarded([this] { CloseUp(false); });
}

// ---------------------------------------------------------------------------------------------

TDBDateTimeEdit::TDBDateTimeEdit(QWidget* parent) : TCustomDBDateTimeEdit(parent)
{}

} // namespace dateedit
