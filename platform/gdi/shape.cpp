#include "platform/gdi/shape.h"

#include <algorithm>
#include <cmath>

#include "platform/gdi/region.h"

namespace platform::gdi {

namespace {

int clampCoordinate(long long value) {
    return static_cast<int>(std::clamp<long long>(value, -kShapeLimit, kShapeLimit));
}

bool applies(bool inFirst, bool inSecond, int mode) {
    switch (mode) {
    case RGN_AND: return inFirst && inSecond;
    case RGN_OR: return inFirst || inSecond;
    case RGN_XOR: return inFirst != inSecond;
    case RGN_DIFF: return inFirst && !inSecond;
    default: return inFirst;
    }
}

bool inside(const std::vector<Span>& spans, int x) {
    for (const Span& span : spans) {
        if (x < span.left) return false;
        if (x < span.right) return true;
    }
    return false;
}

std::vector<Span> combineSpans(const std::vector<Span>& first, const std::vector<Span>& second,
                               int mode) {
    std::vector<int> edges;
    for (const Span& span : first) edges.insert(edges.end(), {span.left, span.right});
    for (const Span& span : second) edges.insert(edges.end(), {span.left, span.right});
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    std::vector<Span> out;
    for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
        int x = edges[i];
        if (!applies(inside(first, x), inside(second, x), mode)) continue;
        if (!out.empty() && out.back().right == x) {
            out.back().right = edges[i + 1];
        } else {
            out.push_back({x, edges[i + 1]});
        }
    }
    return out;
}

const std::vector<Span>* spansAt(const std::vector<Band>& bands, int y) {
    for (const Band& band : bands) {
        if (y < band.top) return nullptr;
        if (y < band.bottom) return &band.spans;
    }
    return nullptr;
}

// The first pixel whose centre lies at or right of x.
int firstPixelFrom(double x) { return clampCoordinate(static_cast<long long>(std::ceil(x - 0.5))); }

}  // namespace

void Shape::append(int top, int bottom, std::vector<Span> spans) {
    if (spans.empty() || top >= bottom) return;
    if (!m_bands.empty() && m_bands.back().bottom == top && m_bands.back().spans == spans) {
        m_bands.back().bottom = bottom;
        return;
    }
    m_bands.push_back({top, bottom, std::move(spans)});
}

Shape Shape::rectangle(int left, int top, int right, int bottom) {
    Shape shape;
    int l = clampCoordinate(std::min(left, right));
    int r = clampCoordinate(std::max(left, right));
    int t = clampCoordinate(std::min(top, bottom));
    int b = clampCoordinate(std::max(top, bottom));
    if (l < r) shape.append(t, b, {{l, r}});
    return shape;
}

Shape Shape::ellipse(int left, int top, int right, int bottom) {
    Shape shape;
    double l = clampCoordinate(std::min(left, right));
    double r = clampCoordinate(std::max(left, right));
    int t = clampCoordinate(std::min(top, bottom));
    int b = clampCoordinate(std::max(top, bottom));
    double cx = (l + r) / 2;
    double cy = (t + b) / 2.0;
    double rx = (r - l) / 2;
    double ry = (b - t) / 2.0;
    if (rx <= 0 || ry <= 0) return shape;
    for (int y = t; y < b; ++y) {
        double dy = (y + 0.5 - cy) / ry;
        if (dy * dy >= 1) continue;
        double dx = rx * std::sqrt(1 - dy * dy);
        int from = firstPixelFrom(cx - dx);
        int to = firstPixelFrom(cx + dx);
        if (from < to) shape.append(y, y + 1, {{from, to}});
    }
    return shape;
}

