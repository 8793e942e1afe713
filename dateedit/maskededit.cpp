#include "dateedit/maskededit.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

namespace dateedit {

MaskedTextEdit::MaskedTextEdit(QWidget* parent) : QLineEdit(parent)
{
    // Text only ever enters through the template's rules.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setDragEnabled(false);
    setAcceptDrops(false);
    // The edit's own text calls (setText, clear, insert) go around the typing rules; what they
    // leave is fitted into the template at once.
    connect(this, &QLineEdit::textChanged, this, [this](const QString& now) {
        if (m_mask.length() > 0 && m_mask.fit(now) != now)
            putText(now);
    });
}

void MaskedTextEdit::setEditMask(const EditMask& mask)
{
    m_mask = mask;
    putText(text());
}

void MaskedTextEdit::putText(const QString& newText)
{
    const QString fitted = m_mask.fit(newText);
    m_afterSkip = false;
    if (fitted == text())
        return;
    QLineEdit::setText(fitted);
    m_textModified = true;
    textChange();
}

void MaskedTextEdit::rememberEntryText()
{
    m_entryText = text();
}

bool MaskedTextEdit::revertToEntryText()
{
    if (!m_textModified)
        return false;
    putText(m_entryText);
    m_textModified = false;
    selectAll();
    return true;
}

void MaskedTextEdit::selectCells(int start, int length)
{
    if (length > 0)
        setSelection(start, length);
    else
        setCursorPosition(start);
}

int MaskedTextEdit::caretPosition() const
{
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

void MaskedTextEdit::refuse()
{
    QApplication::beep();
}

TemplateState MaskedTextEdit::state() const
{
    return TemplateState{text(), caretPosition(), static_cast<int>(selectedText().size()),
                         m_afterSkip};
}

void MaskedTextEdit::apply(const TemplateState& s, const EditOutcome& outcome)
{
    const bool changed = s.text != text();
    if (changed)
        QLineEdit::setText(s.text);
    selectCells(s.selStart, s.selLength);
    m_afterSkip = s.afterSkip;
    if (changed) {
        m_textModified = true;
        textChange();
    }
    if (outcome.refused)
        refuse();
}

void MaskedTextEdit::typeCharacter(QChar c)
{
    filterTypedChar(c);
    if (c.isNull())
        return;
    if (!isEditable()) {
        refuse();
        return;
    }
    TemplateState s = state();
    const EditOutcome outcome = typeChar(m_mask, s, c);
    apply(s, outcome);
}

void MaskedTextEdit::copyCells()
{
    if (hasSelectedText())
        QApplication::clipboard()->setText(selectedText());
}

void MaskedTextEdit::cutCells()
{
    if (!hasSelectedText())
        return;
    copyCells();
    deleteSelectedCells();
}

void MaskedTextEdit::pasteCells()
{
    if (!isEditable())
        return;
    TemplateState s = state();
    const EditOutcome outcome = typeText(m_mask, s, QApplication::clipboard()->text());
    apply(s, outcome);
}

void MaskedTextEdit::deleteSelectedCells()
{
    if (!isEditable())
        return;
    TemplateState s = state();
    const EditOutcome outcome = dateedit::deleteCells(m_mask, s);
    apply(s, outcome);
}

void MaskedTextEdit::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool shift = mods == Qt::ShiftModifier;
    event->accept();
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        m_afterSkip = false;
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        copyCells();
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        cutCells();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        pasteCells();
        return;
    }

    TemplateState s = state();
    if (mods == Qt::NoModifier || shift) {
        switch (event->key()) {
        case Qt::Key_Backspace:
            if (isEditable())
                apply(s, dateedit::backspace(m_mask, s));
            return;
        case Qt::Key_Delete:
            deleteSelectedCells();
            return;
        case Qt::Key_Left:
            moveLeft(m_mask, s, shift);
            apply(s, {});
            return;
        case Qt::Key_Right:
            moveRight(m_mask, s, shift);
            apply(s, {});
            return;
        case Qt::Key_Home:
            moveHome(m_mask, s, shift);
            apply(s, {});
            return;
        case Qt::Key_End:
            moveEnd(m_mask, s, shift);
            apply(s, {});
            return;
        case Qt::Key_Escape:
            if (!shift && revertToEntryText())
                return;
            event->ignore();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            enterKeyPressed();
            // Enter stays visible to the window, as in any edit.
            event->ignore();
            return;
        default:
            break;
        }
    }

    // Ctrl with a letter types a control character, which no cell takes.
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier) && event->key() >= Qt::Key_A &&
        event->key() <= Qt::Key_Z) {
        refuse();
        return;
    }
    const QString typed = event->text();
    const bool printable = !typed.isEmpty() && std::all_of(typed.begin(), typed.end(),
                                                           [](QChar c) { return c.isPrint(); });
    if (!printable || (mods & (Qt::ControlModifier | Qt::MetaModifier)) ||
        mods == Qt::AltModifier) {
        event->ignore();
        return;
    }
    for (QChar c : typed)
        typeCharacter(c);
}

void MaskedTextEdit::mousePressEvent(QMouseEvent* event)
{
    m_afterSkip = false;
    if (event->button() == Qt::MiddleButton) {
        // The selection clipboard pastes at the click, by the template's rules.
        QClipboard* clipboard = QApplication::clipboard();
        if (clipboard->supportsSelection() && isEditable()) {
            TemplateState s = state();
            placeCaret(m_mask, s, cursorPositionAt(event->position().toPoint()));
            const EditOutcome outcome = typeText(m_mask, s, clipboard->text(QClipboard::Selection));
            apply(s, outcome);
        }
        event->accept();
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void MaskedTextEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && !hasSelectedText()) {
        TemplateState s = state();
        placeCaret(m_mask, s, cursorPosition());
        apply(s, {});
    }
}

void MaskedTextEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    const bool selected = hasSelectedText();
    const bool editable = isEditable();
    menu.addAction(QStringLiteral("剪切(&T)"), this, &MaskedTextEdit::cutCells)
        ->setEnabled(selected && editable);
    menu.addAction(QStringLiteral("复制(&C)"), this, &MaskedTextEdit::copyCells)
        ->setEnabled(selected);
    menu.addAction(QStringLiteral("粘贴(&P)"), this, &MaskedTextEdit::pasteCells)
        ->setEnabled(editable && !QApplication::clipboard()->text().isEmpty());
    menu.addAction(QStringLiteral("删除(&D)"), this, &MaskedTextEdit::deleteSelectedCells)
        ->setEnabled(selected && editable);
    menu.addSeparator();
    menu.addAction(QStringLiteral("全选(&A)"), this, &QLineEdit::selectAll);
    menu.exec(event->globalPos());
}

void MaskedTextEdit::inputMethodEvent(QInputMethodEvent* event)
{
    for (QChar c : event->commitString())
        typeCharacter(c);
    event->accept();
}

} // namespace dateedit
