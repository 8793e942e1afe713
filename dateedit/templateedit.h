#pragma once

#include "dateedit/datetext.h"

#include <QString>

namespace dateedit {

/// The text of a template with its selection. The caret rests on a cell, shown as a
/// one-character selection, or after the last cell with nothing selected.
struct TemplateState
{
    QString text;
    int selStart = 0;
    int selLength = 0;
    /// The caret just passed a separator by itself after a typed digit; the separator typed
    /// next is taken as that one, so "2024-05-09" can be typed or pasted as it reads.
    bool afterSkip = false;
};

struct EditOutcome
{
    bool changed = false;
    /// A character the template could not take: the caller beeps.
    bool refused = false;
};

/// Template editing rules. Every function keeps the text at the template's length and the
/// separators in their places.
EditOutcome typeChar(const EditMask& mask, TemplateState& state, QChar c);
/// Pasted text, entered character by character by the typing rules.
EditOutcome typeText(const EditMask& mask, TemplateState& state, const QString& text);
EditOutcome backspace(const EditMask& mask, TemplateState& state);
/// Empties the selected cells, or the cell at the caret.
EditOutcome deleteCells(const EditMask& mask, TemplateState& state);

void moveLeft(const EditMask& mask, TemplateState& state, bool extend);
void moveRight(const EditMask& mask, TemplateState& state, bool extend);
void moveHome(const EditMask& mask, TemplateState& state, bool extend);
void moveEnd(const EditMask& mask, TemplateState& state, bool extend);
/// Puts the caret on the first cell at or after pos (a click in the text).
void placeCaret(const EditMask& mask, TemplateState& state, int pos);

} // namespace dateedit
