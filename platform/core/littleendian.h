// Little-endian numbers read out of byte images (PE files, bitmaps, RIFF
// chunks, registry values), one byte at a time, so that neither the image's
// alignment nor the host's byte order matters.
//
// Self-contained on purpose: the sound code above the layer reads its WAVE
// images with it too, on Windows as well, where nothing else of the layer is
// built. So it includes nothing but the standard library.
#pragma once

#include <cstdint>

inline std::uint16_t readLittle16(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

inline std::uint32_t readLittle32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}
