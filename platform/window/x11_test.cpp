// Windows and message boxes on a real X server: an Xvfb of the test's own.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "platform/testing.h"
#include "platform/win32.h"

namespace {

class OnXvfb : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (platform::testing::startXvfb()) s_display = XOpenDisplay(nullptr);
    }
    static void TearDownTestSuite() {
        if (s_display != nullptr) XCloseDisplay(s_display);
        s_display = nullptr;
        platform::testing::stopXvfb();
    }
    void SetUp() override {
        if (s_display == nullptr) GTEST_SKIP() << "Xvfb is missing or did not start";
    }

    // The server's picture of a window, as COLORREFs.
    static std::vector<COLORREF> capture(Window window, int width, int height) {
        XImage* image = XGetImage(s_display, window, 0, 0, static_cast<unsigned>(width),
                                  static_cast<unsigned>(height), AllPlanes, ZPixmap);
        std::vector<COLORREF> pixels;
        if (image == nullptr) return pixels;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                unsigned long p = XGetPixel(image, x, y);
                pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
            }
        }
        XDestroyImage(image);
        return pixels;
    }

    // The shown top-level window named name; waits for it to appear.
    static Window waitForWindow(const std::string& name) {
        for (int attempt = 0; attempt < 3000; ++attempt) {
            Window root;
            Window parent;
            Window* children = nullptr;
            unsigned count = 0;
            XQueryTree(s_display, DefaultRootWindow(s_display), &root, &parent, &children, &count);
            Window found = 0;
            for (unsigned i = 0; i < count && found == 0; ++i) {
                char* title = nullptr;
                XWindowAttributes attributes;
                if (XFetchName(s_display, children[i], &title) != 0 && title != nullptr &&
                    name == title && XGetWindowAttributes(s_display, children[i], &attributes) &&
                    attributes.map_state == IsViewable) {
                    found = children[i];
                }
                if (title != nullptr) XFree(title);
            }
            if (children != nullptr) XFree(children);
            if (found != 0) return found;
            usleep(10000);
        }
        return 0;
    }

    static void press(Window window, KeySym key) {
        XEvent event{};
        event.xkey.type = KeyPress;
        event.xkey.display = s_display;
        event.xkey.window = window;
        event.xkey.root = DefaultRootWindow(s_display);
        event.xkey.same_screen = True;
        event.xkey.keycode = XKeysymToKeycode(s_display, key);
        XSendEvent(s_display, window, True, KeyPressMask, &event);
        XFlush(s_display);
    }

    static inline Display* s_display = nullptr;
};

LRESULT CALLBACK splashProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        SetTimer(window, 1, 50, nullptr);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        HDC memory = CreateCompatibleDC(dc);
        HBITMAP picture = CreateCompatibleBitmap(dc, 3, 2);
        HGDIOBJ old = SelectObject(memory, picture);
        SetPixel(memory, 0, 0, RGB(200, 30, 30));
        SetPixel(memory, 2, 1, RGB(30, 30, 200));
        SetStretchBltMode(dc, HALFTONE);
        StretchBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, 3, 2, SRCCOPY);
        SelectObject(memory, old);
        DeleteObject(picture);
        DeleteDC(memory);
        HFONT font = CreateFontA(34, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 32, "Arial");
        HGDIOBJ oldFont = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(3, 3, 3));
        TextOutA(dc, 40, 50, "Version 3.0", 11);
        SelectObject(dc, oldFont);
        DeleteObject(font);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_TIMER:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

TEST_F(OnXvfb, TheServerShowsTheCentredWindowAsItWasPainted) {
    WNDCLASSA info{};
    info.lpfnWndProc = splashProc;
    info.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(COLOR_MENU + 1));
    info.lpszClassName = "QZ_XTest";
    ASSERT_NE(RegisterClassA(&info), 0);
    HWND window = CreateWindowExA(WS_EX_STATICEDGE, "QZ_XTest", "Quillory", WS_POPUP | WS_DLGFRAME,
                                  0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    SetWindowPos(window, HWND_TOPMOST, (1024 - 300) / 2, (768 - 200) / 2, 0, 0, SWP_NOSIZE);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);

    Window shown = platform::testing::x11WindowOf(window);
    ASSERT_NE(shown, 0u);
    XWindowAttributes attributes;
    ASSERT_TRUE(XGetWindowAttributes(s_display, shown, &attributes));
    EXPECT_EQ(attributes.x, 362);
    EXPECT_EQ(attributes.y, 284);
    EXPECT_EQ(attributes.map_state, IsViewable);
    platform::testing::WindowPicture picture = platform::testing::windowPicture(window);
    std::vector<COLORREF> onScreen = capture(shown, picture.width, picture.height);
    ASSERT_EQ(onScreen.size(), picture.pixels.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < onScreen.size(); ++i) differing += onScreen[i] != picture.pixels[i];
    EXPECT_EQ(differing, 0u);
    EXPECT_EQ(picture.at(0, 0), GetSysColor(COLOR_3DLIGHT)) << "the frame is painted too";

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    EXPECT_FALSE(IsWindow(window));
    XWindowAttributes gone;
    XSync(s_display, False);
    int (*old)(Display*, XErrorEvent*) = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    EXPECT_FALSE(XGetWindowAttributes(s_display, shown, &gone));
    XSetErrorHandler(old);
}

