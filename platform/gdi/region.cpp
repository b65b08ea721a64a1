#include "platform/gdi/region.h"

#include "platform/gdi/object.h"

using namespace platform::gdi;

namespace {

HRGN track(Shape shape) {
    auto* region = new Region;
    region->shape = std::move(shape);
    platform::gdi::track(region);
    return reinterpret_cast<HRGN>(static_cast<Object*>(region));
}

Region* regionOf(HRGN handle) { return lookup<Region>(handle, Kind::region); }

Dc* dcOf(HDC handle) { return lookup<Dc>(handle, Kind::dc); }

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    return track(Shape::rectangle(left, top, right, bottom));
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
    return track(Shape::ellipse(left, top, right, bottom));
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode) {
    if (points == nullptr || count < 0 || (fillMode != ALTERNATE && fillMode != WINDING)) {
        return nullptr;
    }
    return track(Shape::polygon(points, count, fillMode));
}

int CombineRgn(HRGN target, HRGN first, HRGN second, int mode) {
    Region* out = regionOf(target);
    Region* a = regionOf(first);
    Region* b = mode == RGN_COPY ? a : regionOf(second);
    if (out == nullptr || a == nullptr || b == nullptr || mode < RGN_AND || mode > RGN_COPY) {
        return ERROR;
    }
    out->shape = Shape::combine(a->shape, b->shape, mode);
    return out->shape.kind();
}

int GetRgnBox(HRGN handle, LPRECT box) {
    Region* region = regionOf(handle);
    if (region == nullptr || box == nullptr) return ERROR;
    *box = region->shape.box();
    return region->shape.kind();
}

int SelectClipRgn(HDC handle, HRGN regionHandle) {
    Dc* dc = dcOf(handle);
    if (dc == nullptr) return ERROR;
    if (regionHandle == nullptr) {
        dc->hasClip = false;
        dc->clip = Shape();
        return dc->systemClip.kind();
    }
    Region* region = regionOf(regionHandle);
    if (region == nullptr) return ERROR;
    dc->hasClip = true;
    dc->clip = region->shape;
    return dc->visible().kind();
}

BOOL PtVisible(HDC handle, int x, int y) {
    Dc* dc = dcOf(handle);
    return dc != nullptr && dc->visible().contains(x, y);
}

BOOL RectVisible(HDC handle, const RECT* rect) {
    Dc* dc = dcOf(handle);
    return dc != nullptr && rect != nullptr && dc->visible().intersects(*rect);
}

int SetPolyFillMode(HDC handle, int mode) {
    Dc* dc = dcOf(handle);
    if (dc == nullptr || (mode != ALTERNATE && mode != WINDING)) return 0;
    int previous = dc->polyFillMode;
    dc->polyFillMode = mode;
    return previous;
}
