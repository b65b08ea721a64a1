#include <cstring>
#include <mutex>
#include <unordered_set>

#include "platform/gdi/draw.h"
#include "platform/gdi/object.h"
#include "platform/gdi/region.h"

namespace platform::gdi {

namespace {

struct Table {
    std::mutex lock;
    std::unordered_set<const void*> live;
};

Table& table() {
    static Table* instance = new Table;
    return *instance;
}

// The largest bitmap we make: 2^26 pixels (256 MiB).
constexpr long long kMaxPixels = 1LL << 26;

template <typename T>
T* makeStock(T* object) {
    object->stock = true;
    track(object);
    return object;
}

Pen* defaultPen() {
    static Pen* pen = makeStock(new Pen);
    return pen;
}

Brush* defaultBrush() {
    static Brush* brush = [] {
        auto* made = new Brush;
        made->color = RGB(255, 255, 255);
        return makeStock(made);
    }();
    return brush;
}

Font* defaultFont() {
    static Font* font = makeStock(new Font);
    return font;
}

Bitmap* defaultBitmap() {
    static Bitmap* bitmap = [] {
        auto* made = new Bitmap;
        made->surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
        return makeStock(made);
    }();
    return bitmap;
}

void forget(Object* object) {
    {
        Table& objects = table();
        std::lock_guard<std::mutex> guard(objects.lock);
        objects.live.erase(object);
    }
    delete object;
}

void select(Object* object) {
    if (object != nullptr) ++object->selections;
}

void deselect(Object* object) {
    if (object == nullptr) return;
    --object->selections;
    if (object->selections == 0 && object->deletePending) forget(object);
}

void attachBitmap(Dc& dc, Bitmap* bitmap) {
    if (dc.bitmap != nullptr && !dc.bitmap->stock) dc.bitmap->owner = nullptr;
    if (!bitmap->stock) bitmap->owner = &dc;
    dc.bitmap = bitmap;
    cairo_surface_destroy(dc.surface);
    dc.surface = cairo_surface_reference(bitmap->surface);
    dc.systemClip = Shape::rectangle(0, 0, cairo_image_surface_get_width(bitmap->surface),
                                     cairo_image_surface_get_height(bitmap->surface));
}

Dc* newDc() {
    auto* dc = new Dc;
    dc->pen = defaultPen();
    dc->brush = defaultBrush();
    dc->font = defaultFont();
    select(dc->pen);
    select(dc->brush);
    select(dc->font);
    return dc;
}

}  // namespace

Font::~Font() {
    if (scaled != nullptr) cairo_scaled_font_destroy(scaled);
}

Bitmap::~Bitmap() { cairo_surface_destroy(surface); }

Dc::~Dc() { cairo_surface_destroy(surface); }

Shape Dc::visible() const {
    return hasClip ? Shape::combine(systemClip, clip, RGN_AND) : systemClip;
}

Object* lookup(const void* handle) {
    if (handle == nullptr) return nullptr;
    Table& objects = table();
    std::lock_guard<std::mutex> guard(objects.lock);
    if (objects.live.count(handle) == 0) return nullptr;
    auto* object = static_cast<Object*>(const_cast<void*>(handle));
    return object->deletePending ? nullptr : object;
}

void track(Object* object) {
    Table& objects = table();
    std::lock_guard<std::mutex> guard(objects.lock);
    objects.live.insert(object);
}

HDC createSurfaceDc(cairo_surface_t* surface, int originX, int originY, const Shape& reach) {
    Dc* dc = newDc();
    dc->surface = cairo_surface_reference(surface);
    dc->originX = originX;
    dc->originY = originY;
    dc->systemClip = reach;
    track(dc);
    return reinterpret_cast<HDC>(static_cast<Object*>(dc));
}

HBITMAP createBitmap(int width, int height) {
    if (width <= 0 || height <= 0 || static_cast<long long>(width) * height > kMaxPixels) {
        return nullptr;
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    auto* bitmap = new Bitmap;
    bitmap->surface = surface;
    track(bitmap);
    return reinterpret_cast<HBITMAP>(static_cast<Object*>(bitmap));
}

cairo_surface_t* bitmapSurface(HBITMAP handle) {
    auto* bitmap = lookup<Bitmap>(handle, Kind::bitmap);
    return bitmap != nullptr ? bitmap->surface : nullptr;
}

void setSource(cairo_t* cr, COLORREF color) {
    cairo_set_source_rgb(cr, GetRValue(color) / 255.0, GetGValue(color) / 255.0,
                         GetBValue(color) / 255.0);
}

cairo_t* beginDrawing(const Dc& dc) {
    cairo_surface_flush(dc.surface);
    cairo_t* cr = cairo_create(dc.surface);
    cairo_translate(cr, dc.originX, dc.originY);
    Shape visible = dc.visible();
    for (const Band& band : visible.bands()) {
        for (const Span& span : band.spans) {
            cairo_rectangle(cr, span.left, band.top, span.right - span.left,
                            band.bottom - band.top);
        }
    }
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_clip(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    return cr;
}

}  // namespace platform::gdi

using namespace platform::gdi;

namespace {

Dc* dcOf(HDC handle) { return lookup<Dc>(handle, Kind::dc); }

HGDIOBJ handleOf(Object* object) { return static_cast<void*>(object); }

}  // namespace

HDC CreateCompatibleDC(HDC dc) {
    if (dc != nullptr && dcOf(dc) == nullptr) return nullptr;
    Dc* made = newDc();
    made->memory = true;
    attachBitmap(*made, defaultBitmap());
    select(made->bitmap);
    track(made);
    return reinterpret_cast<HDC>(static_cast<Object*>(made));
}

BOOL DeleteDC(HDC handle) {
    Dc* dc = dcOf(handle);
    if (dc == nullptr) return FALSE;
    if (dc->bitmap != nullptr && !dc->bitmap->stock) dc->bitmap->owner = nullptr;
    // Forget the context first: its objects may go with it.
    Object* selected[] = {dc->pen, dc->brush, dc->font, dc->bitmap};
    forget(dc);
    for (Object* object : selected) deselect(object);
    return TRUE;
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
    if (dc != nullptr && dcOf(dc) == nullptr) return nullptr;
    return createBitmap(width, height);
}

HGDIOBJ SelectObject(HDC handle, HGDIOBJ objectHandle) {
    Dc* dc = dcOf(handle);
    Object* object = lookup(objectHandle);
    if (dc == nullptr || object == nullptr) return nullptr;
    Object* previous = nullptr;
    switch (object->kind) {
    case Kind::pen:
        previous = dc->pen;
        dc->pen = static_cast<Pen*>(object);
        break;
    case Kind::brush:
        previous = dc->brush;
        dc->brush = static_cast<Brush*>(object);
        break;
    case Kind::font:
        previous = dc->font;
        dc->font = static_cast<Font*>(object);
        break;
    case Kind::bitmap: {
        auto* bitmap = static_cast<Bitmap*>(object);
        if (!dc->memory) return nullptr;
        if (!bitmap->stock && bitmap->owner != nullptr && bitmap->owner != dc) return nullptr;
        previous = dc->bitmap;
        attachBitmap(*dc, bitmap);
        break;
    }
    case Kind::region:
        return reinterpret_cast<HGDIOBJ>(
            static_cast<LONG_PTR>(SelectClipRgn(handle, static_cast<HRGN>(objectHandle))));
    case Kind::dc:
        return nullptr;
    }
    select(object);
    deselect(previous);
    return handleOf(previous);
}

BOOL DeleteObject(HGDIOBJ handle) {
    Object* object = lookup(handle);
    if (object == nullptr || object->kind == Kind::dc) return FALSE;
    if (object->stock) return TRUE;
    if (object->selections > 0) {
        object->deletePending = true;
        return TRUE;
    }
    forget(object);
    return TRUE;
}

int GetObjectA(HGDIOBJ handle, int bufferSize, LPVOID buffer) {
    auto* bitmap = lookup<Bitmap>(handle, Kind::bitmap);
    if (bitmap == nullptr) return 0;
    if (buffer == nullptr) return static_cast<int>(sizeof(BITMAP));
    if (bufferSize < static_cast<int>(sizeof(BITMAP))) return 0;
    BITMAP description{};
    description.bmWidth = cairo_image_surface_get_width(bitmap->surface);
    description.bmHeight = cairo_image_surface_get_height(bitmap->surface);
    description.bmWidthBytes = cairo_image_surface_get_stride(bitmap->surface);
    description.bmPlanes = 1;
    description.bmBitsPixel = 32;
    description.bmBits = cairo_image_surface_get_data(bitmap->surface);
    std::memcpy(buffer, &description, sizeof description);
    return static_cast<int>(sizeof description);
}

HGDIOBJ GetCurrentObject(HDC handle, UINT kind) {
    Dc* dc = dcOf(handle);
    if (dc == nullptr) return nullptr;
    switch (kind) {
    case OBJ_PEN: return handleOf(dc->pen);
    case OBJ_BRUSH: return handleOf(dc->brush);
    case OBJ_FONT: return handleOf(dc->font);
    case OBJ_BITMAP: return handleOf(dc->bitmap);
    default: return nullptr;
    }
}

HBRUSH CreateSolidBrush(COLORREF color) {
    auto* brush = new Brush;
    brush->color = color & 0xFFFFFF;
    track(brush);
    return reinterpret_cast<HBRUSH>(static_cast<Object*>(brush));
}

HPEN CreatePen(int style, int width, COLORREF color) {
    if (style != PS_SOLID && style != PS_NULL) return nullptr;
    auto* pen = new Pen;
    pen->style = style;
    pen->width = width < 0 ? 0 : width;
    pen->color = color & 0xFFFFFF;
    track(pen);
    return reinterpret_cast<HPEN>(static_cast<Object*>(pen));
}

COLORREF SetTextColor(HDC handle, COLORREF color) {
    Dc* dc = dcOf(handle);
    if (dc == nullptr) return CLR_INVALID;
    COLORREF previous = dc->textColor;
    dc->textColor = color & 0xFFFFFF;
    return previous;
}

COLORREF GetTextColor(HDC handle) {
    Dc* dc = dcOf(handle);
    return dc != nullptr ? dc->textColor : CLR_INVALID;
}

COLORREF SetBkColor(HDC handle, COLORREF color) {
    Dc* dc = dcOf(handle);
    if (dc == nullptr) return CLR_INVALID;
    COLORREF previous = dc->backColor;
    dc->backColor = color & 0xFFFFFF;
    return previous;
}

COLORREF GetBkColor(HDC handle) {
    Dc* dc = dcOf(handle);
    return dc != nullptr ? dc->backColor : CLR_INVALID;
}

int SetBkMode(HDC handle, int mode) {
    Dc* dc = dcOf(handle);
    if (dc == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    int previous = dc->backMode;
    dc->backMode = mode;
    return previous;
}

int GetBkMode(HDC handle) {
    Dc* dc = dcOf(handle);
    return dc != nullptr ? dc->backMode : 0;
}

int SetStretchBltMode(HDC handle, int mode) {
    Dc* dc = dcOf(handle);
    if (dc == nullptr || mode < BLACKONWHITE || mode > HALFTONE) return 0;
    int previous = dc->stretchMode;
    dc->stretchMode = mode;
    return previous;
}

int GetStretchBltMode(HDC handle) {
    Dc* dc = dcOf(handle);
    return dc != nullptr ? dc->stretchMode : 0;
}

BOOL SetBrushOrgEx(HDC handle, int x, int y, LPPOINT previous) {
    Dc* dc = dcOf(handle);
    if (dc == nullptr) return FALSE;
    if (previous != nullptr) *previous = dc->brushOrigin;
    dc->brushOrigin = {x, y};
    return TRUE;
}
