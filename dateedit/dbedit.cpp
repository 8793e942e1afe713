#include "dateedit/dbedit.h"

#include "dateedit/geometry.h"
#include "platform/errors.h"
#include "platform/messages.h"

#include <QApplication>
#include <QFocusEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyle>
#include <QStyleOption>

namespace dateedit {

namespace {

const QEvent::Type kJustClosed = static_cast<QEvent::Type>(QEvent::registerEventType());

/// Focus changes that only follow the window being switched or a menu opening: the field is
/// neither entered nor left by them.
bool isPassingFocusChange(Qt::FocusReason reason)
{
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

} // namespace

// ---------------------------------------------------------------------------------------------

TEditButton::TEditButton(bool visible, QKeySequence shortCut)
    : m_shortCut(std::move(shortCut)), m_visible(visible)
{}

void TEditButton::changed()
{
    if (m_changed)
        m_changed();
}

void TEditButton::setDropdownMenu(QMenu* menu)
{
    m_dropdownMenu = menu;
}

void TEditButton::setGlyph(const QPixmap& glyph)
{
    m_glyph = glyph;
    changed();
}

void TEditButton::setHint(const QString& hint)
{
    m_hint = hint;
    changed();
}

void TEditButton::setNumGlyphs(int count)
{
    m_numGlyphs = std::clamp(count, 1, 4);
    changed();
}

void TEditButton::setShortCut(const QKeySequence& shortCut)
{
    m_shortCut = shortCut;
}

void TEditButton::setStyle(TEditButtonStyle style)
{
    m_style = style;
    changed();
}

void TEditButton::setVisible(bool visible)
{
    m_visible = visible;
    changed();
}

void TEditButton::setWidth(int width)
{
    m_width = width;
    changed();
}

TVisibleEditButton::TVisibleEditButton()
    : TEditButton(true, QKeySequence(Qt::AltModifier | Qt::Key_Down))
{}

// ---------------------------------------------------------------------------------------------

/// The drop-down button's widget. While it holds the mouse after a press, a drag into the open
/// drop-down hands the mouse over to it.
class EditButtonControl : public QWidget
{
public:
    explicit EditButtonControl(TCustomDBEdit* owner) : QWidget(owner), m_owner(owner)
    {
        setObjectName(QStringLiteral("EditButton"));
        setCursor(Qt::ArrowCursor);
        setFocusPolicy(Qt::NoFocus);
    }

    void stopForwarding()
    {
        m_forwardTarget = nullptr;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override;

    void mousePressEvent(QMouseEvent* event) override
    {
        event->accept();
        if (event->button() != Qt::LeftButton)
            return;
        m_mouseDown = true;
        m_inside = true;
        m_forwardTarget = nullptr;
        update();
        platform::guarded([this] { m_owner->pressEditButton(true); });
    }

    void mouseMoveEvent(QMouseEvent* event) override
    {
        event->accept();
        if (!m_mouseDown)
            return;
        const QPoint global = event->globalPosition().toPoint();
        if (m_forwardTarget) {
            forward(QEvent::MouseMove, global, Qt::NoButton, Qt::LeftButton);
            return;
        }
        QWidget* window = m_owner->isDroppedDown() ? m_owner->dropDownWindow() : nullptr;
        if (window && window->isVisible()) {
            if (QWidget* target = window->childAt(window->mapFromGlobal(global))) {
                // The button lets go; the drop-down gets the press it would have had.
                m_forwardTarget = target;
                m_inside = false;
                update();
                forward(QEvent::MouseButtonPress, global, Qt::LeftButton, Qt::LeftButton);
                return;
            }
        }
        const bool inside = rect().contains(event->position().toPoint());
        if (inside != m_inside) {
            m_inside = inside;
            update();
        }
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        event->accept();
        if (event->button() != Qt::LeftButton || !m_mouseDown)
            return;
        m_mouseDown = false;
        const bool click = !m_forwardTarget && rect().contains(event->position().toPoint());
        if (m_forwardTarget) {
            forward(QEvent::MouseButtonRelease, event->globalPosition().toPoint(), Qt::LeftButton,
                    Qt::NoButton);
            m_forwardTarget = nullptr;
        }
        m_inside = false;
        update();
        platform::guarded([this, click] { m_owner->editButtonReleased(click); });
    }

private:
    void forward(QEvent::Type type, QPoint global, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QPointer<QWidget> target = m_forwardTarget;
        if (!target)
            return;
        QMouseEvent copy(type, target->mapFromGlobal(QPointF(global)), QPointF(global), button,
                         buttons, QApplication::keyboardModifiers());
        QCoreApplication::sendEvent(target, &copy);
    }

    TCustomDBEdit* m_owner;
    QPointer<QWidget> m_forwardTarget;
    bool m_mouseDown = false;
    bool m_inside = false;
};

void EditButtonControl::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const bool down = m_owner->isEditButtonHeldDown() || (m_mouseDown && m_inside);
    QStyleOptionButton panel;
    panel.initFrom(this);
    panel.rect = rect();
    panel.state |= down ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &panel, &p, this);

