// Little-endian numbers read out of byte images (PE files, bitmaps, RIFF
// chunks, registry values) and written into them (by the tests that damage
// an image's fields, and by the build's tools that write bitmaps and
// libraries), one byte at a time, so that neither the image's alignment nor
// the host's byte order matters.
//
// Self-contained on purpose: the sound code above the layer reads its WAVE
// images with it too, on Windows as well, where nothing else of the layer is
// built. So it includes nothing but the standard library.
#pragma once

#include <cstdint>
#include <vector>

inline std::uint16_t readLittle16(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

inline std::uint32_t readLittle32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

inline void writeLittle16(std::uint8_t* bytes, std::uint16_t value) {
    bytes[0] = static_cast<std::uint8_t>(value);
    bytes[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void writeLittle32(std::uint8_t* bytes, std::uint32_t value) {
    writeLittle16(bytes, static_cast<std::uint16_t>(value));
    writeLittle16(bytes + 2, static_cast<std::uint16_t>(value >> 16));
}

// Written at the end of bytes, as a file is written field after field.
inline void appendLittle16(std::vector<std::uint8_t>& bytes, std::uint16_t value) {
    bytes.resize(bytes.size() + 2);
    writeLittle16(bytes.data() + bytes.size() - 2, value);
}

inline void appendLittle32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    bytes.resize(bytes.size() + 4);
    writeLittle32(bytes.data() + bytes.size() - 4, value);
}
