#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/testing.h"
#include "platform/win32.h"

namespace {

constexpr UINT_PTR kTimer = 3215;

// What the test window saw, in order.
std::vector<UINT> seen;

LRESULT CALLBACK testProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    seen.push_back(message);
    switch (message) {
    case WM_CREATE:
        SetTimer(window, kTimer, 30, nullptr);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        HGDIOBJ brush = SelectObject(dc, CreateSolidBrush(RGB(255, 0, 0)));
        Rectangle(dc, 0, 0, 10, 10);
        DeleteObject(SelectObject(dc, brush));
        EndPaint(window, &paint);
        return 0;
    }
    case WM_TIMER:
        if (wParam == kTimer) {
            DestroyWindow(window);
            KillTimer(window, kTimer);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(7);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

class Headless : public ::testing::Test {
protected:
    // Each test runs in its own process, so the choice sticks for it.
    void SetUp() override { unsetenv("DISPLAY"); }

    static void registerOnce() {
        static ATOM atom = [] {
            WNDCLASSA info{};
            info.style = CS_HREDRAW | CS_VREDRAW;
            info.lpfnWndProc = testProc;
            info.hCursor = LoadCursorA(nullptr, IDC_ARROW);
            info.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(COLOR_MENU + 1));
            info.lpszClassName = "QZ_Test";
            return RegisterClassA(&info);
        }();
        ASSERT_NE(atom, 0);
    }
};

}  // namespace

TEST_F(Headless, ASplashLikeWindowPaintsTicksAndEndsTheLoop) {
    registerOnce();
    WNDCLASSA again{};
    again.lpfnWndProc = testProc;
    again.lpszClassName = "qz_test";
    EXPECT_EQ(RegisterClassA(&again), 0);
    EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);

    seen.clear();
    HWND window = CreateWindowExA(WS_EX_STATICEDGE, "QZ_Test", "Quillory", WS_POPUP | WS_DLGFRAME,
                                  0, 0, 600, 400, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(seen, (std::vector<UINT>{WM_NCCREATE, WM_CREATE}));
    RECT rect;
    GetWindowRect(window, &rect);
    int x = (GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2;
    EXPECT_TRUE(SetWindowPos(window, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE));
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 212);
    EXPECT_EQ(rect.bottom - rect.top, 400);
    GetClientRect(window, &rect);
    EXPECT_EQ(rect.right, 592);
    EXPECT_EQ(rect.bottom, 392);
    EXPECT_FALSE(ShowWindow(window, SW_SHOW));
    EXPECT_TRUE(UpdateWindow(window));

    // Painted once: the background in COLOR_MENU, the square in red with
    // the default pen's black outline.
    platform::testing::WindowPicture picture = platform::testing::windowPicture(window);
    ASSERT_EQ(picture.width, 600);
    EXPECT_EQ(picture.clientLeft, 4);
    EXPECT_EQ(picture.at(4, 4), RGB(0, 0, 0));
    EXPECT_EQ(picture.at(4 + 5, 4 + 5), RGB(255, 0, 0));
    EXPECT_EQ(picture.at(4 + 10, 4 + 10), GetSysColor(COLOR_MENU));

    // Nothing is invalid any more: the loop waits for the timer, which
    // destroys the window, whose WM_DESTROY ends the loop.
    MSG message;
    int paints = 0;
    BOOL result;
    while ((result = GetMessageA(&message, nullptr, 0, 0)) > 0) {
        paints += message.message == WM_PAINT;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    EXPECT_EQ(result, 0);
    EXPECT_EQ(message.wParam, 7u);
    EXPECT_EQ(paints, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(seen.back(), static_cast<UINT>(WM_NCDESTROY));
}

TEST_F(Headless, TimersWithoutAWindowCallBackAndPostedMessagesComeFirst) {
    static int ticks = 0;
    UINT_PTR id = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) { ++ticks; });
    ASSERT_NE(id, 0u);
    PostMessageA(nullptr, WM_USER, 1, 2);
    MSG message;
    ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), 1);
    EXPECT_EQ(message.message, static_cast<UINT>(WM_USER));
    while (ticks < 3 && GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    EXPECT_EQ(ticks, 3);
    EXPECT_TRUE(KillTimer(nullptr, id));
    EXPECT_FALSE(KillTimer(nullptr, id));
    PostQuitMessage(0);
    EXPECT_EQ(GetMessageA(&message, nullptr, 0, 0), 0);
}

TEST_F(Headless, FailuresAnswerTheirValues) {
    MSG message;
    auto bogus = reinterpret_cast<HWND>(&message);
    EXPECT_EQ(GetMessageA(&message, bogus, 0, 0), -1);
    EXPECT_EQ(GetMessageA(nullptr, nullptr, 0, 0), -1);
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                              nullptr, nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);
    EXPECT_EQ(SetTimer(bogus, 1, 10, nullptr), 0u);
    EXPECT_FALSE(DestroyWindow(bogus));
    EXPECT_EQ(GetDC(bogus), nullptr);
    EXPECT_EQ(platform::testing::windowPicture(bogus).width, 0);
}
