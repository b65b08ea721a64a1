#include "launcher/canvas.h"

#include <gtest/gtest.h>

namespace {

// A canvas drawing into a black 120 x 80 memory bitmap. The bitmap is made
// compatible with the screen: a bitmap compatible with a new memory context
// is monochrome on Windows, as that context's own 1 x 1 bitmap is.
class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override {
        canvasInit();
        m_dc = CreateCompatibleDC(nullptr);
        const HDC screen = GetDC(nullptr);
        m_bitmap = CreateCompatibleBitmap(screen, 120, 80);
        ReleaseDC(nullptr, screen);
        m_oldBitmap = SelectObject(m_dc, m_bitmap);
    }
    void TearDown() override {
        SelectObject(m_dc, m_oldBitmap);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
        canvasRelease();
    }
    COLORREF pixel(int x, int y) {
        SelectClipRgn(m_dc, nullptr);
        return GetPixel(m_dc, x, y);
    }
    COLORREF colour(int index) { return CanvasPalette[index]; }

    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
};

constexpr int kRed = 96;
constexpr int kGreen = 192;
constexpr int kBlue = 256;

}  // namespace

TEST_F(CanvasTest, ClipsToItsRectangleWithRightAndBottomIncluded) {
    {
        Canvas canvas(m_dc, RECT{0, 0, 99, 49});
        canvas.fillRectangle(0, 0, 120, 80, kRed, false, false);
    }
    EXPECT_EQ(pixel(99, 49), colour(kRed));
    EXPECT_EQ(pixel(100, 49), RGB(0, 0, 0));
    EXPECT_EQ(pixel(99, 50), RGB(0, 0, 0));
}

TEST_F(CanvasTest, ACutOutHidesLaterDrawing) {
    Canvas canvas(m_dc, RECT{0, 0, 119, 79});
    canvas.fillRectangle(10, 10, 30, 30, kGreen, true, true);
    canvas.fillEllipse(60, 40, 10, kGreen, false, true);
    canvas.fillRectangle(0, 0, 120, 80, kBlue, false, false);
    canvas.drawLine(0, 20, 119, 20, kRed, 1);
    EXPECT_EQ(pixel(20, 20), colour(kGreen));
    EXPECT_EQ(pixel(60, 40), colour(kGreen));
    EXPECT_EQ(pixel(10, 10), colour(canvasIndex.darkGrey));  // the default outline
    EXPECT_EQ(pixel(5, 5), colour(kBlue));
    EXPECT_EQ(pixel(5, 20), colour(kRed));
}

TEST_F(CanvasTest, SelectPenClampsTheWidthAndIgnoresIndicesOutsideThePalette) {
    Canvas canvas(m_dc, RECT{0, 0, 119, 79});
    canvas.selectPen(kRed, 5000);
    const HGDIOBJ widest = GetCurrentObject(m_dc, OBJ_PEN);
    canvas.selectPen(kRed, 999);
    EXPECT_EQ(GetCurrentObject(m_dc, OBJ_PEN), widest);
    canvas.selectPen(kRed, -3);
    const HGDIOBJ thinnest = GetCurrentObject(m_dc, OBJ_PEN);
    canvas.selectPen(kRed, 0);
    EXPECT_EQ(GetCurrentObject(m_dc, OBJ_PEN), thinnest);
    for (int index : {kPaletteSize, -1, 100000}) {
        EXPECT_EQ(canvas.selectPen(index, 1), thinnest);
        EXPECT_EQ(GetCurrentObject(m_dc, OBJ_PEN), thinnest);
    }
}

TEST_F(CanvasTest, ClosingPutsTheContextsObjectsAndColoursBack) {
    const HGDIOBJ pen = GetCurrentObject(m_dc, OBJ_PEN);
    const HGDIOBJ brush = GetCurrentObject(m_dc, OBJ_BRUSH);
    const HGDIOBJ font = GetCurrentObject(m_dc, OBJ_FONT);
    SetTextColor(m_dc, RGB(1, 2, 3));
    {
        Canvas canvas(m_dc, RECT{0, 0, 119, 79});
        EXPECT_EQ(GetTextColor(m_dc), colour(canvasIndex.windowText));
        EXPECT_EQ(canvas.setTextColor(13), canvasIndex.windowText);
        EXPECT_EQ(canvas.setTextColor(-1), 13);
        canvas.fillRectangle(1, 1, 5, 5, kRed, true, false);
        Canvas inner(canvas, 10, 10, -1, -1);
        inner.fillRectangle(0, 0, 120, 80, kBlue, false, false);
        EXPECT_EQ(pixel(9, 9), RGB(0, 0, 0));
        EXPECT_EQ(pixel(10, 10), colour(kBlue));
        EXPECT_EQ(pixel(119, 79), colour(kBlue));
    }
    EXPECT_EQ(GetCurrentObject(m_dc, OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(m_dc, OBJ_BRUSH), brush);
    EXPECT_EQ(GetCurrentObject(m_dc, OBJ_FONT), font);
    EXPECT_EQ(GetTextColor(m_dc), RGB(1, 2, 3));
}

TEST_F(CanvasTest, MeasuresAndWrapsText) {
    Canvas canvas(m_dc, RECT{0, 0, 119, 79});
    ASSERT_GT(canvas.lineHeight(), 0);
    RECT oneLine{0, 0, 1000, 0};
    canvas.measureTextWrapped(oneLine, "%s %s", "kurz", "genug");
    EXPECT_EQ(oneLine.bottom, canvas.lineHeight());
    RECT wrapped{0, 0, 60, 0};
    canvas.measureTextWrapped(wrapped, "%s", "eins zwei drei vier");
    EXPECT_GE(wrapped.bottom, 2 * canvas.lineHeight());
    EXPECT_LE(wrapped.right, 60);
    EXPECT_EQ(canvas.drawTextWrapped(0, 0, 60, 79, true, true, "%s", "eins zwei drei vier"),
              wrapped.bottom);

    int x = 115;
    int y = 0;
    canvas.advanceCursor(1, x, y);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, canvas.lineHeight());
}
