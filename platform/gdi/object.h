// Internal to the platform layer: the objects behind GDI handles, and the
// calls the window services use to give a window's surface a context.
#pragma once

#include <cairo.h>

#include <string>

#include "platform/gdi/dc.h"
#include "platform/gdi/shape.h"
#include "platform/gdi/text.h"

namespace platform::gdi {

enum class Kind { pen, brush, font, bitmap, region, dc };

struct Object {
    explicit Object(Kind k) : kind(k) {}
    virtual ~Object() = default;
    Kind kind;
    // Default objects of the contexts live as long as the process.
    bool stock = false;
    // Contexts that have it selected; a deleted object waits for 0.
    int selections = 0;
    bool deletePending = false;
};

struct Pen : Object {
    Pen() : Object(Kind::pen) {}
    int style = PS_SOLID;
    int width = 1;
    COLORREF color = 0;
};

struct Brush : Object {
    Brush() : Object(Kind::brush) {}
    COLORREF color = 0;
};

struct Font : Object {
    Font() : Object(Kind::font) {}
    ~Font() override;
    int height = 0;
    int weight = FW_NORMAL;
    bool italic = false;
    std::string face;
    // Made on first use.
    cairo_scaled_font_t* scaled = nullptr;
    int ascent = 0;
    int descent = 0;
    int averageWidth = 0;
    int maxWidth = 0;
};

struct Bitmap : Object {
    Bitmap() : Object(Kind::bitmap) {}
    ~Bitmap() override;
    cairo_surface_t* surface = nullptr;  // RGB24
    // The memory context it is selected into; stock bitmaps go anywhere.
    Object* owner = nullptr;
};

struct Region : Object {
    Region() : Object(Kind::region) {}
    Shape shape;
};

struct Dc : Object {
    Dc() : Object(Kind::dc) {}
    ~Dc() override;
    // What it draws into, referenced; for a memory context the selected
    // bitmap's surface.
    cairo_surface_t* surface = nullptr;
    // Surface pixel of the context's (0, 0).
    int originX = 0;
    int originY = 0;
    // What the window lets the context reach, in context coordinates.
    Shape systemClip;
    bool hasClip = false;
    Shape clip;
    bool memory = false;
    Pen* pen = nullptr;
    Brush* brush = nullptr;
    Font* font = nullptr;
    Bitmap* bitmap = nullptr;
    COLORREF textColor = 0;
    COLORREF backColor = 0xFFFFFF;
    int backMode = OPAQUE;
    UINT textAlign = 0;
    int stretchMode = 1;
    int polyFillMode = 1;
    POINT brushOrigin{0, 0};
    POINT position{0, 0};

    // The pixels drawing may reach.
    Shape visible() const;
};

// The live object behind a handle, or null when the handle names none (or
// an object of another kind).
Object* lookup(const void* handle);
template <typename T>
T* lookup(const void* handle, Kind kind) {
    Object* object = lookup(handle);
    return object != nullptr && object->kind == kind ? static_cast<T*>(object) : nullptr;
}
// Makes the object's handle valid.
void track(Object* object);

// A context that draws into surface (referenced) with its (0, 0) at
// (originX, originY), reaching only reach (context coordinates).
HDC createSurfaceDc(cairo_surface_t* surface, int originX, int originY, const Shape& reach);

// A bitmap made from pixels (0x00RRGGBB, top row first).
HBITMAP createBitmap(int width, int height);
cairo_surface_t* bitmapSurface(HBITMAP bitmap);

// Colours between COLORREF (0x00BBGGRR) and Cairo's pixels (0x00RRGGBB).
constexpr std::uint32_t pixelOf(COLORREF color) {
    return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}
constexpr COLORREF colorOf(std::uint32_t pixel) {
    return ((pixel & 0xFF) << 16) | (pixel & 0xFF00) | ((pixel >> 16) & 0xFF);
}
void setSource(cairo_t* cr, COLORREF color);

// A Cairo context on the context's surface: translated to its origin,
// clipped to what it may reach, without smoothing.
cairo_t* beginDrawing(const Dc& dc);

// Makes the font's scaled font and metrics if not yet made.
void realizeFont(Font& font);

}  // namespace platform::gdi
