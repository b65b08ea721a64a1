// The splash window on a real X server: an Xvfb of the test's own.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "launcher/canvas.h"
#include "launcher/messageloop.h"
#include "launcher/splash.h"
#include "platform/testing.h"

TEST(SplashOnX11, TheServerShowsTheCentredSplashAsItWasPainted) {
    if (!platform::testing::startXvfb()) GTEST_SKIP() << "Xvfb is missing or did not start";
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);

    canvasInit();
    registerSplashClass(GetModuleHandleA(nullptr));
    splashScreen.versionText = "3.0";
    splashScreen.create(kSplashBitmapId);
    HWND window = splashScreen.window();
    ASSERT_NE(window, nullptr);
    const Window shown = platform::testing::x11WindowOf(window);
    ASSERT_NE(shown, 0u);
    XWindowAttributes attributes{};
    ASSERT_TRUE(XGetWindowAttributes(display, shown, &attributes));
    EXPECT_EQ(attributes.x, (1024 - 600) / 2);
    EXPECT_EQ(attributes.y, (768 - 400) / 2);
    EXPECT_EQ(attributes.width, 600);
    EXPECT_EQ(attributes.height, 400);
    EXPECT_EQ(attributes.map_state, IsViewable);

    const platform::testing::WindowPicture picture = platform::testing::windowPicture(window);
    XImage* image = XGetImage(display, shown, 0, 0, 600, 400, AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    int differing = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            differing += picture.at(x, y) != RGB(static_cast<BYTE>(p >> 16),
                                                 static_cast<BYTE>(p >> 8), static_cast<BYTE>(p));
        }
    }
    XDestroyImage(image);
    EXPECT_EQ(differing, 0);

    SendMessageA(window, WM_TIMER, kSplashTimerId, 0);
    EXPECT_EQ(runMessageLoop(nullptr), 0);
    canvasRelease();
    XCloseDisplay(display);
    platform::testing::stopXvfb();
}
