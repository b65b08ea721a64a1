#include "platform/window/paint.h"

#include <algorithm>
#include <map>

#include "platform/gdi/object.h"
#include "platform/window/windowstate.h"

using namespace platform::window;
using platform::gdi::Shape;

namespace {

// Contexts handed out on windows, to show their drawing when they end.
std::map<HDC, HWND>& windowContexts() {
    static auto* instance = new std::map<HDC, HWND>;
    return *instance;
}

HDC contextOn(WindowState& state, const RECT& reach) {
    HDC dc = platform::gdi::createSurfaceDc(
        state.surface, state.frame.left, state.frame.top,
        Shape::rectangle(reach.left, reach.top, reach.right, reach.bottom));
    windowContexts()[dc] = handleOf(&state);
    return dc;
}

// Frees a context handed out on window; answers whether it was one.
bool endContext(HWND window, HDC dc) {
    auto& contexts = windowContexts();
    auto found = contexts.find(dc);
    if (found == contexts.end() || found->second != window) return false;
    contexts.erase(found);
    DeleteDC(dc);
    if (WindowState* state = find(window)) present(*state);
    return true;
}

}  // namespace

HDC BeginPaint(HWND window, LPPAINTSTRUCT paint) {
    WindowState* state = find(window);
    if (state == nullptr || paint == nullptr) return nullptr;
    RECT part = state->invalid ? state->invalidRect : RECT{0, 0, 0, 0};
    bool erase = state->invalid && state->erase;
    state->invalid = false;
    state->erase = false;
    HDC dc = contextOn(*state, part);
    bool erased = erase && state->proc(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) != 0;
    *paint = {};
    paint->hdc = dc;
    paint->fErase = erase && !erased ? TRUE : FALSE;
    paint->rcPaint = part;
    return dc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) {
    if (paint == nullptr) return FALSE;
    endContext(window, paint->hdc);
    return TRUE;
}

HDC GetDC(HWND window) {
    if (window == nullptr) return CreateCompatibleDC(nullptr);
    WindowState* state = find(window);
    if (state == nullptr) return nullptr;
    return contextOn(*state, {0, 0, state->clientWidth(), state->clientHeight()});
}

int ReleaseDC(HWND window, HDC dc) {
    if (endContext(window, dc)) return 1;
    return window == nullptr && DeleteDC(dc) ? 1 : 0;
}
