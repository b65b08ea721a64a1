#include "platform/gdi/dib.h"

#include <bit>
#include <cstdint>
#include <vector>

#include "platform/core/littleendian.h"
#include "platform/gdi/object.h"

namespace platform::gdi {

namespace {

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kBitFields = 3;
// The largest picture we take: 16384 pixels a side.
constexpr std::int64_t kMaxSide = 16384;

// One channel of a bit-field pixel, scaled to 0-255.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;
    explicit Channel(std::uint32_t m = 0) : mask(m) {
        if (mask == 0) return;
        shift = std::countr_zero(mask);
        max = mask >> shift;
    }
    std::uint32_t of(std::uint32_t pixel) const {
        if (mask == 0 || max == 0) return 0;
        // In 64 bits: a channel wider than 24 bits times 255 would not fit in 32.
        return static_cast<std::uint32_t>(std::uint64_t{(pixel & mask) >> shift} * 255 / max);
    }
};

}  // namespace

HBITMAP bitmapFromDib(const BYTE* data, std::size_t size) {
    if (data == nullptr || size < 12) return nullptr;
    std::uint32_t headerSize = readLittle32(data);
    std::int64_t width;
    std::int64_t height;
    std::uint32_t bits;
    std::uint32_t compression = kRgb;
    std::uint32_t colorsUsed = 0;
    std::size_t entrySize = 4;
    if (headerSize == 12) {
        width = readLittle16(data + 4);
        height = static_cast<std::int16_t>(readLittle16(data + 6));
        bits = readLittle16(data + 10);
        entrySize = 3;
    } else if (headerSize >= 40 && headerSize <= size) {
        width = static_cast<std::int32_t>(readLittle32(data + 4));
        height = static_cast<std::int32_t>(readLittle32(data + 8));
        bits = readLittle16(data + 14);
        compression = readLittle32(data + 16);
        colorsUsed = readLittle32(data + 32);
    } else {
        return nullptr;
    }
    bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return nullptr;
    if (compression != kRgb && !(compression == kBitFields && (bits == 16 || bits == 32))) {
        return nullptr;
    }
    std::size_t offset = headerSize;
    Channel red;
    Channel green;
    Channel blue;
    if (bits == 16) {
        red = Channel(0x7C00), green = Channel(0x03E0), blue = Channel(0x001F);
    } else if (bits == 32) {
        red = Channel(0xFF0000), green = Channel(0x00FF00), blue = Channel(0x0000FF);
    }
    if (compression == kBitFields) {
        // The masks follow a 40-byte header; later headers hold them inside.
        std::size_t at = 40;
        if (at + 12 > size) return nullptr;
        red = Channel(readLittle32(data + at));
        green = Channel(readLittle32(data + at + 4));
        blue = Channel(readLittle32(data + at + 8));
        if (headerSize == 40) offset += 12;
    }
    std::vector<std::uint32_t> palette;
    if (bits == 1 || bits == 4 || bits == 8) {
        std::size_t entries = colorsUsed == 0 ? (std::size_t{1} << bits) : colorsUsed;
        if (entries > (std::size_t{1} << bits)) return nullptr;
        if (offset > size || entries * entrySize > size - offset) return nullptr;
        for (std::size_t i = 0; i < entries; ++i) {
            const BYTE* entry = data + offset + i * entrySize;
            palette.push_back((static_cast<std::uint32_t>(entry[2]) << 16) |
                              (static_cast<std::uint32_t>(entry[1]) << 8) | entry[0]);
        }
        offset += entries * entrySize;
    } else if (bits == 16 || bits == 24 || bits == 32) {
        // An optional table of colours to favour; the pixels follow it.
        if (offset > size || colorsUsed > (size - offset) / entrySize) return nullptr;
        offset += colorsUsed * entrySize;
    } else {
        return nullptr;
    }
    std::size_t stride = static_cast<std::size_t>((width * bits + 31) / 32 * 4);
    std::size_t rows = static_cast<std::size_t>(height);
    if (offset > size || stride > (size - offset) / rows) return nullptr;
    HBITMAP bitmap = createBitmap(static_cast<int>(width), static_cast<int>(height));
    cairo_surface_t* surface = bitmapSurface(bitmap);
    if (surface == nullptr) return nullptr;
    cairo_surface_flush(surface);
    auto* pixels = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface));
    std::size_t pitch = static_cast<std::size_t>(cairo_image_surface_get_stride(surface)) / 4;
    for (std::size_t row = 0; row < rows; ++row) {
        const BYTE* source = data + offset + row * stride;
        std::size_t y = topDown ? row : rows - 1 - row;
        std::uint32_t* target = pixels + y * pitch;
        for (std::size_t x = 0; x < static_cast<std::size_t>(width); ++x) {
            std::uint32_t value = 0;
            switch (bits) {
            case 1:
            case 4:
            case 8: {
                std::size_t bit = x * bits;
                std::uint32_t index =
                    (source[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                value = index < palette.size() ? palette[index] : 0;
                break;
            }
            case 16: {
                std::uint32_t pixel = readLittle16(source + 2 * x);
                value = (red.of(pixel) << 16) | (green.of(pixel) << 8) | blue.of(pixel);
                break;
            }
            case 24:
                value = (static_cast<std::uint32_t>(source[3 * x + 2]) << 16) |
                        (static_cast<std::uint32_t>(source[3 * x + 1]) << 8) | source[3 * x];
                break;
            default: {
                std::uint32_t pixel = readLittle32(source + 4 * x);
                value = (red.of(pixel) << 16) | (green.of(pixel) << 8) | blue.of(pixel);
                break;
            }
            }
            target[x] = value;
        }
    }
    cairo_surface_mark_dirty(surface);
    return bitmap;
}

}  // namespace platform::gdi
