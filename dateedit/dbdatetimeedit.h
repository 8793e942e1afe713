#pragma once

#include "dateedit/dbedit.h"
#include "dateedit/popupmonthcalendar.h"

namespace dateedit {

enum TDateTimeKind
{
    dtkDate,
    dtkTime
};

using TCloseUpEvent = std::function<void(QObject* Sender, bool Accept)>;

/// A date field: a template from the regional short date format, text read as a date while
/// typing, validation that completes and clamps, stepping with the arrows and the wheel, and
/// a drop-down month calendar.
class TCustomDBDateTimeEdit : public TCustomDBEdit, public CloseUpHandler
{
    Q_OBJECT
public:
    explicit TCustomDBDateTimeEdit(QWidget* parent = nullptr);
    ~TCustomDBDateTimeEdit() override;

    /// Opens the calendar as a press of the drop-down button from the keyboard does.
    void DropDown();
    void CloseUp(bool Accept) override;
    bool DroppedDown() const { return m_droppedDown; }
    /// The calendar; created when first needed.
    TPopupMonthCalendar* Calendar() const { return m_calendar; }

    /// The display format in use, such as "YYYY/MM/DD".
    const QString& displayFormat() const { return m_displayFormat; }

protected:
    /// A null QVariant, or a double: days since 30 December 1899.
    QVariant Value() const { return currentValue(); }
    /// A null QVariant, a number, a QDate or a QDateTime. For dates the time of day is cut
    /// off. Raises EConvertError for a number outside the years 1 to 9999 and EVariantError
    /// for a value that is no date.
    void setValue(const QVariant& value);
    TDateTimeKind Kind() const { return m_kind; }
    void setKind(TDateTimeKind kind);

    TNotifyEvent OnDropDown;
    TCloseUpEvent OnCloseUp;

    QVariant valueOfText(const QString& text) const override;
    QString textOfValue(const QVariant& value) const override;
    void validateEdit() override;
    void prepareEnter() override;
    void enterKeyPressed() override;

    void showDropDown() override;
    bool isDroppedDown() const override { return m_droppedDown; }
    void closeDropDown(bool accept) override { CloseUp(accept); }
    QWidget* dropDownWindow() const override { return m_calendar; }
    bool dropDownKey(QKeyEvent* event) override;
    bool fieldKey(QKeyEvent* event) override;

    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    /// Builds the template from the regional settings; the text is fitted into it.
    void updateTemplate();
    void step(bool up);
    bool canStep() const;
    QDate today() const;
    QPoint calendarPosition() const;

    TDateTimeKind m_kind = dtkDate;
    QString m_displayFormat;
    QChar m_dateSeparator = u'/';
    QChar m_timeSeparator = u':';
    bool m_droppedDown = false;
    bool m_validating = false;
    int m_wheelRest = 0;
    TPopupMonthCalendar* m_calendar = nullptr;
};

/// The issue-date field of the cheque entry window.
class TDBDateTimeEdit : public TCustomDBDateTimeEdit
{
    Q_OBJECT
public:
    explicit TDBDateTimeEdit(QWidget* parent = nullptr);

    using TCustomDBDateTimeEdit::Kind;
    using TCustomDBDateTimeEdit::setKind;
    using TCustomDBDateTimeEdit::setValue;
    using TCustomDBDateTimeEdit::Value;

    using TCustomDBEdit::AutoSelect;
    using TCustomDBEdit::AutoSize;
    using TCustomDBEdit::EditButton;
    using TCustomDBEdit::Flat;
    using TCustomDBEdit::setAutoSelect;
    using TCustomDBEdit::setAutoSize;
    using TCustomDBEdit::setFlat;

    using TCustomDBDateTimeEdit::OnCloseUp;
    using TCustomDBDateTimeEdit::OnDropDown;
    using TCustomDBEdit::OnButtonClick;
    using TCustomDBEdit::OnButtonDown;
    using TCustomDBEdit::OnChange;
    using TCustomDBEdit::OnEnter;
    using TCustomDBEdit::OnExit;
    using TCustomDBEdit::OnKeyDown;
    using TCustomDBEdit::OnKeyPress;
    using TCustomDBEdit::OnUpdateData;
};

} // namespace dateedit
