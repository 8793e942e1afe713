#pragma once

#include "dateedit/datetext.h"
#include "dateedit/templateedit.h"

#include <QLineEdit>

namespace dateedit {

/// A single-line edit whose text is always shaped by a template of digit cells and fixed
/// separators. Digits overwrite cells, anything else is refused with a beep.
class MaskedTextEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit MaskedTextEdit(QWidget* parent = nullptr);

    const EditMask& editMask() const { return m_mask; }
    /// Replaces the template; the text is fitted into the new one.
    void setEditMask(const EditMask& mask);

    /// The text changed since the field was entered or last refreshed.
    bool isTextModified() const { return m_textModified; }
    /// The text at the moment the field was entered; Esc returns to it.
    const QString& entryText() const { return m_entryText; }

    void copyCells();
    void cutCells();
    void pasteCells();
    void deleteSelectedCells();

protected:
    /// Puts text into the template, fitted field by field, and reports the change.
    void putText(const QString& text);
    /// Runs after every change of the text.
    virtual void textChange() {}
    /// Sees each typed character before the template; a null character cancels it.
    virtual void filterTypedChar(QChar& c) { Q_UNUSED(c); }
    virtual void enterKeyPressed() {}
    virtual bool isEditable() const { return !isReadOnly(); }

    void rememberEntryText();
    void setTextModified(bool modified) { m_textModified = modified; }
    /// Esc: back to the entry text when the text was modified; false when there was nothing
    /// to undo, so the key can go on to the window.
    bool revertToEntryText();
    /// Selects a range of the template; the caret sits at its start.
    void selectCells(int start, int length);
    /// The template's place of the caret: the start of the selection, or the cursor.
    int caretPosition() const;
    void refuse();

    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    TemplateState state() const;
    void apply(const TemplateState& state, const EditOutcome& outcome);
    void typeCharacter(QChar c);

    EditMask m_mask;
    QString m_entryText;
    bool m_textModified = false;
    bool m_afterSkip = false;
};

} // namespace dateedit
