#include "platform/gdi/draw.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

#include "platform/gdi/object.h"
#include "platform/gdi/region.h"

using namespace platform::gdi;

namespace {

Dc* dcOf(HDC handle) { return lookup<Dc>(handle, Kind::dc); }

// Direct access to a context's pixels, for exact one-pixel work.
class Pixels {
public:
    explicit Pixels(Dc& dc) : m_dc(dc), m_visible(dc.visible()) {
        cairo_surface_flush(dc.surface);
        m_data = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(dc.surface));
        m_stride = cairo_image_surface_get_stride(dc.surface) / 4;
        m_width = cairo_image_surface_get_width(dc.surface);
        m_height = cairo_image_surface_get_height(dc.surface);
    }
    ~Pixels() { cairo_surface_mark_dirty(m_dc.surface); }
    Pixels(const Pixels&) = delete;
    Pixels& operator=(const Pixels&) = delete;

    std::uint32_t* at(int x, int y) {
        if (m_data == nullptr || !m_visible.contains(x, y)) return nullptr;
        long long sx = static_cast<long long>(x) + m_dc.originX;
        long long sy = static_cast<long long>(y) + m_dc.originY;
        if (sx < 0 || sy < 0 || sx >= m_width || sy >= m_height) return nullptr;
        return m_data + sy * m_stride + sx;
    }
    void put(int x, int y, COLORREF color) {
        if (std::uint32_t* pixel = at(x, y)) *pixel = pixelOf(color);
    }
    void fill(const Shape& shape, COLORREF color) {
        Shape reached = Shape::combine(shape, m_visible, RGN_AND);
        std::uint32_t value = pixelOf(color);
        for (const Band& band : reached.bands()) {
            for (int y = band.top; y < band.bottom; ++y) {
                long long sy = static_cast<long long>(y) + m_dc.originY;
                if (sy < 0 || sy >= m_height) continue;
                for (const Span& span : band.spans) {
                    long long from = std::max<long long>(0, span.left + m_dc.originX);
                    long long to = std::min<long long>(m_width, span.right + m_dc.originX);
                    for (long long sx = from; sx < to; ++sx) m_data[sy * m_stride + sx] = value;
                }
            }
        }
    }
    // A one-pixel line without its last point (Bresenham).
    void line(POINT from, POINT to, COLORREF color) {
        long long x = from.x;
        long long y = from.y;
        long long dx = std::llabs(static_cast<long long>(to.x) - from.x);
        long long dy = -std::llabs(static_cast<long long>(to.y) - from.y);
        int stepX = from.x < to.x ? 1 : -1;
        int stepY = from.y < to.y ? 1 : -1;
        long long error = dx + dy;
        // Lines far outside any surface are cut short rather than walked.
        long long steps = std::min<long long>(std::max(dx, -dy), 4 * kShapeLimit);
        for (long long i = 0; i < steps; ++i) {
            put(static_cast<int>(x), static_cast<int>(y), color);
            long long twice = 2 * error;
            if (twice >= dy) {
                error += dy;
                x += stepX;
            }
            if (twice <= dx) {
                error += dx;
                y += stepY;
            }
        }
    }

private:
    Dc& m_dc;
    Shape m_visible;
    std::uint32_t* m_data = nullptr;
    int m_stride = 0;
    int m_width = 0;
    int m_height = 0;
};

bool drawsOutline(const Dc& dc) { return dc.pen->style != PS_NULL; }

int penWidth(const Dc& dc) { return std::max(1, dc.pen->width); }

void strokeLine(Dc& dc, POINT from, POINT to) {
    if (!drawsOutline(dc)) return;
    if (dc.pen->width <= 1) {
        Pixels(dc).line(from, to, dc.pen->color);
        return;
    }
    cairo_t* cr = beginDrawing(dc);
    setSource(cr, dc.pen->color);
    cairo_set_line_width(cr, dc.pen->width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, from.x + 0.5, from.y + 0.5);
    cairo_line_to(cr, to.x + 0.5, to.y + 0.5);
    cairo_stroke(cr);
    cairo_destroy(cr);
}

