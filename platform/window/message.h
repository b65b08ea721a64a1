// The message queue, its loop and timers (user32 on Xlib, or headless).
//
// One queue serves the process. GetMessageA answers, in this order: posted
// messages, WM_QUIT once PostQuitMessage was called and nothing else is
// posted, WM_PAINT for a shown window with an invalid part, WM_TIMER for a
// timer that is due; otherwise it waits for one of them (and for X events,
// with a display). Headless the loop and its timers run just the same.
// Timers are measured on the monotonic clock; a due timer gives one
// WM_TIMER however late it is, and is due again a period after that. Only
// PostMessageA and PostQuitMessage may be called from other threads.
#pragma once

#include "platform/window/window.h"

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};
using LPMSG = MSG*;

// Answers 0 for WM_QUIT, -1 for a null message or a window filter that
// names no window, and 1 otherwise. The window and range filters limit
// which messages are taken (0, 0: all); WM_QUIT is always taken.
BOOL GetMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax);
// Keyboard messages need no translation here; answers FALSE.
BOOL TranslateMessage(const MSG* message);
// Calls the window procedure (or the timer callback of a WM_TIMER) and
// answers its result; 0 for a message without a live window.
LRESULT DispatchMessageA(const MSG* message);
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);

using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);
// A timer on a window is named by its id and replaces one of that id; with
// no window the answer is a new id. Periods under 10 ms count as 10 ms.
// Answers 0 for a window that does not exist.
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC callback);
BOOL KillTimer(HWND window, UINT_PTR id);
