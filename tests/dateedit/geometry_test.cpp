#include "dateedit/geometry.h"

#include <gtest/gtest.h>

using namespace dateedit;

TEST(DropDownPlacement, BelowAboveAndShiftedIntoTheWorkArea)
{
    const QRect screen(0, 0, 1280, 984); // 1280 x 1024 less a 40-pixel task bar
    const QSize popup(180, 160);
    struct Case
    {
        const char* what;
        QRect workArea;
        QRect field;
        QSize popup;
        bool rightAligned;
        QPoint expected;
    };
    const Case cases[] = {
        {"room below", screen, QRect(104, 300, 121, 22), popup, false, {104, 322}},
        {"just fits below", screen, QRect(104, 802, 121, 22), popup, false, {104, 824}},
        {"one pixel short below", screen, QRect(104, 803, 121, 22), popup, false, {104, 643}},
        {"right edge", screen, QRect(1200, 300, 60, 22), popup, false, {1100, 322}},
        {"left of the work area", screen, QRect(-40, 300, 121, 22), popup, false, {0, 322}},
        {"right alignment", screen, QRect(500, 300, 121, 22), popup, true, {441, 322}},
        // Fits neither way: the side with more room, the popup cut to it.
        {"more room below",
         QRect(0, 0, 800, 300),
         QRect(100, 120, 121, 22),
         QSize(180, 200),
         false,
         {100, 142}},
        {"more room above",
         QRect(0, 0, 800, 300),
         QRect(100, 170, 121, 22),
         QSize(180, 200),
         false,
         {100, 0}},
        {"narrower than the popup",
         QRect(0, 0, 150, 984),
         QRect(20, 300, 121, 22),
         popup,
         false,
         {0, 322}},
        {"second monitor",
         QRect(1280, 0, 1024, 728),
         QRect(2250, 700, 50, 22),
         popup,
         false,
         {2124, 540}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(dropDownPosition(c.workArea, c.field, c.popup, c.rightAligned), c.expected)
            << c.what;
    }
}

TEST(DropDownPlacement, WorkAreaOfTheNearestMonitor)
{
    const std::vector<Monitor> monitors = {
        {QRect(0, 0, 1280, 1024), QRect(0, 0, 1280, 984)},
        {QRect(1280, 0, 1024, 768), QRect(1280, 0, 1024, 728)},
    };
    EXPECT_EQ(nearestWorkArea(QRect(100, 100, 121, 22), monitors), monitors[0].workArea);
    // Straddling both: the one it overlaps most.
    EXPECT_EQ(nearestWorkArea(QRect(1250, 100, 121, 22), monitors), monitors[1].workArea);
    // On none: the closest.
    EXPECT_EQ(nearestWorkArea(QRect(1500, 900, 121, 22), monitors), monitors[1].workArea);
    EXPECT_EQ(nearestWorkArea(QRect(-500, 100, 121, 22), monitors), monitors[0].workArea);
    EXPECT_TRUE(nearestWorkArea(QRect(0, 0, 10, 10), {}).isEmpty());
}

TEST(EditButtonGeometry, WidthHeightAndSide)
{
    EXPECT_EQ(editButtonWidth(0, false, 14, 17), 17);
    EXPECT_EQ(editButtonWidth(20, false, 14, 17), 20);
    EXPECT_EQ(editButtonWidth(5, true, 14, 17), 5);
    // Flat: two thirds of the text height, made odd, at most a scroll bar wide.
    EXPECT_EQ(editButtonWidth(0, true, 14, 17), 9);
    EXPECT_EQ(editButtonWidth(0, true, 15, 17), 9);
    EXPECT_EQ(editButtonWidth(0, true, 16, 17), 11);
    EXPECT_EQ(editButtonWidth(0, true, 30, 17), 17);

    const QRect client(2, 2, 117, 18);
    EXPECT_EQ(editButtonRect(client, 17, false), QRect(102, 2, 17, 18));
    EXPECT_EQ(editButtonRect(client, 17, true), QRect(2, 2, 17, 18));
    // A client area much taller than the button is wide gives a square button.
    EXPECT_EQ(editButtonRect(QRect(2, 2, 117, 40), 17, false), QRect(102, 2, 17, 17));
    // One and a half widths, halves to even: 17 gives 26 and 15 gives 22.
    EXPECT_EQ(editButtonRect(QRect(0, 0, 100, 26), 17, false).height(), 26);
    EXPECT_EQ(editButtonRect(QRect(0, 0, 100, 27), 17, false).height(), 17);
    EXPECT_EQ(editButtonRect(QRect(0, 0, 100, 23), 15, false).height(), 15);
}

TEST(EditButtonGeometry, AutomaticHeight)
{
    EXPECT_EQ(autoSizeHeight(14, false, true, 1), 22);
    EXPECT_EQ(autoSizeHeight(14, true, true, 1), 20);
    EXPECT_EQ(autoSizeHeight(14, false, false, 1), 20);
    EXPECT_EQ(autoSizeHeight(14, true, false, 1), 18);
    EXPECT_EQ(autoSizeHeight(14, false, true, 2), 30);
}
