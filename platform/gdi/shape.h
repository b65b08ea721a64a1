// Internal to the GDI services: a set of pixels as horizontal bands of
// spans, the form regions and clipping take. Right and bottom edges are
// excluded. Coordinates are kept within +-kShapeLimit so that no shape can
// grow without bound.
#pragma once

#include <vector>

#include "platform/core/types.h"

namespace platform::gdi {

constexpr int kShapeLimit = 1 << 16;

struct Span {
    int left;
    int right;
    bool operator==(const Span&) const = default;
};

struct Band {
    int top;
    int bottom;
    std::vector<Span> spans;
};

class Shape {
public:
    Shape() = default;
    static Shape rectangle(int left, int top, int right, int bottom);
    static Shape ellipse(int left, int top, int right, int bottom);
    // fillMode: ALTERNATE or WINDING.
    static Shape polygon(const POINT* points, int count, int fillMode);
    // mode: RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF (RGN_COPY answers first).
    static Shape combine(const Shape& first, const Shape& second, int mode);

    bool empty() const { return m_bands.empty(); }
    bool contains(int x, int y) const;
    bool intersects(const RECT& rect) const;
    RECT box() const;
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int kind() const;
    Shape offset(int dx, int dy) const;
    const std::vector<Band>& bands() const { return m_bands; }

private:
    // Appends a band below the others, merging it with the last one when
    // they touch and hold the same spans.
    void append(int top, int bottom, std::vector<Span> spans);

    std::vector<Band> m_bands;
};

}  // namespace platform::gdi
