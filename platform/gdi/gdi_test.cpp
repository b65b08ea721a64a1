#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "testsupport/ansipath.h"
#include "testsupport/testdata.h"
#include "platform/core/littleendian.h"
#include "platform/gdi/dib.h"
#include "platform/win32.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// A memory context on a fresh bitmap, painted white.
class Surface : public ::testing::Test {
protected:
    void open(int width, int height) {
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateCompatibleBitmap(m_dc, width, height);
        m_old = SelectObject(m_dc, m_bitmap);
        ASSERT_NE(m_old, nullptr);
        HGDIOBJ pen = SelectObject(m_dc, CreatePen(PS_NULL, 0, 0));
        Rectangle(m_dc, 0, 0, width + 1, height + 1);
        DeleteObject(SelectObject(m_dc, pen));
    }
    void TearDown() override {
        SelectObject(m_dc, m_old);
        EXPECT_TRUE(DeleteObject(m_bitmap));
        EXPECT_TRUE(DeleteDC(m_dc));
    }
    // The colour of a shape with pen and brush of that colour.
    void paintWith(COLORREF color) {
        DeleteObject(SelectObject(m_dc, CreateSolidBrush(color)));
        DeleteObject(SelectObject(m_dc, CreatePen(PS_SOLID, 0, color)));
    }
    int count(COLORREF color, int width, int height) {
        int n = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) n += GetPixel(m_dc, x, y) == color;
        }
        return n;
    }

    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
};

}  // namespace

TEST_F(Surface, ShapesLeaveOutTheirRightAndBottomEdges) {
    open(40, 30);
    paintWith(kRed);
    Rectangle(m_dc, 2, 3, 12, 8);
    EXPECT_EQ(count(kRed, 40, 30), 10 * 5);
    EXPECT_EQ(GetPixel(m_dc, 2, 3), kRed);
    EXPECT_EQ(GetPixel(m_dc, 12, 8), kWhite);
    paintWith(kBlue);
    Ellipse(m_dc, 20, 10, 31, 21);
    EXPECT_EQ(GetPixel(m_dc, 25, 15), kBlue);
    EXPECT_EQ(GetPixel(m_dc, 20, 10), kWhite) << "a corner of the box is outside the circle";
    EXPECT_EQ(GetPixel(m_dc, 31, 15), kWhite);
    // A line leaves out its last point; a wide pen is as wide as asked.
    MoveToEx(m_dc, 0, 25, nullptr);
    LineTo(m_dc, 10, 25);
    EXPECT_EQ(GetPixel(m_dc, 9, 25), kBlue);
    EXPECT_EQ(GetPixel(m_dc, 10, 25), kWhite);
    DeleteObject(SelectObject(m_dc, CreatePen(PS_SOLID, 5, kRed)));
    MoveToEx(m_dc, 20, 27, nullptr);
    LineTo(m_dc, 35, 27);
    EXPECT_EQ(GetPixel(m_dc, 27, 25), kRed);
    EXPECT_EQ(GetPixel(m_dc, 27, 29), kRed);
    EXPECT_EQ(GetPixel(m_dc, 27, 22), kWhite);
    const POINT triangle[] = {{0, 0}, {10, 0}, {0, 10}};
    paintWith(kBlue);
    Polygon(m_dc, triangle, 3);
    EXPECT_EQ(GetPixel(m_dc, 2, 2), kBlue);
    EXPECT_EQ(GetPixel(m_dc, 9, 9), kWhite);
}

