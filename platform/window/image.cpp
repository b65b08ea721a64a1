#include "platform/window/image.h"

#include <cairo.h>

#include "platform/gdi/dib.h"
#include "platform/gdi/draw.h"
#include "platform/gdi/object.h"

namespace {

// A standard cursor: the X server draws its own, so any distinct address
// serves as the handle.
char arrowTag;

HBITMAP stretched(HBITMAP bitmap, int width, int height) {
    BITMAP description;
    GetObjectA(bitmap, sizeof description, &description);
    HBITMAP sized = platform::gdi::createBitmap(width, height);
    if (sized == nullptr) return bitmap;
    HDC from = CreateCompatibleDC(nullptr);
    HDC to = CreateCompatibleDC(nullptr);
    HGDIOBJ oldFrom = SelectObject(from, bitmap);
    HGDIOBJ oldTo = SelectObject(to, sized);
    SetStretchBltMode(to, HALFTONE);
    StretchBlt(to, 0, 0, width, height, from, 0, 0, description.bmWidth, description.bmHeight,
               SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    DeleteObject(bitmap);
    return sized;
}

}  // namespace

HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int height,
                  UINT flags) {
    if (type != IMAGE_BITMAP || (flags & LR_LOADFROMFILE) != 0 || name == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HRSRC found = FindResourceA(instance, name, RT_BITMAP);
    if (found == nullptr) return nullptr;
    HGLOBAL loaded = LoadResource(instance, found);
    DWORD size = SizeofResource(instance, found);
    const auto* bytes = static_cast<const BYTE*>(LockResource(loaded));
    HBITMAP bitmap = platform::gdi::bitmapFromDib(bytes, bytes != nullptr ? size : 0);
    if (bitmap == nullptr) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    if (width > 0 || height > 0) {
        BITMAP description;
        GetObjectA(bitmap, sizeof description, &description);
        bitmap = stretched(bitmap, width > 0 ? width : description.bmWidth,
                           height > 0 ? height : description.bmHeight);
    }
    return bitmap;
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
    if (instance == nullptr && name == IDC_ARROW) return reinterpret_cast<HCURSOR>(&arrowTag);
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
}
