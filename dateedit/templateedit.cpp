#include "dateedit/templateedit.h"

namespace dateedit {

namespace {

void setCaret(const EditMask& mask, TemplateState& state, int pos)
{
    state.selStart = std::clamp(pos, 0, mask.length());
    state.selLength = state.selStart < mask.length() ? 1 : 0;
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// A text that reached the field around the template (through the edit's own text calls) is
// fitted into it first, so that no cell is looked for past its end.
void shape(const EditMask& mask, TemplateState& state)
{
    if (state.text.size() == mask.length())
        return;
    state.text = mask.fit(state.text);
    state.selStart = std::clamp(state.selStart, 0, mask.length());
    state.selLength = std::clamp(state.selLength, 0, mask.length() - state.selStart);
}

/// Empties the cells of a selection longer than the caret; true when there was one.
bool emptySelection(const EditMask& mask, TemplateState& state)
{
    if (state.selLength <= 1)
        return false;
    const int end = std::min(state.selStart + state.selLength, mask.length());
    for (int i = state.selStart; i < end; ++i) {
        if (mask.isCell(i))
            state.text[i] = EditMask::blank();
    }
    setCaret(mask, state, mask.cellAtOrAfter(state.selStart));
    return true;
}

EditOutcome result(const QString& before, const TemplateState& state)
{
    return EditOutcome{before != state.text, false};
}

} // namespace

EditOutcome typeChar(const EditMask& mask, TemplateState& state, QChar c)
{
    const QString before = state.text;
    shape(mask, state);
    const bool afterSkip = state.afterSkip;
    state.afterSkip = false;
    if (isDigit(c)) {
        emptySelection(mask, state);
        const int pos = mask.cellAtOrAfter(state.selStart);
        if (pos >= mask.length())
            return EditOutcome{before != state.text, true};
        state.text[pos] = c;
        const int next = mask.cellAtOrAfter(pos + 1);
        state.afterSkip = next > pos + 1 && next < mask.length();
        setCaret(mask, state, next);
        return result(before, state);
    }
    if (mask.isSeparator(c)) {
        if (afterSkip && state.selLength <= 1)
            return {};
        if (!mask.isCell(state.selStart))
            return EditOutcome{false, true};
        const int target = mask.cellAfterNextSeparator(state.selStart);
        if (target < 0)
            return EditOutcome{false, true};
        setCaret(mask, state, target);
        return {};
    }
    return EditOutcome{false, true};
}

EditOutcome typeText(const EditMask& mask, TemplateState& state, const QString& text)
{
    const QString before = state.text;
    bool refused = false;
    for (QChar c : text)
        refused = typeChar(mask, state, c).refused || refused;
    return EditOutcome{before != state.text, refused};
}

EditOutcome backspace(const EditMask& mask, TemplateState& state)
{
    const QString before = state.text;
    shape(mask, state);
    state.afterSkip = false;
    if (emptySelection(mask, state))
        return result(before, state);
    const int pos = mask.cellBefore(state.selStart);
    if (pos < 0)
        return {};
    state.text[pos] = EditMask::blank();
    setCaret(mask, state, pos);
    return result(before, state);
}

EditOutcome deleteCells(const EditMask& mask, TemplateState& state)
{
    const QString before = state.text;
    shape(mask, state);
    state.afterSkip = false;
    if (emptySelection(mask, state))
        return result(before, state);
    const int pos = mask.cellAtOrAfter(state.selStart);
    if (pos >= mask.length())
        return {};
    state.text[pos] = EditMask::blank();
    setCaret(mask, state, pos);
    return result(before, state);
}

void moveLeft(const EditMask& mask, TemplateState& state, bool extend)
{
    state.afterSkip = false;
    if (extend) {
        if (state.selStart > 0) {
            --state.selStart;
            ++state.selLength;
        }
        return;
    }
    const int pos = mask.cellBefore(state.selStart);
    setCaret(mask, state, pos >= 0 ? pos : mask.cellAtOrAfter(state.selStart));
}

void moveRight(const EditMask& mask, TemplateState& state, bool extend)
{
    state.afterSkip = false;
    if (extend) {
        state.selLength = std::min(state.selLength + 1, mask.length() - state.selStart);
        return;
    }
    // A longer selection first collapses to its last character.
    const int from = state.selLength > 1 ? state.selStart + state.selLength - 1 : state.selStart;
    setCaret(mask, state, from < mask.length() ? mask.cellAtOrAfter(from + 1) : mask.length());
}

void moveHome(const EditMask& mask, TemplateState& state, bool extend)
{
    state.afterSkip = false;
    if (extend) {
        state.selLength += state.selStart;
        state.selStart = 0;
        return;
    }
    setCaret(mask, state, mask.cellAtOrAfter(0));
}

void moveEnd(const EditMask& mask, TemplateState& state, bool extend)
{
    state.afterSkip = false;
    if (extend) {
        state.selLength = mask.length() - state.selStart;
        return;
    }
    setCaret(mask, state, mask.length());
}

void placeCaret(const EditMask& mask, TemplateState& state, int pos)
{
    state.afterSkip = false;
    setCaret(mask, state, mask.cellAtOrAfter(pos));
}

} // namespace dateedit
