// Drawing: lines, shapes, pixels and stretched copies (GDI on Cairo).
//
// As on Windows: shapes are outlined with the pen and filled with the
// brush, their right and bottom edges excluded; a line leaves out its last
// pixel; all drawing is clipped to the context's clip region and its
// window. Shapes and lines are drawn without smoothing, so every pixel
// holds exactly the colour drawn.
#pragma once

#include "platform/gdi/dc.h"

BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous);
BOOL LineTo(HDC dc, int x, int y);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
BOOL Polygon(HDC dc, const POINT* points, int count);
// The arc of the ellipse in the box from the ray through the start point
// counter-clockwise to the ray through the end point; equal rays draw the
// whole ellipse.
BOOL Arc(HDC dc, int left, int top, int right, int bottom, int startX, int startY, int endX,
         int endY);

// Answers the colour set, or -1 (as a COLORREF) outside the clip region.
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
// CLR_INVALID outside the clip region.
COLORREF GetPixel(HDC dc, int x, int y);

// Stretching modes: HALFTONE smooths (averages the source pixels that fall
// on a target pixel); the others take the nearest source pixel.
constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;
int SetStretchBltMode(HDC dc, int mode);
int GetStretchBltMode(HDC dc);
BOOL SetBrushOrgEx(HDC dc, int x, int y, LPPOINT previous);

// Raster operations: only copies are supported; others answer FALSE.
constexpr DWORD SRCCOPY = 0x00CC0020;
BOOL StretchBlt(HDC target, int targetX, int targetY, int targetWidth, int targetHeight,
                HDC source, int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                DWORD rop);
