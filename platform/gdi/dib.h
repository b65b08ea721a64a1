// Internal to the platform layer: a device-independent bitmap (the bytes of
// a bitmap resource: a BITMAPINFOHEADER, BITMAPCOREHEADER or a later header,
// the colour table and the pixels) read into a GDI bitmap.
//
// Takes 1, 4 and 8 bits a pixel with a colour table, 16 and 32 bits with
// their default layouts or bit fields, and 24 bits; bottom-up or top-down.
// Every size and offset is checked against the bytes given: damaged,
// compressed (RLE, JPEG, PNG) or oversized bitmaps answer null.
#pragma once

#include <cstddef>

#include "platform/core/types.h"

namespace platform::gdi {

HBITMAP bitmapFromDib(const BYTE* data, std::size_t size);

}  // namespace platform::gdi
