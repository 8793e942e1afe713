#include "dateedit/templateedit.h"
#include "tests/dateedit/printers.h"

#include <gtest/gtest.h>

using namespace dateedit;

namespace {

const EditMask kMask(QStringLiteral("!9999/99/99;1; "), u'-', u':');

TemplateState at(const char16_t* text, int selStart, int selLength = 1)
{
    return TemplateState{QString::fromUtf16(text), selStart, selLength, false};
}

} // namespace

TEST(TemplateEditing, TypingOverwritesCellsAndSkipsSeparators)
{
    struct Case
    {
        const char16_t* text;
        int selStart;
        int selLength;
        const char16_t* typed;
        const char16_t* result;
        int caret;
        bool refused;
    };
    const Case cases[] = {
        {u"    -  -  ", 0, 1, u"2024", u"2024-  -  ", 5, false},
        // The whole text selected: the first digit empties every cell.
        {u"2023-11-30", 0, 10, u"2", u"2   -  -  ", 1, false},
        {u"2023-11-30", 0, 10, u"20240509", u"2024-05-09", 10, false},
        // The separator right after the caret passed one by itself is taken as that one.
        {u"2023-11-30", 0, 10, u"2024-05-09", u"2024-05-09", 10, false},
        {u"2024-05-09", 6, 1, u"7", u"2024-07-09", 8, false},
        // The separator jump: from the year cells to the month, from the month to the day.
        {u"24  -  -  ", 2, 1, u"-", u"24  -  -  ", 5, false},
        {u"24  -  -  ", 2, 1, u"-1", u"24  -1 -  ", 6, false},
        {u"2024-05-09", 5, 1, u"-", u"2024-05-09", 8, false},
        {u"2024-05-09", 8, 1, u"-", u"2024-05-09", 8, true},
        {u"2024-05-09", 1, 1, u"a", u"2024-05-09", 1, true},
        {u"2024-05-09", 1, 1, u"/", u"2024-05-09", 1, true},
        {u"2024-05-09", 1, 1, u" ", u"2024-05-09", 1, true},
        {u"2024-05-09", 10, 0, u"1", u"2024-05-09", 10, true},
        // A short text put in around the template is fitted into it before the digit lands.
        {u"24", 2, 1, u"5", u"  54-  -  ", 3, false},
        // More typed than the template holds: the rest is refused.
        {u"    -  -  ", 0, 1, u"123456789012", u"1234-56-78", 10, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.typed).toStdString());
        TemplateState s = at(c.text, c.selStart, c.selLength);
        const EditOutcome outcome = typeText(kMask, s, QString::fromUtf16(c.typed));
        EXPECT_EQ(s.text, QString::fromUtf16(c.result));
        EXPECT_EQ(s.selStart, c.caret);
        EXPECT_EQ(s.selLength, c.caret < kMask.length() ? 1 : 0);
        EXPECT_EQ(outcome.refused, c.refused);
        EXPECT_EQ(outcome.changed, s.text != QString::fromUtf16(c.text));
    }
}

TEST(TemplateEditing, PastingALongTextStopsAtTheLastCell)
{
    TemplateState s = at(u"    -  -  ", 0);
    const EditOutcome outcome = typeText(kMask, s, QString(1000, u'1'));
    EXPECT_EQ(s.text, QStringLiteral("1111-11-11"));
    EXPECT_TRUE(outcome.refused);
}

TEST(TemplateEditing, BackspaceAndDeleteEmptyCells)
{
    TemplateState s = at(u"2024-05-09", 5);
    backspace(kMask, s);
    EXPECT_EQ(s.text, QStringLiteral("202 -05-09"));
    EXPECT_EQ(s.selStart, 3);

    s = at(u"2024-05-09", 0);
    EXPECT_FALSE(backspace(kMask, s).changed);
    EXPECT_EQ(s.selStart, 0);

    s = at(u"2024-05-09", 4, 4); // "-05-"
    backspace(kMask, s);
    EXPECT_EQ(s.text, QStringLiteral("2024-  -09"));
    EXPECT_EQ(s.selStart, 5);

    s = at(u"2024-05-09", 6);
    deleteCells(kMask, s);
    EXPECT_EQ(s.text, QStringLiteral("2024-0 -09"));
    EXPECT_EQ(s.selStart, 6);

    s = at(u"2024-05-09", 0, 10);
    deleteCells(kMask, s);
    EXPECT_EQ(s.text, kMask.blankText());

    s = at(u"2024-05-09", 10, 0);
    EXPECT_FALSE(deleteCells(kMask, s).changed);
}

TEST(TemplateEditing, CaretMovesFromCellToCell)
{
    using Move = void (*)(const EditMask&, TemplateState&, bool);
    struct Case
    {
        Move move;
        int selStart;
        int selLength;
        bool extend;
        int newStart;
        int newLength;
    };
    const Case cases[] = {
        {moveLeft, 5, 1, false, 3, 1},
        {moveLeft, 0, 1, false, 0, 1},
        {moveRight, 3, 1, false, 5, 1},
        {moveRight, 9, 1, false, 10, 0},
        {moveHome, 7, 1, false, 0, 1},
        {moveEnd, 2, 1, false, 10, 0},
        // A longer selection collapses to its first (Left) or last (Right) character first.
        {moveLeft, 5, 5, false, 3, 1},
        {moveRight, 0, 10, false, 10, 0},
        {moveRight, 0, 4, false, 5, 1},
        // Shift extends.
        {moveLeft, 5, 1, true, 4, 2},
        {moveRight, 5, 1, true, 5, 2},
        {moveHome, 5, 1, true, 0, 6},
        {moveEnd, 5, 1, true, 5, 5},
    };
    for (const Case& c : cases) {
        TemplateState s = at(u"2024-05-09", c.selStart, c.selLength);
        c.move(kMask, s, c.extend);
        EXPECT_EQ(s.selStart, c.newStart) << c.selStart << "+" << c.selLength;
        EXPECT_EQ(s.selLength, c.newLength) << c.selStart << "+" << c.selLength;
    }

    TemplateState s = at(u"2024-05-09", 0);
    placeCaret(kMask, s, 4);
    EXPECT_EQ(s.selStart, 5);
}