    const TEditButton& button = m_owner->EditButton();
    QRect inner = rect().adjusted(3, 3, -3, -3);
    if (down)
        inner.translate(1, 1);
    QStyleOption mark = panel;
    mark.rect = inner;
    p.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    switch (button.Style()) {
    case ebsDropDown:
        style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &mark, &p, this);
        break;
    case ebsUpDown: {
        mark.rect = inner.adjusted(0, 0, 0, -inner.height() / 2);
        style()->drawPrimitive(QStyle::PE_IndicatorArrowUp, &mark, &p, this);
        mark.rect = inner.adjusted(0, inner.height() / 2, 0, 0);
        style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &mark, &p, this);
        break;
    }
    case ebsEllipsis:
        p.drawText(inner, Qt::AlignCenter, QStringLiteral("…"));
        break;
    case ebsPlus:
        p.drawText(inner, Qt::AlignCenter, QStringLiteral("+"));
        break;
    case ebsMinus:
        p.drawText(inner, Qt::AlignCenter, QStringLiteral("−"));
        break;
    case ebsGlyph:
        break;
    }
    if (!button.Glyph().isNull() && (button.Style() == ebsGlyph || button.Style() == ebsEllipsis)) {
        // The glyph holds NumGlyphs pictures side by side: normal, disabled, pressed.
        const int count = button.NumGlyphs();
        const int w = button.Glyph().width() / count;
        int index = 0;
        if (!isEnabled() && count > 1)
            index = 1;
        else if (down && count > 2)
            index = 2;
        const QPixmap picture = button.Glyph().copy(index * w, 0, w, button.Glyph().height());
        QRect target(QPoint(0, 0), picture.size());
        target.moveCenter(inner.center());
        p.drawPixmap(target, picture);
    }
}

// ---------------------------------------------------------------------------------------------

TCustomDBEdit::TCustomDBEdit(QWidget* parent) : MaskedTextEdit(parent)
{
    m_buttonControl = new EditButtonControl(this);
    m_editButton.setChangeHandler([this] {
        layoutEditButton();
        m_buttonControl->update();
    });
    layoutEditButton();
    adjustHeight();
}

TCustomDBEdit::~TCustomDBEdit() = default;

QWidget* TCustomDBEdit::editButtonControl() const
{
    return m_buttonControl;
}

void TCustomDBEdit::setAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    adjustHeight();
}

void TCustomDBEdit::setFlat(bool flat)
{
    m_flat = flat;
    setFrame(!flat);
    layoutEditButton();
    adjustHeight();
}

bool TCustomDBEdit::isEditable() const
{
    return !isReadOnly() && m_dataLink.canModify();
}

void TCustomDBEdit::setOwnText(const QString& newText, const QVariant& value)
{
    QScopedValueRollback guard(m_settingOwnText, true);
    m_value = value;
    putText(newText);
}

void TCustomDBEdit::refreshFromStored()
{
    setOwnText(textOfValue(storedValue()), storedValue());
    m_valueModified = false;
    setTextModified(false);
}

void TCustomDBEdit::writeValue(const QVariant& value)
{
    setOwnText(textOfValue(value), value);
    commit(hasFocus());
}

void TCustomDBEdit::commit(bool validateFirst)
{
    try {
        if (validateFirst)
            validateEdit();
        bool handled = false;
        if (OnUpdateData)
            OnUpdateData(this, handled);
        if (!handled)
            m_dataLink.setValue(m_value);
        refreshFromStored();
    } catch (...) {
        refreshFromStored();
        throw;
    }
}

QVariant TCustomDBEdit::valueOfText(const QString& text) const
{
    return text;
}

QString TCustomDBEdit::textOfValue(const QVariant& value) const
{
    return value.toString();
}

void TCustomDBEdit::textChange()
{
    if (!m_settingOwnText)
        m_value = valueOfText(text());
    m_valueModified = true;
    if (OnChange)
        OnChange(this);
}

void TCustomDBEdit::filterTypedChar(QChar& c)
{
    if (OnKeyPress)
        OnKeyPress(this, c);
}

void TCustomDBEdit::pressEditButton(bool byMouse)
{
    if (!hasFocus())
        setFocus(byMouse ? Qt::MouseFocusReason : Qt::OtherFocusReason);
    if (takeJustClosedMarker())
        return;
    bool handled = false;
    bool autoRepeat = false;
    if (m_editButton.OnDown)
        m_editButton.OnDown(this);
    if (OnButtonDown)
        OnButtonDown(this, true, autoRepeat, handled);
    if (handled)
        return;
    if (QMenu* menu = m_editButton.DropdownMenu()) {
        menu->popup(m_buttonControl->mapToGlobal(QPoint(0, m_buttonControl->height())));
        return;
    }
    if (m_editButton.Style() != ebsDropDown || isDroppedDown())
        return;
    setEditButtonHeldDown(true);
    try {
        showDropDown();
    } catch (...) {
        setEditButtonHeldDown(false);
        throw;
    }
    // Only the release of the click that opened it leaves it open.
    m_openingClick = byMouse;
}

