#include "platform/window/window.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

#include "platform/core/failurecount.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/draw.h"
#include "platform/gdi/system.h"
#include "platform/module/module.h"
#include "platform/text/cp1252.h"
#include "platform/window/paint.h"
#include "platform/window/windowcontrols.h"
#include "platform/window/windowstate.h"

namespace platform::window {

namespace {

struct ClassEntry {
    WNDCLASSA info;
    std::string name;
};

// Both live as long as the process and belong to the thread of the loop.
std::map<std::string, ClassEntry>& classes() {
    static auto* instance = new std::map<std::string, ClassEntry>;
    return *instance;
}

std::vector<WindowState*>& windows() {
    static auto* instance = new std::vector<WindowState*>;
    return *instance;
}

std::string keyOf(const char* name) {
    std::string key;
    for (const char* p = name; *p != '\0'; ++p) key.push_back(static_cast<char>(cp1252::toUpper(static_cast<unsigned char>(*p))));
    return key;
}

constexpr int kCaption = 18;

// Window creations still to refuse (platform/testing.h).
platform::FailureCount failingCreations;

RECT frameOf(DWORD style, DWORD exStyle) {
    int side = 0;
    if ((style & WS_THICKFRAME) != 0) {
        side = 4;
    } else if ((style & WS_DLGFRAME) != 0 || (exStyle & WS_EX_DLGMODALFRAME) != 0) {
        side = 3;
    } else if ((style & WS_BORDER) != 0) {
        side = 1;
    }
    if ((exStyle & WS_EX_STATICEDGE) != 0) side += 1;
    if ((exStyle & WS_EX_CLIENTEDGE) != 0) side += 2;
    int top = side + ((style & WS_CAPTION) == WS_CAPTION ? kCaption : 0);
    return {side, top, side, side};
}

void fillRect(cairo_t* cr, int x, int y, int w, int h, int colorIndex) {
    COLORREF color = GetSysColor(colorIndex);
    cairo_set_source_rgb(cr, GetRValue(color) / 255.0, GetGValue(color) / 255.0,
                         GetBValue(color) / 255.0);
    cairo_rectangle(cr, x, y, std::max(0, w), std::max(0, h));
    cairo_fill(cr);
}

// One ring of a 3D edge: light on the top and left, dark on the bottom
// and right, as the classic scheme draws it.
void ring(cairo_t* cr, int inset, int w, int h, int light, int dark) {
    int x = inset;
    int y = inset;
    int rw = w - 2 * inset;
    int rh = h - 2 * inset;
    if (rw <= 0 || rh <= 0) return;
    fillRect(cr, x, y, rw, 1, light);
    fillRect(cr, x, y, 1, rh, light);
    fillRect(cr, x, y + rh - 1, rw, 1, dark);
    fillRect(cr, x + rw - 1, y, 1, rh, dark);
}

// The frame around the client area, in the classic scheme's colours.
void drawFrame(WindowState& state) {
    cairo_t* cr = cairo_create(state.surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    int w = state.width();
    int h = state.height();
    fillRect(cr, 0, 0, w, h, COLOR_BTNFACE);
    int inset = 0;
    if ((state.style & (WS_DLGFRAME | WS_THICKFRAME)) != 0 ||
        (state.exStyle & WS_EX_DLGMODALFRAME) != 0) {
        ring(cr, 0, w, h, COLOR_3DLIGHT, COLOR_3DDKSHADOW);
        ring(cr, 1, w, h, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
        inset = (state.style & WS_THICKFRAME) != 0 ? 4 : 3;
    } else if ((state.style & WS_BORDER) != 0) {
        ring(cr, 0, w, h, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME);
        inset = 1;
    }
    if ((state.style & WS_CAPTION) == WS_CAPTION) {
        fillRect(cr, inset, inset, w - 2 * inset, kCaption - 1, COLOR_ACTIVECAPTION);
    }
    if ((state.exStyle & WS_EX_STATICEDGE) != 0) {
        int top = state.frame.top - 1 - ((state.exStyle & WS_EX_CLIENTEDGE) != 0 ? 2 : 0);
        int side = state.frame.left - 1 - ((state.exStyle & WS_EX_CLIENTEDGE) != 0 ? 2 : 0);
        fillRect(cr, side, top, w - 2 * side, 1, COLOR_BTNSHADOW);
        fillRect(cr, side, top, 1, h - top - side, COLOR_BTNSHADOW);
        fillRect(cr, side, h - side - 1, w - 2 * side, 1, COLOR_BTNHIGHLIGHT);
        fillRect(cr, w - side - 1, top, 1, h - top - side, COLOR_BTNHIGHLIGHT);
    }
    cairo_destroy(cr);
    cairo_surface_flush(state.surface);
}

void makeSurface(WindowState& state) {
    if (state.surface != nullptr) cairo_surface_destroy(state.surface);
    // A window of no size still has a surface to draw nothing into.
    state.surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, std::max(1, state.width()),
                                               std::max(1, state.height()));
    drawFrame(state);
}

void invalidateAll(WindowState& state) {
    state.invalid = true;
    state.erase = true;
    state.invalidRect = {0, 0, state.clientWidth(), state.clientHeight()};
    wakeQueue();
}

}  // namespace

int WindowState::clientWidth() const { return std::max<int>(0, width() - frame.left - frame.right); }
int WindowState::clientHeight() const {
    return std::max<int>(0, height() - frame.top - frame.bottom);
}

WindowState* find(HWND window) {
    auto* state = reinterpret_cast<WindowState*>(window);
    auto& all = windows();
    return std::find(all.begin(), all.end(), state) != all.end() ? state : nullptr;
}

HWND handleOf(const WindowState* state) {
    return reinterpret_cast<HWND>(const_cast<WindowState*>(state));
}

std::vector<HWND> allWindows() {
    std::vector<HWND> out;
    for (WindowState* state : windows()) out.push_back(handleOf(state));
    return out;
}

HWND windowToPaint() {
    for (WindowState* state : windows()) {
        if (state->visible && state->invalid && !state->destroying) return handleOf(state);
    }
    return nullptr;
}

}  // namespace platform::window

namespace platform::testing {

void failNextWindowCreations(int count) { window::failingCreations.set(count); }

}  // namespace platform::testing

using namespace platform::window;

ATOM RegisterClassA(const WNDCLASSA* windowClass) {
    if (windowClass == nullptr || windowClass->lpfnWndProc == nullptr ||
        windowClass->lpszClassName == nullptr || IS_INTRESOURCE(windowClass->lpszClassName)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string key = keyOf(windowClass->lpszClassName);
    auto& all = classes();
    if (all.count(key) != 0) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    ClassEntry entry{*windowClass, windowClass->lpszClassName};
    entry.info.lpszClassName = nullptr;
    entry.info.lpszMenuName = nullptr;
    all.emplace(key, entry);
    // Atoms of registered classes start at 0xC000.
    return static_cast<ATOM>(0xC000 + all.size() - 1);
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND, HMENU menu, HINSTANCE instance,
                     LPVOID param) {
    if (className == nullptr || IS_INTRESOURCE(className)) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    auto found = classes().find(keyOf(className));
    if (found == classes().end()) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    if (failingCreations.take()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    const WNDCLASSA& info = found->second.info;
    if (x == CW_USEDEFAULT) x = y = 0;
    if (width == CW_USEDEFAULT) width = height = 0;
    auto* state = new WindowState;
    state->proc = info.lpfnWndProc;
    state->background = info.hbrBackground;
    state->instance = instance;
    state->style = style & ~WS_VISIBLE;
    state->exStyle = exStyle;
    state->topmost = (exStyle & WS_EX_TOPMOST) != 0;
    state->title = windowName != nullptr ? windowName : "";
    state->rect = {x, y, x + std::max(0, width), y + std::max(0, height)};
    state->frame = frameOf(style, exStyle);
    makeSurface(*state);
    windows().push_back(state);
    HWND window = handleOf(state);

    CREATESTRUCTA create{param,  instance, menu, nullptr, state->height(), state->width(),
                         y,      x,        static_cast<LONG>(style), windowName, className,
                         exStyle};
    LPARAM lParam = reinterpret_cast<LPARAM>(&create);
    if (state->proc(window, WM_NCCREATE, 0, lParam) == 0 ||
        (find(window) != nullptr && state->proc(window, WM_CREATE, 0, lParam) == -1)) {
        DestroyWindow(window);
        return nullptr;
    }
    if (find(window) == nullptr) return nullptr;
    if ((style & WS_VISIBLE) != 0) ShowWindow(window, SW_SHOW);
    return window;
}

BOOL DestroyWindow(HWND window) {
    WindowState* state = find(window);
    if (state == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (state->destroying) return TRUE;
    state->destroying = true;
    if (state->visible) hideOnScreen(*state);
    state->visible = false;
    state->proc(window, WM_DESTROY, 0, 0);
    state->proc(window, WM_NCDESTROY, 0, 0);
    killTimersOf(window);
    destroyOnScreen(*state);
    auto& all = windows();
    all.erase(std::remove(all.begin(), all.end(), state), all.end());
    cairo_surface_destroy(state->surface);
    delete state;
    return TRUE;
}

BOOL IsWindow(HWND window) { return find(window) != nullptr; }

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM) {
    WindowState* state = find(window);
    if (state == nullptr) return 0;
    switch (message) {
    case WM_NCCREATE:
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_ERASEBKGND: {
        auto dc = reinterpret_cast<HDC>(wParam);
        HBRUSH brush = state->background;
        auto value = reinterpret_cast<UINT_PTR>(brush);
        // A small value is a system colour id + 1.
        bool systemColor = value != 0 && value <= 31;
        if (systemColor) brush = CreateSolidBrush(GetSysColor(static_cast<int>(value - 1)));
        if (brush == nullptr) return 0;
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        HGDIOBJ oldPen = SelectObject(dc, CreatePen(PS_NULL, 0, 0));
        Rectangle(dc, 0, 0, state->clientWidth() + 1, state->clientHeight() + 1);
        SelectObject(dc, oldBrush);
        DeleteObject(SelectObject(dc, oldPen));
        if (systemColor) DeleteObject(brush);
        return 1;
    }
    default:
        return 0;
    }
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowState* state = find(window);
    return state != nullptr ? state->proc(window, message, wParam, lParam) : 0;
}

BOOL ShowWindow(HWND window, int command) {
    WindowState* state = find(window);
    if (state == nullptr) return FALSE;
    bool was = state->visible;
    bool show = command != SW_HIDE;
    if (show == was) return was;
    state->visible = show;
    if (show) {
        showOnScreen(*state);
        invalidateAll(*state);
    } else {
        hideOnScreen(*state);
    }
    return was;
}

BOOL UpdateWindow(HWND window) {
    WindowState* state = find(window);
    if (state == nullptr) return FALSE;
    if (state->visible && state->invalid) state->proc(window, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
    if (window == nullptr) {
        for (HWND each : allWindows()) InvalidateRect(each, nullptr, erase);
        return TRUE;
    }
    WindowState* state = find(window);
    if (state == nullptr) return FALSE;
    RECT client{0, 0, state->clientWidth(), state->clientHeight()};
    RECT part = rect != nullptr ? *rect : client;
    part.left = std::max(part.left, client.left);
    part.top = std::max(part.top, client.top);
    part.right = std::min(part.right, client.right);
    part.bottom = std::min(part.bottom, client.bottom);
    if (part.left >= part.right || part.top >= part.bottom) return TRUE;
    if (state->invalid) {
        RECT& was = state->invalidRect;
        was = {std::min(was.left, part.left), std::min(was.top, part.top),
               std::max(was.right, part.right), std::max(was.bottom, part.bottom)};
    } else {
        state->invalidRect = part;
    }
    state->invalid = true;
    state->erase = state->erase || erase != FALSE;
    wakeQueue();
    return TRUE;
}

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height,
                  UINT flags) {
    WindowState* state = find(window);
    if (state == nullptr) return FALSE;
    if ((flags & SWP_NOZORDER) == 0) {
        if (insertAfter == HWND_TOPMOST) state->topmost = true;
        if (insertAfter == HWND_NOTOPMOST) state->topmost = false;
    }
    RECT rect = state->rect;
    if ((flags & SWP_NOMOVE) == 0) {
        rect = {x, y, x + state->width(), y + state->height()};
    }
    bool resized = false;
    if ((flags & SWP_NOSIZE) == 0) {
        resized = width != state->width() || height != state->height();
        rect.right = rect.left + std::max(0, width);
        rect.bottom = rect.top + std::max(0, height);
    }
    state->rect = rect;
    if (resized) {
        makeSurface(*state);
        invalidateAll(*state);
    }
    moveOnScreen(*state);
    if ((flags & SWP_SHOWWINDOW) != 0) ShowWindow(window, SW_SHOW);
    if ((flags & SWP_HIDEWINDOW) != 0) ShowWindow(window, SW_HIDE);
    return TRUE;
}

BOOL GetWindowRect(HWND window, LPRECT rect) {
    WindowState* state = find(window);
    if (state == nullptr || rect == nullptr) return FALSE;
    *rect = state->rect;
    return TRUE;
}

BOOL GetClientRect(HWND window, LPRECT rect) {
    WindowState* state = find(window);
    if (state == nullptr || rect == nullptr) return FALSE;
    *rect = {0, 0, state->clientWidth(), state->clientHeight()};
    return TRUE;
}

int GetSystemMetrics(int index) {
    switch (index) {
    case SM_CXSCREEN:
    case SM_CYSCREEN: {
        int width = 1024;
        int height = 768;
        screenSize(width, height);
        return index == SM_CXSCREEN ? width : height;
    }
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
        return 3;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    default:
        return 0;
    }
}