// Fills the inside with the brush and the frame (outer less inner) with
// the pen, or the whole shape with the brush without a pen.
void fillFramed(Dc& dc, const Shape& outer, const Shape& inner, const Shape& penless) {
    Pixels pixels(dc);
    if (!drawsOutline(dc)) {
        pixels.fill(penless, dc.brush->color);
        return;
    }
    pixels.fill(inner, dc.brush->color);
    pixels.fill(Shape::combine(outer, inner, RGN_DIFF), dc.pen->color);
}

struct Box {
    int left, top, right, bottom;
};

Box normalized(int left, int top, int right, int bottom) {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right),
            std::max(top, bottom)};
}

}  // namespace

BOOL MoveToEx(HDC handle, int x, int y, LPPOINT previous) {
    Dc* dc = dcOf(handle);
    if (dc == nullptr) return FALSE;
    if (previous != nullptr) *previous = dc->position;
    dc->position = {x, y};
    return TRUE;
}

BOOL LineTo(HDC handle, int x, int y) {
    Dc* dc = dcOf(handle);
    if (dc == nullptr) return FALSE;
    strokeLine(*dc, dc->position, {x, y});
    dc->position = {x, y};
    return TRUE;
}

BOOL Rectangle(HDC handle, int left, int top, int right, int bottom) {
    Dc* dc = dcOf(handle);
    if (dc == nullptr) return FALSE;
    Box b = normalized(left, top, right, bottom);
    int w = penWidth(*dc);
    fillFramed(*dc, Shape::rectangle(b.left, b.top, b.right, b.bottom),
               Shape::rectangle(b.left + w, b.top + w, b.right - w, b.bottom - w),
               Shape::rectangle(b.left, b.top, b.right - 1, b.bottom - 1));
    return TRUE;
}

BOOL Ellipse(HDC handle, int left, int top, int right, int bottom) {
    Dc* dc = dcOf(handle);
    if (dc == nullptr) return FALSE;
    Box b = normalized(left, top, right, bottom);
    int w = penWidth(*dc);
    fillFramed(*dc, Shape::ellipse(b.left, b.top, b.right, b.bottom),
               Shape::ellipse(b.left + w, b.top + w, b.right - w, b.bottom - w),
               Shape::ellipse(b.left, b.top, b.right - 1, b.bottom - 1));
    return TRUE;
}

BOOL Polygon(HDC handle, const POINT* points, int count) {
    Dc* dc = dcOf(handle);
    if (dc == nullptr || points == nullptr || count < 2) return FALSE;
    Shape inside = Shape::polygon(points, count, dc->polyFillMode);
    Pixels(*dc).fill(inside, dc->brush->color);
    for (int i = 0; i < count; ++i) strokeLine(*dc, points[i], points[(i + 1) % count]);
    return TRUE;
}

BOOL Arc(HDC handle, int left, int top, int right, int bottom, int startX, int startY, int endX,
         int endY) {
    Dc* dc = dcOf(handle);
    if (dc == nullptr) return FALSE;
    Box b = normalized(left, top, right, bottom);
    if (!drawsOutline(*dc) || b.right - b.left < 1 || b.bottom - b.top < 1) return TRUE;
    double cx = (b.left + b.right) / 2.0;
    double cy = (b.top + b.bottom) / 2.0;
    double rx = std::max(0.5, (b.right - b.left - 1) / 2.0);
    double ry = std::max(0.5, (b.bottom - b.top - 1) / 2.0);
    // Angles on the unit circle the ellipse is scaled from; the screen's y
    // runs down, so counter-clockwise on the screen is Cairo's negative way.
    double from = std::atan2((startY - cy) / ry, (startX - cx) / rx);
    double to = std::atan2((endY - cy) / ry, (endX - cx) / rx);
    if (startX == endX && startY == endY) to = from - 2 * std::numbers::pi;
    cairo_t* cr = beginDrawing(*dc);
    setSource(cr, dc->pen->color);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_arc_negative(cr, 0, 0, 1, from, to);
    cairo_restore(cr);
    cairo_set_line_width(cr, penWidth(*dc));
    cairo_stroke(cr);
    cairo_destroy(cr);
    return TRUE;
}

