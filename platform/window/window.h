// Window classes and windows (user32 on Xlib, or headless).
//
// With a display (DISPLAY names an X server that opens) a shown window is a
// real X11 window; without one it is an off-screen surface only. When the
// server goes away the windows go on off-screen, their timers and messages
// with them, instead of Xlib ending the process. Either way
// a window keeps its whole picture, frame included, in an off-screen
// surface that its device contexts draw into; the X window shows that
// surface. Windows belong to the thread that runs the message loop; the
// calls are not meant to be made from several threads at once.
#pragma once

#include "platform/core/types.h"

using INT_PTR = std::intptr_t;
using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;
using ATOM = WORD;
QUILL_DECLARE_HANDLE(HICON);
QUILL_DECLARE_HANDLE(HMENU);
using HCURSOR = HICON;

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

// Messages.
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_ERASEBKGND = 0x0014;
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_NCCREATE = 0x0081;
constexpr UINT WM_NCDESTROY = 0x0082;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_USER = 0x0400;

// Class styles.
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;

// Window styles.
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_DLGFRAME = 0x00400000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001;
constexpr DWORD WS_EX_TOPMOST = 0x00000008;
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
constexpr DWORD WS_EX_STATICEDGE = 0x00020000;
constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

struct WNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    // A brush, or a system colour id + 1 (COLOR_MENU + 1, ...).
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
};

// lParam of WM_NCCREATE and WM_CREATE.
struct CREATESTRUCTA {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
};

// Class names compare without regard to case. Answers 0 with
// ERROR_CLASS_ALREADY_EXISTS for a name already registered, and with
// ERROR_INVALID_PARAMETER without a name or window procedure.
constexpr DWORD ERROR_CLASS_ALREADY_EXISTS = 1410;
constexpr DWORD ERROR_CANNOT_FIND_WND_CLASS = 1407;
constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;
ATOM RegisterClassA(const WNDCLASSA* windowClass);

// Sends WM_NCCREATE and WM_CREATE (a WM_CREATE answer of -1, or a
// WM_NCCREATE answer of 0, destroys the window again and answers null);
// shows the window with WS_VISIBLE. x, y, width and height are the whole
// window, frame included; the client area is what the frame leaves.
// Frames: WS_BORDER 1 pixel, WS_DLGFRAME 3, WS_THICKFRAME 4,
// WS_EX_STATICEDGE 1 more, WS_EX_CLIENTEDGE 2 more, a caption 18.
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param);
// Sends WM_DESTROY, kills the window's timers and forgets it.
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);

// Default handling: WM_CLOSE destroys the window, WM_ERASEBKGND fills the
// client area with the class's background, WM_PAINT validates the window,
// WM_NCCREATE answers TRUE; everything else answers 0.
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Calls the window's procedure at once.
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;
// Answers whether the window was visible before.
BOOL ShowWindow(HWND window, int command);
// Paints (sends WM_PAINT) now if part of the window is invalid.
BOOL UpdateWindow(HWND window);
// A null rectangle is the whole client area; a null window every window.
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);

#define HWND_TOP (reinterpret_cast<HWND>(static_cast<LONG_PTR>(0)))
#define HWND_BOTTOM (reinterpret_cast<HWND>(static_cast<LONG_PTR>(1)))
#define HWND_TOPMOST (reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1)))
#define HWND_NOTOPMOST (reinterpret_cast<HWND>(static_cast<LONG_PTR>(-2)))
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;
// Moves, sizes and orders the window; HWND_TOPMOST keeps it above the
// others (on X11: _NET_WM_STATE_ABOVE, and raised).
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height,
                  UINT flags);
// The window's rectangle in screen coordinates, frame included.
BOOL GetWindowRect(HWND window, LPRECT rect);
// The client area: (0, 0, width, height).
BOOL GetClientRect(HWND window, LPRECT rect);

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CXDLGFRAME = 7;
constexpr int SM_CYDLGFRAME = 8;
constexpr int SM_CXEDGE = 45;
constexpr int SM_CYEDGE = 46;
// The screen is the X display's default screen; headless it is 1024 x 768.
// Unknown metrics answer 0.
int GetSystemMetrics(int index);
