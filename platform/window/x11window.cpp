// Windows on the X server named by DISPLAY; nothing at all without one, or
// once that server has gone away.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <atomic>
#include <string>

#include "platform/text/cp1252.h"
#include "platform/window/message.h"
#include "platform/window/windowstate.h"
#include "platform/window/x11display.h"
#include "platform/window/x11image.h"

namespace platform::window {

namespace {

struct Screen {
    // Kept when the server goes away: Xlib may still be using it.
    Display* display = nullptr;
    std::atomic<bool> lost{false};
    Atom deleteWindow = 0;
    Atom protocols = 0;
    Atom state = 0;
    Atom above = 0;
    Atom name = 0;
    Atom utf8 = 0;
};

Screen& screen() {
    static Screen* instance = [] {
        auto* made = new Screen;
        made->display = openDisplay(1, &made->lost);
        if (made->display == nullptr) return made;
        made->deleteWindow = XInternAtom(made->display, "WM_DELETE_WINDOW", False);
        made->protocols = XInternAtom(made->display, "WM_PROTOCOLS", False);
        made->state = XInternAtom(made->display, "_NET_WM_STATE", False);
        made->above = XInternAtom(made->display, "_NET_WM_STATE_ABOVE", False);
        made->name = XInternAtom(made->display, "_NET_WM_NAME", False);
        made->utf8 = XInternAtom(made->display, "UTF8_STRING", False);
        return made;
    }();
    return *instance;
}

// The connection, or null without one: a lost one leaves the windows
// off-screen, as they are without a display.
Display* live(const Screen& s) { return s.lost ? nullptr : s.display; }

unsigned sideOf(LONG value) { return static_cast<unsigned>(value > 1 ? value : 1); }

void setAbove(const Screen& s, const WindowState& state) {
    if (state.topmost) {
        XChangeProperty(s.display, state.xWindow, s.state, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&s.above), 1);
        XRaiseWindow(s.display, state.xWindow);
    } else {
        XDeleteProperty(s.display, state.xWindow, s.state);
    }
}

void create(const Screen& s, WindowState& state) {
    Display* d = s.display;
    int number = DefaultScreen(d);
    XSetWindowAttributes attributes{};
    // A pop-up without a caption is placed and drawn by us alone, as on
    // Windows: the window manager leaves it be.
    attributes.override_redirect =
        (state.style & WS_POPUP) != 0 && (state.style & WS_CAPTION) != WS_CAPTION;
    attributes.background_pixel = BlackPixel(d, number);
    attributes.event_mask = ExposureMask | StructureNotifyMask | KeyPressMask | ButtonPressMask;
    state.xWindow = XCreateWindow(d, RootWindow(d, number), state.rect.left, state.rect.top,
                                  sideOf(state.width()), sideOf(state.height()), 0,
                                  CopyFromParent, InputOutput, CopyFromParent,
                                  CWOverrideRedirect | CWBackPixel | CWEventMask, &attributes);
    std::string title = cp1252::toUtf8(state.title.c_str());
    XStoreName(d, state.xWindow, state.title.c_str());
    XChangeProperty(d, state.xWindow, s.name, s.utf8, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title.data()),
                    static_cast<int>(title.size()));
    Atom protocols[] = {s.deleteWindow};
    XSetWMProtocols(d, state.xWindow, protocols, 1);
    XSizeHints hints{};
    hints.flags = PPosition | PSize;
    hints.x = state.rect.left;
    hints.y = state.rect.top;
    hints.width = static_cast<int>(sideOf(state.width()));
    hints.height = static_cast<int>(sideOf(state.height()));
    XSetWMNormalHints(d, state.xWindow, &hints);
}

WindowState* stateOf(Window xWindow) {
    for (HWND window : allWindows()) {
        WindowState* state = find(window);
        if (state != nullptr && state->xWindow == xWindow) return state;
    }
    return nullptr;
}

}  // namespace

bool haveDisplay() { return live(screen()) != nullptr; }

bool screenSize(int& width, int& height) {
    Display* d = live(screen());
    if (d == nullptr) return false;
    width = DisplayWidth(d, DefaultScreen(d));
    height = DisplayHeight(d, DefaultScreen(d));
    return true;
}

void showOnScreen(WindowState& state) {
    const Screen& s = screen();
    if (live(s) == nullptr) return;
    if (state.xWindow == 0) create(s, state);
    setAbove(s, state);
    XMapRaised(s.display, state.xWindow);
    XFlush(s.display);
}

void hideOnScreen(WindowState& state) {
    const Screen& s = screen();
    if (live(s) == nullptr || state.xWindow == 0) return;
    XUnmapWindow(s.display, state.xWindow);
    XFlush(s.display);
}

void moveOnScreen(WindowState& state) {
    const Screen& s = screen();
    if (live(s) == nullptr || state.xWindow == 0) return;
    XMoveResizeWindow(s.display, state.xWindow, state.rect.left, state.rect.top,
                      sideOf(state.width()), sideOf(state.height()));
    setAbove(s, state);
    XFlush(s.display);
}

void destroyOnScreen(WindowState& state) {
    const Screen& s = screen();
    if (live(s) == nullptr || state.xWindow == 0) return;
    XDestroyWindow(s.display, state.xWindow);
    state.xWindow = 0;
    XFlush(s.display);
}

void present(WindowState& state) {
    const Screen& s = screen();
    if (live(s) == nullptr || state.xWindow == 0 || !state.visible) return;
    putSurface(s.display, state.xWindow, state.surface);
    // Once this returns the server shows the picture, for whoever looks.
    XSync(s.display, False);
}

bool processScreenEvents() {
    const Screen& s = screen();
    bool any = false;
    // Only a queued event is taken: on a lost connection XNextEvent would
    // wait for one that cannot come.
    while (live(s) != nullptr && XPending(s.display) > 0) {
        XEvent event;
        XNextEvent(s.display, &event);
        any = true;
        WindowState* state = stateOf(event.xany.window);
        if (state == nullptr) continue;
        if (event.type == Expose && event.xexpose.count == 0) {
            present(*state);
        } else if (event.type == ClientMessage &&
                   static_cast<Atom>(event.xclient.data.l[0]) == s.deleteWindow) {
            PostMessageA(handleOf(state), WM_CLOSE, 0, 0);
        }
    }
    return any;
}

int screenDescriptor() {
    Display* d = live(screen());
    return d != nullptr ? ConnectionNumber(d) : -1;
}

}  // namespace platform::window
