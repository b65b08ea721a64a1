#include "launcher/palette.h"

#include <gtest/gtest.h>

TEST(Palette, HoldsTheRampsThenTheSystemColours) {
    ASSERT_EQ(canvasInit(), 1);
    const struct {
        int index;
        COLORREF colour;
    } entries[] = {
        {0, RGB(255, 255, 255)}, {13, RGB(203, 203, 203)}, {63, RGB(3, 3, 3)},
        {64, RGB(255, 0, 255)},  {96, RGB(255, 0, 0)},     {157, RGB(139, 69, 0)},
        {159, RGB(131, 65, 0)},  {191, RGB(131, 131, 0)},  {223, RGB(0, 131, 0)},
        {224, RGB(0, 255, 255)}, {287, RGB(0, 0, 131)},    {288, GetSysColor(0)},
        {318, GetSysColor(30)},  {319, 0},                 {337, 0},
    };
    for (const auto& entry : entries)
        EXPECT_EQ(CanvasPalette[entry.index], entry.colour) << entry.index;

    EXPECT_EQ(canvasIndex.darkGrey, 63);
    EXPECT_EQ(canvasIndex.orange, 128);
    EXPECT_EQ(canvasIndex.orange157, 157);
    EXPECT_EQ(canvasIndex.blue, 256);
    EXPECT_EQ(canvasIndex.system, 288);
    EXPECT_EQ(canvasIndex.windowText, 288 + COLOR_WINDOWTEXT);
    EXPECT_EQ(canvasIndex.window, 288 + COLOR_WINDOW);
    EXPECT_EQ(canvasIndex.infoBk, 288 + COLOR_INFOBK);
    EXPECT_EQ(canvasRelease(), 1);
}
