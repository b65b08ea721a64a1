#include "platform/window/x11image.h"

#include <X11/Xutil.h>

#include <bit>
#include <cstdint>
#include <cstdlib>

namespace platform::window {

namespace {

unsigned long scaled(std::uint32_t value, unsigned long mask) {
    if (mask == 0) return 0;
    int shift = std::countr_zero(mask);
    unsigned long max = mask >> shift;
    return ((value * max + 127) / 255) << shift;
}

}  // namespace

void putSurface(Display* display, Drawable target, cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    int width = cairo_image_surface_get_width(surface);
    int height = cairo_image_surface_get_height(surface);
    int stride = cairo_image_surface_get_stride(surface);
    auto* data = reinterpret_cast<char*>(cairo_image_surface_get_data(surface));
    int screen = DefaultScreen(display);
    Visual* visual = DefaultVisual(display, screen);
    int depth = DefaultDepth(display, screen);
    GC gc = DefaultGC(display, screen);
    bool direct = (depth == 24 || depth == 32) && visual->red_mask == 0xFF0000 &&
                  visual->green_mask == 0x00FF00 && visual->blue_mask == 0x0000FF;
    XImage* image;
    if (direct) {
        image = XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0, data,
                             static_cast<unsigned>(width), static_cast<unsigned>(height), 32,
                             stride);
        if (image == nullptr) return;
        image->byte_order = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
        XPutImage(display, target, gc, image, 0, 0, 0, 0, static_cast<unsigned>(width),
                  static_cast<unsigned>(height));
        image->data = nullptr;
    } else {
        image = XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr,
                             static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
        if (image == nullptr) return;
        image->data = static_cast<char*>(
            std::calloc(static_cast<std::size_t>(image->bytes_per_line) * height, 1));
        for (int y = 0; y < height; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
            for (int x = 0; x < width; ++x) {
                std::uint32_t p = row[x];
                XPutPixel(image, x, y,
                          scaled((p >> 16) & 0xFF, visual->red_mask) |
                              scaled((p >> 8) & 0xFF, visual->green_mask) |
                              scaled(p & 0xFF, visual->blue_mask));
            }
        }
        XPutImage(display, target, gc, image, 0, 0, 0, 0, static_cast<unsigned>(width),
                  static_cast<unsigned>(height));
    }
    XDestroyImage(image);
}

}  // namespace platform::window
