// Internal to the platform layer: UTF-16 text, as PE images hold it
// (counted UTF-16LE resource names and string tables, read unit by unit) and
// as ICU and resource builders take it.
#pragma once

#include <cstddef>

#include "platform/core/littleendian.h"
#include "platform/core/types.h"

namespace platform::utf16 {

inline unsigned unitAt(const BYTE* text, std::size_t index) {
    return readLittle16(text + 2 * index);
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

// Units encode() writes for a character: two above U+FFFF, else one.
inline std::size_t encodedUnits(char32_t code) {
    return code >= 0x10000 && code <= 0x10FFFF ? 2 : 1;
}

// Writes encodedUnits(code) units to out; a value that is no Unicode scalar
// value (a surrogate, or above U+10FFFF) is written as U+FFFD.
inline std::size_t encode(char32_t code, char16_t* out) {
    if (code >= 0x10000 && code <= 0x10FFFF) {
        out[0] = static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
        out[1] = static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        return 2;
    }
    bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    out[0] = static_cast<char16_t>(surrogate || code > 0xFFFF ? 0xFFFD : code);
    return 1;
}

}  // namespace platform::utf16