void TCustomDBEdit::editButtonReleased(bool click)
{
    const bool opening = m_openingClick;
    m_openingClick = false;
    if (!click)
        return;
    bool handled = false;
    if (m_editButton.OnClick)
        m_editButton.OnClick(this);
    if (OnButtonClick)
        OnButtonClick(this, handled);
    if (!opening && !handled && isDroppedDown())
        closeDropDown(false);
}

void TCustomDBEdit::setEditButtonHeldDown(bool held)
{
    m_buttonHeld = held;
    if (!held)
        m_buttonControl->stopForwarding();
    m_buttonControl->update();
}

void TCustomDBEdit::postJustClosedMarker()
{
    m_markerPending = true;
    QCoreApplication::postEvent(this, new QEvent(kJustClosed));
}

bool TCustomDBEdit::takeJustClosedMarker()
{
    if (!m_markerPending)
        return false;
    QCoreApplication::removePostedEvents(this, kJustClosed);
    m_markerPending = false;
    return true;
}

bool TCustomDBEdit::event(QEvent* event)
{
    if (event->type() == kJustClosed) {
        m_markerPending = false;
        return true;
    }
    return MaskedTextEdit::event(event);
}

void TCustomDBEdit::keyPressEvent(QKeyEvent* event)
{
    platform::guarded([this, event] {
        if (dropDownKey(event))
            return;
        int key = event->key();
        if (OnKeyDown) {
            OnKeyDown(this, key, event->modifiers());
            if (key == 0) {
                event->accept();
                return;
            }
        }
        const QKeySequence& shortCut = m_editButton.ShortCut();
        const QKeyCombination combination(event->modifiers() & ~Qt::KeypadModifier,
                                          Qt::Key(event->key()));
        if (!shortCut.isEmpty() && shortCut[0] == combination) {
            event->accept();
            if (m_editButton.Visible() && isEnabled())
                pressEditButton(false);
            return;
        }
        if (fieldKey(event))
            return;
        MaskedTextEdit::keyPressEvent(event);
    });
}

void TCustomDBEdit::focusInEvent(QFocusEvent* event)
{
    MaskedTextEdit::focusInEvent(event);
    if (isPassingFocusChange(event->reason()) && m_entered)
        return;
    m_entered = true;
    platform::guarded([this, event] {
        prepareEnter();
        refreshFromStored();
        rememberEntryText();
        // Entered from the keyboard, the first digit typed starts a new date.
        if (m_autoSelect && event->reason() != Qt::MouseFocusReason)
            selectAll();
        if (OnEnter)
            OnEnter(this);
    });
}

void TCustomDBEdit::focusOutEvent(QFocusEvent* event)
{
    MaskedTextEdit::focusOutEvent(event);
    platform::guarded([this] {
        QWidget* now = QApplication::focusWidget();
        QWidget* dropDown = dropDownWindow();
        const bool intoDropDown =
            dropDown && now && (now == dropDown || dropDown->isAncestorOf(now));
        if (isDroppedDown() && !intoDropDown)
            closeDropDown(false);
    });
    if (isPassingFocusChange(event->reason()))
        return;
    m_entered = false;
    const bool committed = platform::guarded([this] {
        if (m_valueModified)
            commit(true);
        else
            refreshFromStored();
    });
    if (!committed) {
        selectAll();
        setFocus(Qt::OtherFocusReason);
        return;
    }
    platform::guarded([this] {
        if (OnExit)
            OnExit(this);
    });
}

void TCustomDBEdit::resizeEvent(QResizeEvent* event)
{
    MaskedTextEdit::resizeEvent(event);
    layoutEditButton();
}

void TCustomDBEdit::changeEvent(QEvent* event)
{
    MaskedTextEdit::changeEvent(event);
    switch (event->type()) {
    case QEvent::FontChange:
        adjustHeight();
        break;
    case QEvent::StyleChange:
    case QEvent::LayoutDirectionChange:
        layoutEditButton();
        break;
    case QEvent::EnabledChange:
        m_buttonControl->update();
        break;
    default:
        break;
    }
}

void TCustomDBEdit::layoutEditButton()
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    const int frame =
        hasFrame() ? style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this) : 0;
    const QRect client = rect().adjusted(frame, frame, -frame, -frame);
    const bool rightToLeft = layoutDirection() == Qt::RightToLeft;
    const int width =
        editButtonWidth(m_editButton.Width(), m_flat, QFontMetrics(QApplication::font()).height(),
                        style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this));
    m_buttonControl->setGeometry(editButtonRect(client, width, rightToLeft));
    m_buttonControl->setVisible(m_editButton.Visible());
    m_buttonControl->setToolTip(m_editButton.Hint());
    // The text ends where the button begins.
    const int margin = m_editButton.Visible() ? width : 0;
    setTextMargins(rightToLeft ? margin : 0, 0, rightToLeft ? 0 : margin, 0);
}

void TCustomDBEdit::adjustHeight()
{
    if (m_autoSize)
        resize(width(), autoSizeHeight(fontMetrics().height(), m_flat, true, 1));
}

} // namespace dateedit