TEST_F(Surface, ClipRegionsAndCutOutsHideDrawing) {
    open(100, 60);
    // A canvas on (0, 0, 99, 49) clips to 100 x 50 pixels.
    HRGN clip = CreateRectRgn(0, 0, 100, 50);
    EXPECT_EQ(SelectClipRgn(m_dc, clip), SIMPLEREGION);
    paintWith(kRed);
    Rectangle(m_dc, -10, -10, 200, 200);
    EXPECT_EQ(count(kRed, 100, 60), 100 * 50);
    EXPECT_FALSE(PtVisible(m_dc, 50, 50));
    RECT below{0, 50, 100, 60};
    EXPECT_FALSE(RectVisible(m_dc, &below));
    // Cut a rectangle and a circle out; later drawing stays out of both.
    HRGN hole = CreateRectRgn(10, 10, 20, 20);
    EXPECT_EQ(CombineRgn(clip, clip, hole, RGN_DIFF), COMPLEXREGION);
    HRGN circle = CreateEllipticRgn(40, 10, 61, 31);
    CombineRgn(clip, clip, circle, RGN_DIFF);
    SelectClipRgn(m_dc, clip);
    DeleteObject(hole);
    DeleteObject(circle);
    DeleteObject(clip);
    paintWith(kBlue);
    Rectangle(m_dc, 0, 0, 100, 50);
    EXPECT_EQ(GetPixel(m_dc, 15, 15), CLR_INVALID);
    EXPECT_EQ(SetPixel(m_dc, 50, 20, kBlue), CLR_INVALID);
    EXPECT_TRUE(PtVisible(m_dc, 40, 10)) << "the circle's box corner stays";
    EXPECT_EQ(SetPixel(m_dc, 40, 10, kRed), kRed);
    SelectClipRgn(m_dc, nullptr);
    EXPECT_EQ(GetPixel(m_dc, 15, 15), kRed);
    EXPECT_EQ(GetPixel(m_dc, 50, 20), kRed);
    EXPECT_EQ(GetPixel(m_dc, 21, 15), kBlue);
    EXPECT_EQ(GetPixel(m_dc, 40, 10), kRed);
}

TEST(Region, CombinesAsSetsOfPixels) {
    const struct {
        int mode;
        int kind;
        RECT box;
    } cases[] = {
        {RGN_AND, SIMPLEREGION, {5, 5, 10, 10}},
        {RGN_OR, COMPLEXREGION, {0, 0, 15, 15}},
        {RGN_XOR, COMPLEXREGION, {0, 0, 15, 15}},
        {RGN_DIFF, COMPLEXREGION, {0, 0, 10, 10}},
        {RGN_COPY, SIMPLEREGION, {0, 0, 10, 10}},
    };
    for (const auto& c : cases) {
        HRGN a = CreateRectRgn(0, 0, 10, 10);
        HRGN b = CreateRectRgn(5, 5, 15, 15);
        HRGN out = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(CombineRgn(out, a, b, c.mode), c.kind) << c.mode;
        RECT box;
        GetRgnBox(out, &box);
        EXPECT_EQ(box.left, c.box.left);
        EXPECT_EQ(box.bottom, c.box.bottom) << c.mode;
        for (HRGN r : {a, b, out}) EXPECT_TRUE(DeleteObject(r));
    }
    const POINT star[] = {{0, 0}, {20, 0}, {20, 20}, {10, -5}};
    HRGN winding = CreatePolygonRgn(star, 4, WINDING);
    RECT box;
    EXPECT_EQ(GetRgnBox(winding, &box), COMPLEXREGION);
    EXPECT_EQ(box.top, -5);
    DeleteObject(winding);
    EXPECT_EQ(CombineRgn(nullptr, nullptr, nullptr, RGN_OR), ERROR);
}

