// Internal to the window services: connections to the X server named by
// DISPLAY.
//
// Xlib ends the process with status 1 when a connection breaks (the server
// went away). A connection opened here is marked lost instead, and its owner
// carries on without it, as it would have without a display. Connections the
// process opened elsewhere (a test's, a Java runtime's) keep the handling
// they had.
#pragma once

#include <X11/Xlib.h>

#include <atomic>
#include <string>

namespace platform::window {

// What DISPLAY names; empty when it is unset or empty.
std::string displayName();

// Opens the display DISPLAY names, trying up to tries times a fifth of a
// second apart; null without DISPLAY or when every try failed. lost is set,
// from inside whichever Xlib call noticed, once the server drops the
// connection; from then on the connection may only be closed. lost must
// outlive the connection.
Display* openDisplay(int tries, std::atomic<bool>* lost);
void closeDisplay(Display* display);

}  // namespace platform::window
