// testbitmap OUTPUT: writes a small 24-bit BMP file (8 x 4 pixels, a colour
// ramp) for the resource tests, which need a real bitmap to compile into
// libraries and to read back.
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

void put16(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void put32(std::vector<std::uint8_t>& out, unsigned value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

}  // namespace

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
    put32(bmp, kPixelOffset + kRowSize * kHeight);
    put32(bmp, 0);
    put32(bmp, kPixelOffset);
    put32(bmp, 40);  // BITMAPINFOHEADER
    put32(bmp, kWidth);
    put32(bmp, kHeight);
    put16(bmp, 1);   // planes
    put16(bmp, 24);  // bits per pixel
    put32(bmp, 0);   // no compression
    put32(bmp, kRowSize * kHeight);
    put32(bmp, 2835);  // 72 dpi
    put32(bmp, 2835);
    put32(bmp, 0);
    put32(bmp, 0);
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
