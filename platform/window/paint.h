// Painting a window: device contexts on its off-screen surface.
#pragma once

#include "platform/window/window.h"

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};
using LPPAINTSTRUCT = PAINTSTRUCT*;

// Answers a context clipped to the invalid part of the client area, erases
// it first (WM_ERASEBKGND) when asked to, and validates the window. The
// picture reaches the screen at EndPaint, which also frees the context.
HDC BeginPaint(HWND window, LPPAINTSTRUCT paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);

// A context on the client area (a null window: the screen, as a memory
// context). ReleaseDC frees it and shows what was drawn.
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
