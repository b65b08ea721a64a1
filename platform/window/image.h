// Images and cursors from a module's resources.
//
// LoadImageA reads a bitmap resource (a DIB: 1, 4, 8, 16, 24 or 32 bits a
// pixel, uncompressed or with bit fields) from a module through the module
// services and answers a new GDI bitmap; a damaged or unsupported DIB
// answers null with ERROR_INVALID_DATA. Every load makes a new bitmap, which
// the caller deletes with DeleteObject (LR_SHARED is accepted and changes
// nothing for bitmaps).
#pragma once

#include "platform/module/module.h"
#include "platform/window/window.h"

constexpr UINT IMAGE_BITMAP = 0;
constexpr UINT IMAGE_ICON = 1;
constexpr UINT IMAGE_CURSOR = 2;
constexpr UINT LR_DEFAULTCOLOR = 0x00000000;
constexpr UINT LR_LOADFROMFILE = 0x00000010;
constexpr UINT LR_DEFAULTSIZE = 0x00000040;
constexpr UINT LR_CREATEDIBSECTION = 0x00002000;
constexpr UINT LR_SHARED = 0x00008000;
constexpr DWORD ERROR_INVALID_DATA = 13;

// Only IMAGE_BITMAP from a module's resources; a width and height other
// than 0 stretch the picture (with smoothing) to that size.
HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int height,
                  UINT flags);

// The system's cursors: with a null instance the standard ones, which the
// X server draws as its own arrow.
#define IDC_ARROW MAKEINTRESOURCEA(32512)
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
