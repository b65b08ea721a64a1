// Regions: sets of pixels, built from rectangles, ellipses and polygons,
// combined, and used as a context's clip region (GDI).
//
// Right and bottom edges are excluded, as on Windows. SelectClipRgn copies
// the region: the caller may delete its own at once.
#pragma once

#include "platform/gdi/dc.h"

// Region kinds, the answers of the region calls.
constexpr int ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;

// CombineRgn modes.
constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;

// Polygon fill modes.
constexpr int ALTERNATE = 1;
constexpr int WINDING = 2;

HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode);
// target := first <mode> second (second is ignored for RGN_COPY); target
// may be one of the sources.
int CombineRgn(HRGN target, HRGN first, HRGN second, int mode);
int GetRgnBox(HRGN region, LPRECT box);

// A null region removes the clip region.
int SelectClipRgn(HDC dc, HRGN region);
BOOL PtVisible(HDC dc, int x, int y);
BOOL RectVisible(HDC dc, const RECT* rect);
// Polygon fill mode for Polygon.
int SetPolyFillMode(HDC dc, int mode);
