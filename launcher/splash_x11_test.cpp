// The splash window on a real X server: an Xvfb of the test's own (with
// -displayfd, so parallel tests never race for a display number).
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "launcher/canvas.h"
#include "launcher/messageloop.h"
#include "launcher/splash.h"
#include "platform/testing.h"

namespace {

// Starts Xvfb with a 1024 x 768 screen and points DISPLAY at it.
pid_t startXvfb() {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    const pid_t server = fork();
    if (server == 0) {
        close(fds[0]);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24",
               "-nolisten", "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n') number.push_back(c);
    close(fds[0]);
    if (number.empty()) {
        kill(server, SIGTERM);
        waitpid(server, nullptr, 0);
        return -1;
    }
    setenv("DISPLAY", (":" + number).c_str(), 1);
    return server;
}

}  // namespace

TEST(SplashOnX11, TheServerShowsTheCentredSplashAsItWasPainted) {
    const pid_t server = startXvfb();
    if (server < 0) GTEST_SKIP() << "Xvfb is missing or did not start";
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
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);
}
