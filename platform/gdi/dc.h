// Device contexts and the objects selected into them (GDI on Cairo).
//
// A device context draws into a 32-bit image: a window's off-screen surface
// (from BeginPaint or GetDC) or the bitmap selected into a memory context.
// Coordinates are pixels with the origin at the top left of the client
// area; there is no mapping mode. Handles are checked: an unknown or deleted
// handle answers the failure value and draws nothing. An object still
// selected into a context is freed only when it is no longer selected; a
// bitmap can be selected into one memory context at a time, as on Windows.
// All calls are meant for one thread at a time, like the contexts themselves.
#pragma once

#include "platform/core/types.h"

QUILL_DECLARE_HANDLE(HPEN);
QUILL_DECLARE_HANDLE(HFONT);
QUILL_DECLARE_HANDLE(HRGN);

// Takes any integers, as the SDK's macro does, keeping the low 8 bits.
constexpr COLORREF RGB(int red, int green, int blue) {
    return static_cast<COLORREF>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr BYTE GetRValue(COLORREF color) { return static_cast<BYTE>(color & 0xFF); }
constexpr BYTE GetGValue(COLORREF color) { return static_cast<BYTE>((color >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF color) { return static_cast<BYTE>((color >> 16) & 0xFF); }
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// GetCurrentObject kinds.
constexpr UINT OBJ_PEN = 1;
constexpr UINT OBJ_BRUSH = 2;
constexpr UINT OBJ_FONT = 6;
constexpr UINT OBJ_BITMAP = 7;

// Pen styles.
constexpr int PS_SOLID = 0;
constexpr int PS_NULL = 5;

// A bitmap's description (GetObjectA). A bitmap is 32 bits a pixel,
// 0x00RRGGBB, top row first; bmBits points at its pixels.
struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};

// A null context is the screen: a memory context compatible with it.
// A new memory context holds a 1 x 1 bitmap, the default pen (black, 1),
// brush (white) and font, text colour black, background white and opaque.
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
// A bitmap of width x height pixels, black; null for a size of 0 or less.
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);

// Answers the object that was selected, or null (nothing changes) for an
// unknown handle or a bitmap selected elsewhere. A region is copied into
// the context as its clip region and the answer is the region's kind
// (SIMPLEREGION, COMPLEXREGION, NULLREGION), as on Windows.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
// The default objects of a context are never deleted and answer TRUE.
BOOL DeleteObject(HGDIOBJ object);
// Only bitmaps describe themselves: with a BITMAP buffer (or a null one, to
// ask for the size) answers the bytes written; 0 for anything else.
int GetObjectA(HGDIOBJ object, int bufferSize, LPVOID buffer);
HGDIOBJ GetCurrentObject(HDC dc, UINT kind);

HBRUSH CreateSolidBrush(COLORREF color);
// A solid pen of that width (0 and 1 draw one pixel wide) or PS_NULL.
HPEN CreatePen(int style, int width, COLORREF color);

// Text colour and background; the setters answer the previous value.
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
