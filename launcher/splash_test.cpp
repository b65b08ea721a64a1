// The splash window painted off-screen (no display): this program carries
// the launcher's own resources; the English test library has a bitmap of
// another size and a notice with '%' in it, another library that bitmap alone.
#include "launcher/splash.h"

#include <gtest/gtest.h>

#include "testsupport/ansipath.h"
#include "launcher/canvas.h"
#include "launcher/messageloop.h"
#include "platform/testing.h"

namespace {

using platform::testing::WindowPicture;

// How many client pixels in the box have exactly that colour.
int count(const WindowPicture& picture, RECT box, COLORREF colour) {
    int found = 0;
    for (LONG y = box.top; y < box.bottom; ++y) {
        for (LONG x = box.left; x < box.right; ++x) {
            const int px = picture.clientLeft + x;
            const int py = picture.clientTop + y;
            if (px < picture.width && py < picture.height && picture.at(px, py) == colour) ++found;
        }
    }
    return found;
}

const COLORREF kText = RGB(3, 3, 3);
const COLORREF kHalo = RGB(203, 203, 203);
const RECT kVersionBox{400, 150, 600, 190};
const RECT kNoticeBox{430, 315, 640, 340};

HWND showSplash(HINSTANCE module) {
    unsetenv("DISPLAY");
    canvasInit();
    registerSplashClass(module);
    splashScreen.versionText = "3.0";
    splashScreen.create(kSplashBitmapId);
    return splashScreen.window();
}

}  // namespace

TEST(Splash, ShowsItsBitmapAtItsSizeWithTheTextsInDarkGreyOnALightHalo) {
    HWND window = showSplash(GetModuleHandleA(nullptr));
    ASSERT_NE(window, nullptr);
    RECT frame{};
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.right - frame.left, 600);
    EXPECT_EQ(frame.bottom - frame.top, 400);
    EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - 600) / 2);
    EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - 400) / 2);

    const WindowPicture first = platform::testing::windowPicture(window);
    ASSERT_EQ(first.width, 600);
    ASSERT_EQ(first.height, 400);
    EXPECT_GT(count(first, kVersionBox, kText), 50);
    EXPECT_GT(count(first, kVersionBox, kHalo), 10);
    EXPECT_GT(count(first, kNoticeBox, kText), 10);
    EXPECT_EQ(count(first, RECT{0, 0, 380, 140}, kText), 0);

    // Another timer, and painting again, change nothing.
    SendMessageA(window, WM_TIMER, kSplashTimerId + 1, 0);
    EXPECT_TRUE(IsWindow(window));
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    EXPECT_EQ(platform::testing::windowPicture(window).pixels, first.pixels);

    // Its own timer closes it and ends the message loop.
    SendMessageA(window, WM_TIMER, kSplashTimerId, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(runMessageLoop(nullptr), 0);
    canvasRelease();
}

TEST(Splash, TakesBitmapAndTextsFromALanguageLibraryAndTheProgramsTextsItLacks) {
    // The English notice holds "%n", which as a format would draw nothing at
    // all; the other library has the bitmap alone.
    for (const char* library : {ENGLISH_SATELLITE, BITMAP_ONLY_SATELLITE}) {
        SCOPED_TRACE(library);
        HMODULE language = LoadLibraryA(testsupport::ansiPath(library).c_str());
        ASSERT_NE(language, nullptr);
        HWND window = showSplash(language);
        ASSERT_NE(window, nullptr);
        const WindowPicture picture = platform::testing::windowPicture(window);
        EXPECT_EQ(picture.width, 640);
        EXPECT_EQ(picture.height, 360);
        EXPECT_GT(count(picture, kVersionBox, kText), 50);
        EXPECT_GT(count(picture, kNoticeBox, kText), 10);
        DestroyWindow(window);
        EXPECT_EQ(runMessageLoop(nullptr), 0);
        canvasRelease();
    }
}

TEST(Splash, AWindowThatCannotBeMadeStillEndsTheMessageLoop) {
    canvasInit();
    registerSplashClass(GetModuleHandleA(nullptr));
    platform::testing::failNextWindowCreations(1);
    splashScreen.create(kSplashBitmapId);
    EXPECT_EQ(splashScreen.window(), nullptr);
    // Should nothing post the quit message, this ends the loop with 1.
    const UINT_PTR watchdog =
        SetTimer(nullptr, 0, 1000, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(1); });
    EXPECT_EQ(runMessageLoop(nullptr), 0);
    KillTimer(nullptr, watchdog);
    canvasRelease();
}

TEST(MessageLoop, EndsWhenGetMessageFails) {
    // No window has this handle: GetMessageA answers -1 at once.
    EXPECT_EQ(runMessageLoop(reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x5EED))), -1);
}