TEST_F(Surface, TextIsMeasuredWrappedAndDrawnInItsColour) {
    open(300, 200);
    HFONT font = CreateFontA(34, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 32, "Arial");
    HGDIOBJ old = SelectObject(m_dc, font);
    TEXTMETRICA metrics;
    ASSERT_TRUE(GetTextMetricsA(m_dc, &metrics));
    EXPECT_EQ(metrics.tmHeight, 34);
    EXPECT_GT(metrics.tmAveCharWidth, 10);
    SIZE size;
    GetTextExtentPoint32A(m_dc, "Version 3.0", 11, &size);
    RECT measured{10, 10, 290, 190};
    EXPECT_EQ(DrawTextA(m_dc, "Version 3.0", -1, &measured, DT_CALCRECT | DT_SINGLELINE), 34);
    EXPECT_EQ(measured.right - measured.left, size.cx);
    // Wrapped into a narrow box: three lines, none wider than the box
    // unless a word alone is.
    RECT narrow{0, 0, size.cx, 0};
    EXPECT_EQ(DrawTextA(m_dc, "Version 3.0 Version 3.0\nX", -1, &narrow,
                        DT_CALCRECT | DT_WORDBREAK),
              3 * 34);
    EXPECT_LE(narrow.right, size.cx);

    SetBkMode(m_dc, TRANSPARENT);
    SetTextColor(m_dc, RGB(3, 3, 3));
    EXPECT_TRUE(TextOutA(m_dc, 10, 10, "Version 3.0", 11));
    int inked = count(RGB(3, 3, 3), 300, 200);
    EXPECT_GT(inked, 100);
    EXPECT_EQ(GetPixel(m_dc, 10 + size.cx + 2, 20), kWhite);
    EXPECT_EQ(GetPixel(m_dc, 15, 10 + 34 + 2), kWhite);
    // Opaque text fills its cell with the background colour.
    SetBkMode(m_dc, OPAQUE);
    SetBkColor(m_dc, kBlue);
    RECT box{0, 100, 300, 200};
    DrawTextA(m_dc, "&OK", -1, &box, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    EXPECT_EQ(GetPixel(m_dc, 150, 150), kBlue);
    EXPECT_EQ(GetPixel(m_dc, 150, 110), kWhite);
    SelectObject(m_dc, old);
    EXPECT_TRUE(DeleteObject(font));
}

TEST_F(Surface, StretchesNearestOrSmoothed) {
    open(20, 2);
    HDC source = CreateCompatibleDC(m_dc);
    HBITMAP pair = CreateCompatibleBitmap(source, 2, 1);
    HGDIOBJ old = SelectObject(source, pair);
    SetPixel(source, 0, 0, kRed);
    SetPixel(source, 1, 0, kBlue);
    EXPECT_EQ(SelectObject(m_dc, pair), nullptr) << "a bitmap is in one context at a time";
    EXPECT_EQ(GetStretchBltMode(m_dc), BLACKONWHITE);
    SetStretchBltMode(m_dc, COLORONCOLOR);
    EXPECT_TRUE(StretchBlt(m_dc, 0, 0, 20, 1, source, 0, 0, 2, 1, SRCCOPY));
    EXPECT_EQ(GetPixel(m_dc, 9, 0), kRed);
    EXPECT_EQ(GetPixel(m_dc, 10, 0), kBlue);
    EXPECT_EQ(SetStretchBltMode(m_dc, HALFTONE), COLORONCOLOR);
    EXPECT_TRUE(StretchBlt(m_dc, 0, 1, 20, 1, source, 0, 0, 2, 1, SRCCOPY));
    EXPECT_EQ(GetPixel(m_dc, 0, 1), kRed);
    EXPECT_EQ(GetPixel(m_dc, 19, 1), kBlue);
    COLORREF middle = GetPixel(m_dc, 10, 1);
    EXPECT_GT(GetRValue(middle), 0);
    EXPECT_GT(GetBValue(middle), 0);
    SelectObject(source, old);
    DeleteObject(pair);
    DeleteDC(source);
}

TEST(Bitmap, LoadsTheBitmapResourceOfALibrary) {
    std::string path = testsupport::ansiPath(testsupport::testData("resdll/program.dll"));
    HMODULE module = LoadLibraryA(path.c_str());
    ASSERT_NE(module, nullptr);
    auto bitmap = static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(107), IMAGE_BITMAP, 0,
                                                  0, LR_SHARED | LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr);
    BITMAP description;
    EXPECT_EQ(GetObjectA(bitmap, sizeof description, &description), sizeof description);
    EXPECT_EQ(description.bmWidth, 8);
    EXPECT_EQ(description.bmHeight, 4);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    // The test bitmap's rows are stored bottom-up: row y has green 64 y.
    for (int x : {0, 7}) {
        EXPECT_EQ(GetPixel(dc, x, 0), RGB(255 - 32 * x, 192, 32 * x));
        EXPECT_EQ(GetPixel(dc, x, 3), RGB(255 - 32 * x, 0, 32 * x));
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    EXPECT_EQ(LoadImageA(module, MAKEINTRESOURCEA(108), IMAGE_BITMAP, 0, 0, 0), nullptr);
    FreeLibrary(module);
}

namespace {

// A DIB of one row (or two, top-down) with a 40-byte header.
std::vector<BYTE> dib(int width, int height, int bits, int compression,
                      std::vector<std::uint32_t> table, std::vector<BYTE> pixels) {
    std::vector<BYTE> out;
    appendLittle32(out, 40);
    appendLittle32(out, static_cast<std::uint32_t>(width));
    appendLittle32(out, static_cast<std::uint32_t>(height));
    appendLittle16(out, 1);
    appendLittle16(out, static_cast<std::uint16_t>(bits));
    appendLittle32(out, static_cast<std::uint32_t>(compression));
    for (int i = 0; i < 3; ++i) appendLittle32(out, 0);
    appendLittle32(out, bits <= 8 ? static_cast<std::uint32_t>(table.size()) : 0);  // colours used
    appendLittle32(out, 0);
    for (std::uint32_t entry : table) appendLittle32(out, entry);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

// One 32-bit pixel of a bit-field DIB of width 1.
std::vector<BYTE> pixel32(std::uint32_t value) {
    std::vector<BYTE> out;
    appendLittle32(out, value);
    return out;
}

}  // namespace

TEST(Bitmap, ReadsEveryDepthAndRefusesDamage) {
    const struct {
        std::vector<BYTE> bytes;
        COLORREF first;
        COLORREF last;  // of the top row
    } cases[] = {
        {dib(9, 1, 1, 0, {0x000000, 0xFFFFFF}, {0x80, 0x80, 0, 0}), kWhite, kWhite},
        {dib(3, 1, 4, 0, {0xFF0000, 0x0000FF}, {0x10, 0x00, 0, 0}), kBlue, kRed},
        {dib(2, 1, 8, 0, {0xFF0000, 0x00FF00, 0x0000FF}, {2, 1, 0, 0}), kBlue, RGB(0, 255, 0)},
        // 5-6-5 bit fields: pure red, then pure blue.
        {dib(2, 1, 16, 3, {0xF800, 0x07E0, 0x001F}, {0x00, 0xF8, 0x1F, 0x00}), kRed, kBlue},
        // Top-down: the first row is the top one.
        {dib(1, -2, 32, 0, {}, {0, 0, 255, 0, 255, 0, 0, 0}), kRed, kRed},
        // Bit fields scaled up to the pixel's width: channels wider than 24
        // bits, whose values times 255 pass 32 bits, and a 24-bit one beside
        // them.
        {dib(1, 1, 32, 3, {0xFFFFFFFF, 0, 0}, pixel32(0xFFFFFFFF)), kRed, kRed},
        {dib(1, 1, 32, 3, {0xFFFFFFFF, 0, 0}, pixel32(0x80000000)), RGB(127, 0, 0), RGB(127, 0, 0)},
        {dib(1, 1, 32, 3, {0xFFFFFFE0, 0, 0x1F}, pixel32(0xFFFFFFFF)), RGB(255, 0, 255),
         RGB(255, 0, 255)},
        {dib(1, 1, 32, 3, {0, 0xFFFFFF00, 0xFF}, pixel32(0x80000080)), RGB(0, 127, 128),
         RGB(0, 127, 128)},
    };
    int row = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE("row " + std::to_string(row++));
        HBITMAP bitmap = platform::gdi::bitmapFromDib(c.bytes.data(), c.bytes.size());
        ASSERT_NE(bitmap, nullptr);
        BITMAP description;
        GetObjectA(bitmap, sizeof description, &description);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, bitmap);
        EXPECT_EQ(GetPixel(dc, 0, 0), c.first) << description.bmWidth;
        EXPECT_EQ(GetPixel(dc, description.bmWidth - 1, 0), c.last) << description.bmWidth;
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
        // One byte short of the pixels, or RLE-compressed: refused.
        EXPECT_EQ(platform::gdi::bitmapFromDib(c.bytes.data(), c.bytes.size() - 1), nullptr);
    }
    std::vector<BYTE> rle = dib(2, 1, 8, 1, {0, 0}, {0, 0, 0, 0});
    EXPECT_EQ(platform::gdi::bitmapFromDib(rle.data(), rle.size()), nullptr);
}

TEST(System, AnswersTheClassicSchemeAndWindowsXp) {
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), RGB(0, 0, 0));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(192, 192, 192));
    EXPECT_EQ(GetSysColor(31), 0u);
    OSVERSIONINFOA info{};
    EXPECT_FALSE(GetVersionExA(&info));
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ(info.dwMajorVersion * 10 + info.dwMinorVersion, 51u);
}