TEST_F(OnXvfb, MessageBoxesAreDialogsOnTheScreenThatKeysAnswer) {
    const std::string twoLines = "Erste Zeile\nzweite Zeile mit \xE4";
    // An installation path of 2,436 characters without a blank.
    std::string path = "/tmp/quillory-Xy3kQ9";
    for (char c = 'a'; path.size() < 2436; ++c) path += "/" + std::string(200, c);
    path.resize(2436);
    const std::string longText =
        "Quillory kann nicht gestartet werden, da\njre\\bin\\javaw.exe nicht unter\n" + path +
        "\ngefunden werden konnte.";
    const struct {
        UINT type;
        std::string text;
        std::vector<KeySym> keys;
        int answer;
    } cases[] = {
        {MB_OK | MB_ICONINFORMATION, twoLines, {XK_Return}, IDOK},
        {MB_OK | MB_ICONINFORMATION, twoLines, {XK_Escape}, IDOK},
        {MB_OKCANCEL, twoLines, {XK_Escape}, IDCANCEL},
        {MB_YESNO, twoLines, {XK_Tab, XK_Return}, IDNO},
        {MB_OK | MB_ICONINFORMATION, longText, {XK_Return}, IDOK},
    };
    for (const auto& c : cases) {
        auto shown = std::async(std::launch::async, [&] {
            return MessageBoxA(nullptr, c.text.c_str(), "Quillory Launcher", c.type);
        });
        Window dialog = waitForWindow("Quillory Launcher");
        ASSERT_NE(dialog, 0u);
        XWindowAttributes attributes;
        XGetWindowAttributes(s_display, dialog, &attributes);
        EXPECT_GT(attributes.height, 2 * 13 + 23) << "two lines and the buttons";
        EXPECT_LE(attributes.width, 1024 * 3 / 4) << "a long text wraps, the box stays narrow";
        EXPECT_GE(attributes.x, 0);
        EXPECT_GE(attributes.y, 0);
        EXPECT_LE(attributes.x + attributes.width, 1024);
        EXPECT_LE(attributes.y + attributes.height, 768);
        if ((c.type & MB_ICONINFORMATION) != 0) {
            // Wait for the first picture; then the icon's blue "i" is on it.
            bool blue = false;
            for (int attempt = 0; attempt < 300 && !blue; ++attempt) {
                for (COLORREF p : capture(dialog, attributes.width, attributes.height)) {
                    blue = blue || p == RGB(0, 0, 255);
                }
                if (!blue) usleep(10000);
            }
            EXPECT_TRUE(blue);
        }
        for (KeySym key : c.keys) press(dialog, key);
        EXPECT_EQ(shown.get(), c.answer);
    }
}

TEST_F(OnXvfb, ABoxTriesItsDisplayAgainAndOtherwiseNamesIt) {
    platform::testing::failNextDisplayOpens(2);
    auto shown = std::async(std::launch::async,
                            [] { return MessageBoxA(nullptr, "Gleich", "Bald", MB_OKCANCEL); });
    Window dialog = waitForWindow("Bald");
    ASSERT_NE(dialog, 0u) << "the box was given up on at the first refusal";
    press(dialog, XK_Escape);
    EXPECT_EQ(shown.get(), IDCANCEL);

    platform::testing::failNextDisplayOpens(1000);
    ::testing::internal::CaptureStderr();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(MessageBoxA(nullptr, "Nie", "Bald", MB_OKCANCEL), IDOK);
    const std::chrono::duration<double> waited = std::chrono::steady_clock::now() - start;
    platform::testing::failNextDisplayOpens(0);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "cannot reach display \"" + std::string(std::getenv("DISPLAY")) + "\"\nBald: Nie\n");
    EXPECT_GT(waited.count(), 0.5);
    EXPECT_LT(waited.count(), 3.0);
}
