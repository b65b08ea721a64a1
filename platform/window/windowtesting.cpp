// What tests read of the window services (platform/testing.h).
#include <cairo.h>

#include "platform/gdi/object.h"
#include "platform/testing.h"
#include "platform/window/windowstate.h"

namespace platform::testing {

WindowPicture windowPicture(HWND window) {
    WindowPicture picture;
    window::WindowState* state = window::find(window);
    if (state == nullptr) return picture;
    cairo_surface_flush(state->surface);
    picture.width = cairo_image_surface_get_width(state->surface);
    picture.height = cairo_image_surface_get_height(state->surface);
    picture.clientLeft = state->frame.left;
    picture.clientTop = state->frame.top;
    const unsigned char* data = cairo_image_surface_get_data(state->surface);
    int stride = cairo_image_surface_get_stride(state->surface);
    for (int y = 0; y < picture.height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        for (int x = 0; x < picture.width; ++x) {
            picture.pixels.push_back(gdi::colorOf(row[x] & 0xFFFFFF));
        }
    }
    return picture;
}

unsigned long x11WindowOf(HWND window) {
    window::WindowState* state = window::find(window);
    return state != nullptr ? state->xWindow : 0;
}

}  // namespace platform::testing
