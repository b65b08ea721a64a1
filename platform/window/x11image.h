// Internal to the window services: a 32-bit picture (Cairo's RGB24) put
// into an X drawable, whatever the server's visual.
#pragma once

#include <X11/Xlib.h>
#include <cairo.h>

namespace platform::window {

void putSurface(Display* display, Drawable target, cairo_surface_t* surface);

}  // namespace platform::window
