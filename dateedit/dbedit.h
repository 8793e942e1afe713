#pragma once

#include "dateedit/maskededit.h"

#include <QKeySequence>
#include <QMenu>
#include <QPixmap>
#include <QPointer>
#include <QVariant>
#include <functional>

namespace dateedit {

using TNotifyEvent = std::function<void(QObject* Sender)>;
using TButtonClickEvent = std::function<void(QObject* Sender, bool& Handled)>;
using TButtonDownEvent =
    std::function<void(QObject* Sender, bool TopButton, bool& AutoRepeat, bool& Handled)>;
using TUpdateDataEvent = std::function<void(QObject* Sender, bool& Handled)>;
/// Key may be set to 0 to cancel the key.
using TKeyEvent = std::function<void(QObject* Sender, int& Key, Qt::KeyboardModifiers Shift)>;
/// Key may be changed, or set to a null character to cancel it.
using TKeyPressEvent = std::function<void(QObject* Sender, QChar& Key)>;

enum TEditButtonStyle
{
    ebsDropDown,
    ebsEllipsis,
    ebsGlyph,
    ebsUpDown,
    ebsPlus,
    ebsMinus
};

/// The properties of a button at the right edge of a field.
class TEditButton
{
public:
    virtual ~TEditButton() = default;

    QMenu* DropdownMenu() const { return m_dropdownMenu; }
    void setDropdownMenu(QMenu* menu);
    const QPixmap& Glyph() const { return m_glyph; }
    void setGlyph(const QPixmap& glyph);
    const QString& Hint() const { return m_hint; }
    void setHint(const QString& hint);
    int NumGlyphs() const { return m_numGlyphs; }
    /// Kept within 1 to 4.
    void setNumGlyphs(int count);
    const QKeySequence& ShortCut() const { return m_shortCut; }
    void setShortCut(const QKeySequence& shortCut);
    TEditButtonStyle Style() const { return m_style; }
    void setStyle(TEditButtonStyle style);
    bool Visible() const { return m_visible; }
    void setVisible(bool visible);
    /// 0 is automatic.
    int Width() const { return m_width; }
    void setWidth(int width);

    TNotifyEvent OnClick;
    TNotifyEvent OnDown;

    /// Called after any property change, so the owner can lay the button out again.
    void setChangeHandler(std::function<void()> handler) { m_changed = std::move(handler); }

protected:
    TEditButton(bool visible, QKeySequence shortCut);

private:
    void changed();

    QPointer<QMenu> m_dropdownMenu;
    QPixmap m_glyph;
    QString m_hint;
    int m_numGlyphs = 1;
    QKeySequence m_shortCut;
    TEditButtonStyle m_style = ebsDropDown;
    bool m_visible = false;
    int m_width = 0;
    std::function<void()> m_changed;
};

/// An edit button that is shown by default and pressed from the keyboard with Alt+Down.
class TVisibleEditButton : public TEditButton
{
public:
    TVisibleEditButton();
};

/// The value holder of a field. Bound to nothing, it holds the field's own value.
class TFieldDataLink
{
public:
    const QVariant& value() const { return m_value; }
    void setValue(const QVariant& value) { m_value = value; }
    bool canModify() const { return true; }

private:
    QVariant m_value;
};

class EditButtonControl;

/// A field with a value holder and a drop-down button at its right edge. The text follows the
/// current value; leaving the field commits it to the holder, and the text is refreshed from
/// the holder whenever the field gains or loses the focus.
class TCustomDBEdit : public MaskedTextEdit
{
    Q_OBJECT
public:
    explicit TCustomDBEdit(QWidget* parent = nullptr);
    ~TCustomDBEdit() override;

    /// The button's own widget, for layout and tests.
    QWidget* editButtonControl() const;

protected:
    TVisibleEditButton& EditButton() { return m_editButton; }
    const TVisibleEditButton& EditButton() const { return m_editButton; }
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool autoSize);
    bool AutoSelect() const { return m_autoSelect; }
    void setAutoSelect(bool autoSelect) { m_autoSelect = autoSelect; }
    bool Flat() const { return m_flat; }
    void setFlat(bool flat);

    TNotifyEvent OnChange;
    TButtonClickEvent OnButtonClick;
    TButtonDownEvent OnButtonDown;
    TUpdateDataEvent OnUpdateData;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    bool isEditable() const override;
    const QVariant& currentValue() const { return m_value; }
    const QVariant& storedValue() const { return m_dataLink.value(); }
    bool isValueModified() const { return m_valueModified; }

    /// Writes text and value together as the field's own: the text is not read back.
    void setOwnText(const QString& text, const QVariant& value);
    /// Refreshes the text from the stored value and clears both modified flags.
    void refreshFromStored();
    /// Writing the value: into the text at once, then committed.
    void writeValue(const QVariant& value);
    /// Validation if asked, OnUpdateData, the current value to the holder, refresh.
    void commit(bool validateFirst);

    virtual QVariant valueOfText(const QString& text) const;
    virtual QString textOfValue(const QVariant& value) const;
    virtual void validateEdit() {}
    /// Runs as the field gains the focus, before the text is refreshed.
    virtual void prepareEnter() {}

    /// A press of the edit button, by the mouse or from the keyboard.
    void pressEditButton(bool byMouse);
    void editButtonReleased(bool click);
    void setEditButtonHeldDown(bool held);
    bool isEditButtonHeldDown() const { return m_buttonHeld; }
    /// The drop-down opens; the button is already shown held down.
    virtual void showDropDown() {}
    virtual bool isDroppedDown() const { return false; }
    virtual void closeDropDown(bool accept) { Q_UNUSED(accept); }
    /// The window a drag from the button may enter.
    virtual QWidget* dropDownWindow() const { return nullptr; }
    /// Keys the open drop-down takes before anything else; true when taken.
    virtual bool dropDownKey(QKeyEvent* event)
    {
        Q_UNUSED(event);
        return false;
    }
    /// Keys the field handles before the template; true when taken.
    virtual bool fieldKey(QKeyEvent* event)
    {
        Q_UNUSED(event);
        return false;
    }

    /// Marks the button as just closed, so a press of it arriving before the mark is
    /// processed does not reopen the drop-down.
    void postJustClosedMarker();

    void textChange() override;
    void filterTypedChar(QChar& c) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class EditButtonControl;
    void layoutEditButton();
    void adjustHeight();
    bool takeJustClosedMarker();

    TVisibleEditButton m_editButton;
    EditButtonControl* m_buttonControl = nullptr;
    TFieldDataLink m_dataLink;
    QVariant m_value;
    bool m_valueModified = false;
    bool m_settingOwnText = false;
    bool m_autoSize = true;
    bool m_autoSelect = true;
    bool m_flat = false;
    bool m_buttonHeld = false;
    bool m_openingClick = false;
    bool m_markerPending = false;
    // Entered and not yet left; switching windows or opening a menu does neither.
    bool m_entered = false;
};

} // namespace dateedit