COLORREF SetPixel(HDC handle, int x, int y, COLORREF color) {
    Dc* dc = dcOf(handle);
    if (dc == nullptr) return CLR_INVALID;
    Pixels pixels(*dc);
    std::uint32_t* pixel = pixels.at(x, y);
    if (pixel == nullptr) return CLR_INVALID;
    *pixel = pixelOf(color);
    return color & 0xFFFFFF;
}

COLORREF GetPixel(HDC handle, int x, int y) {
    Dc* dc = dcOf(handle);
    if (dc == nullptr) return CLR_INVALID;
    Pixels pixels(*dc);
    std::uint32_t* pixel = pixels.at(x, y);
    return pixel != nullptr ? colorOf(*pixel & 0xFFFFFF) : CLR_INVALID;
}

BOOL StretchBlt(HDC target, int targetX, int targetY, int targetWidth, int targetHeight,
                HDC source, int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                DWORD rop) {
    Dc* to = dcOf(target);
    Dc* from = dcOf(source);
    if (to == nullptr || from == nullptr || rop != SRCCOPY) return FALSE;
    if (targetWidth == 0 || targetHeight == 0 || sourceWidth == 0 || sourceHeight == 0) {
        return FALSE;
    }
    // The source rectangle, inside the source surface, as its own surface
    // so that smoothing at its edges repeats its own border pixels.
    Box s = normalized(sourceX, sourceY, sourceX + sourceWidth, sourceY + sourceHeight);
    int sourceLeft = -from->originX;
    int sourceTop = -from->originY;
    s.left = std::max(s.left, sourceLeft);
    s.top = std::max(s.top, sourceTop);
    s.right = std::min(s.right, sourceLeft + cairo_image_surface_get_width(from->surface));
    s.bottom = std::min(s.bottom, sourceTop + cairo_image_surface_get_height(from->surface));
    if (s.left >= s.right || s.top >= s.bottom) return FALSE;
    cairo_surface_t* part = cairo_surface_create_for_rectangle(
        from->surface, s.left + from->originX, s.top + from->originY, s.right - s.left,
        s.bottom - s.top);
    cairo_t* cr = beginDrawing(*to);
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(part);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(pattern,
                             to->stretchMode == HALFTONE ? CAIRO_FILTER_GOOD : CAIRO_FILTER_NEAREST);
    // Target (u, v) shows source (sourceX + (u - targetX) * sw / tw, ...),
    // negative sizes mirroring.
    double scaleX = static_cast<double>(sourceWidth) / targetWidth;
    double scaleY = static_cast<double>(sourceHeight) / targetHeight;
    cairo_matrix_t matrix;
    cairo_matrix_init(&matrix, scaleX, 0, 0, scaleY, sourceX - s.left - targetX * scaleX,
                      sourceY - s.top - targetY * scaleY);
    cairo_pattern_set_matrix(pattern, &matrix);
    cairo_set_source(cr, pattern);
    Box t = normalized(targetX, targetY, targetX + targetWidth, targetY + targetHeight);
    cairo_rectangle(cr, t.left, t.top, t.right - t.left, t.bottom - t.top);
    cairo_fill(cr);
    cairo_destroy(cr);
    cairo_pattern_destroy(pattern);
    cairo_surface_destroy(part);
    cairo_surface_flush(to->surface);
    return TRUE;
}