Shape Shape::polygon(const POINT* points, int count, int fillMode) {
    Shape shape;
    if (points == nullptr || count < 3) return shape;
    int top = kShapeLimit;
    int bottom = -kShapeLimit;
    for (int i = 0; i < count; ++i) {
        top = std::min(top, clampCoordinate(points[i].y));
        bottom = std::max(bottom, clampCoordinate(points[i].y));
    }
    struct Crossing {
        double x;
        int direction;
    };
    std::vector<Crossing> crossings;
    for (int y = top; y < bottom; ++y) {
        double centre = y + 0.5;
        crossings.clear();
        for (int i = 0; i < count; ++i) {
            const POINT& a = points[i];
            const POINT& b = points[(i + 1) % count];
            double ay = clampCoordinate(a.y);
            double by = clampCoordinate(b.y);
            if (ay == by) continue;
            bool down = ay < by;
            double low = down ? ay : by;
            double high = down ? by : ay;
            if (centre < low || centre >= high) continue;
            double ax = clampCoordinate(a.x);
            double bx = clampCoordinate(b.x);
            crossings.push_back({ax + (centre - ay) * (bx - ax) / (by - ay), down ? 1 : -1});
        }
        std::sort(crossings.begin(), crossings.end(),
                  [](const Crossing& p, const Crossing& q) { return p.x < q.x; });
        std::vector<Span> spans;
        int winding = 0;
        for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
            winding += crossings[i].direction;
            bool filled = fillMode == WINDING ? winding != 0 : (i % 2) == 0;
            if (!filled) continue;
            int from = firstPixelFrom(crossings[i].x);
            int to = firstPixelFrom(crossings[i + 1].x);
            if (from >= to) continue;
            if (!spans.empty() && spans.back().right >= from) {
                spans.back().right = std::max(spans.back().right, to);
            } else {
                spans.push_back({from, to});
            }
        }
        shape.append(y, y + 1, std::move(spans));
    }
    return shape;
}

Shape Shape::combine(const Shape& first, const Shape& second, int mode) {
    if (mode == RGN_COPY) return first;
    std::vector<int> edges;
    for (const Band& band : first.m_bands) edges.insert(edges.end(), {band.top, band.bottom});
    for (const Band& band : second.m_bands) edges.insert(edges.end(), {band.top, band.bottom});
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    static const std::vector<Span> kNone;
    Shape out;
    for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
        const std::vector<Span>* a = spansAt(first.m_bands, edges[i]);
        const std::vector<Span>* b = spansAt(second.m_bands, edges[i]);
        out.append(edges[i], edges[i + 1],
                   combineSpans(a != nullptr ? *a : kNone, b != nullptr ? *b : kNone, mode));
    }
    return out;
}

bool Shape::contains(int x, int y) const {
    const std::vector<Span>* spans = spansAt(m_bands, y);
    return spans != nullptr && inside(*spans, x);
}

bool Shape::intersects(const RECT& rect) const {
    for (const Band& band : m_bands) {
        if (band.bottom <= rect.top || band.top >= rect.bottom) continue;
        for (const Span& span : band.spans) {
            if (span.right > rect.left && span.left < rect.right) return true;
        }
    }
    return false;
}

RECT Shape::box() const {
    if (m_bands.empty()) return {0, 0, 0, 0};
    RECT box{kShapeLimit, m_bands.front().top, -kShapeLimit, m_bands.back().bottom};
    for (const Band& band : m_bands) {
        box.left = std::min<LONG>(box.left, band.spans.front().left);
        box.right = std::max<LONG>(box.right, band.spans.back().right);
    }
    return box;
}

int Shape::kind() const {
    if (m_bands.empty()) return NULLREGION;
    return m_bands.size() == 1 && m_bands.front().spans.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

Shape Shape::offset(int dx, int dy) const {
    Shape out;
    for (const Band& band : m_bands) {
        std::vector<Span> spans;
        for (const Span& span : band.spans) {
            spans.push_back({clampCoordinate(static_cast<long long>(span.left) + dx),
                             clampCoordinate(static_cast<long long>(span.right) + dx)});
        }
        out.append(clampCoordinate(static_cast<long long>(band.top) + dy),
                   clampCoordinate(static_cast<long long>(band.bottom) + dy), std::move(spans));
    }
    return out;
}

}  // namespace platform::gdi
