// Feeds arbitrary bytes to the DIB reader as a bitmap resource.
#include <cstddef>
#include <cstdint>

#include "platform/gdi/dc.h"
#include "platform/gdi/dib.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    HBITMAP bitmap = platform::gdi::bitmapFromDib(data, size);
    if (bitmap != nullptr) DeleteObject(bitmap);
    return 0;
}
