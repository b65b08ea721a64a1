// testbitmap OUTPUT: writes a small 24-bit BMP file (8 x 4 pixels, a colour
// ramp) for the resource tests, which need a real bitmap to compile into
// libraries and to read back.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "platform/core/littleendian.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: testbitmap OUTPUT\n");
        return 2;
    }
    constexpr unsigned kWidth = 8;
    constexpr unsigned kHeight = 4;
    constexpr unsigned kRowSize = kWidth * 3;  // already a multiple of 4
    constexpr unsigned kPixelOffset = 14 + 40;
    std::vector<std::uint8_t> bmp;
    bmp.push_back('B');
    bmp.push_back('M');
    appendLittle32(bmp, kPixelOffset + kRowSize * kHeight);
    appendLittle32(bmp, 0);
    appendLittle32(bmp, kPixelOffset);
    appendLittle32(bmp, 40);  // BITMAPINFOHEADER
    appendLittle32(bmp, kWidth);
    appendLittle32(bmp, kHeight);
    appendLittle16(bmp, 1);   // planes
    appendLittle16(bmp, 24);  // bits per pixel
    appendLittle32(bmp, 0);   // no compression
    appendLittle32(bmp, kRowSize * kHeight);
    appendLittle32(bmp, 2835);  // 72 dpi
    appendLittle32(bmp, 2835);
    appendLittle32(bmp, 0);
    appendLittle32(bmp, 0);
    for (unsigned y = 0; y < kHeight; ++y) {
        for (unsigned x = 0; x < kWidth; ++x) {
            bmp.push_back(static_cast<std::uint8_t>(x * 32));        // blue
            bmp.push_back(static_cast<std::uint8_t>(y * 64));        // green
            bmp.push_back(static_cast<std::uint8_t>(255 - x * 32));  // red
        }
    }
    std::FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr) return 1;
    bool written = std::fwrite(bmp.data(), 1, bmp.size(), out) == bmp.size();
    return std::fclose(out) == 0 && written ? 0 : 1;
}
