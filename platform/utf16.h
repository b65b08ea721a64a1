// Internal to the platform layer: counted UTF-16LE text inside a PE image
// (resource names and string tables), read unit by unit.
#pragma once

#include <cstddef>

#include "platform/types.h"

namespace platform::utf16 {

inline unsigned unitAt(const BYTE* text, std::size_t index) {
    return static_cast<unsigned>(text[2 * index] | (text[2 * index + 1] << 8));
}

// The character at unit position of a text of units units (position <
// units); moves position past it. A lone surrogate reads as U+FFFD.
inline char32_t decode(const BYTE* text, std::size_t units, std::size_t& position) {
    unsigned unit = unitAt(text, position++);
    if (unit >= 0xD800 && unit <= 0xDBFF && position < units) {
        unsigned low = unitAt(text, position);
        if (low >= 0xDC00 && low <= 0xDFFF) {
            ++position;
            return static_cast<char32_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        }
    }
    if (unit >= 0xD800 && unit <= 0xDFFF) return 0xFFFD;
    return unit;
}

}  // namespace platform::utf16
