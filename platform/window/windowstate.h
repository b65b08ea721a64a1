// Internal to the window services: what the layer keeps of each window,
// and the hooks between windows, the message queue and the X server.
#pragma once

#include <cairo.h>

#include <string>
#include <vector>

#include "platform/window/window.h"

namespace platform::window {

struct WindowState {
    WNDPROC proc = nullptr;
    HBRUSH background = nullptr;
    HINSTANCE instance = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string title;
    // Screen coordinates, frame included.
    RECT rect{};
    // Thickness of the frame on each side; the client area is what is left.
    RECT frame{};
    bool visible = false;
    bool topmost = false;
    bool destroying = false;
    // The whole window's picture.
    cairo_surface_t* surface = nullptr;
    // The invalid part of the client area, as one rectangle.
    bool invalid = false;
    bool erase = false;
    RECT invalidRect{};
    unsigned long xWindow = 0;

    int width() const { return rect.right - rect.left; }
    int height() const { return rect.bottom - rect.top; }
    int clientWidth() const;
    int clientHeight() const;
};

WindowState* find(HWND window);
HWND handleOf(const WindowState* state);
std::vector<HWND> allWindows();
// A shown window with an invalid part, or null.
HWND windowToPaint();

// Message queue hooks (message.cpp).
void killTimersOf(HWND window);
void wakeQueue();

// X11 (x11window.cpp). Without a display they do nothing.
bool haveDisplay();
bool screenSize(int& width, int& height);
void showOnScreen(WindowState& state);
void hideOnScreen(WindowState& state);
void moveOnScreen(WindowState& state);
void destroyOnScreen(WindowState& state);
// Shows the window's surface in its X window.
void present(WindowState& state);
// Handles what the X server reported; answers whether anything came.
bool processScreenEvents();
// The X connection's descriptor for waiting, or -1.
int screenDescriptor();

}  // namespace platform::window
