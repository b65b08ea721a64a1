// UTF-8 decoding and encoding for the platform layer's text services (and
// the resource-library builder).
//
// Decoding never fails: each maximal invalid subsequence (a stray byte, a
// truncated sequence, an overlong form, an encoded surrogate, a value above
// U+10FFFF) becomes one U+FFFD, as Unicode recommends. Encoding writes U+FFFD
// for a wchar_t that is no Unicode scalar value (wchar_t is UTF-32 here, so a
// surrogate is always unpaired).
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::utf8 {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes the character at text[position] (position < length) and moves
// position past the bytes it used.
inline char32_t decode(const unsigned char* text, std::size_t length, std::size_t& position) {
    unsigned lead = text[position++];
    if (lead < 0x80) return lead;
    unsigned trail;
    char32_t code;
    // The first continuation byte's range is what rules out overlong forms,
    // surrogates and values above U+10FFFF.
    unsigned low = 0x80;
    unsigned high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        trail = 1;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trail = 2;
        code = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trail = 3;
        code = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return kReplacement;
    }
    for (; trail > 0; --trail) {
        if (position >= length) return kReplacement;
        unsigned next = text[position];
        if (next < low || next > high) return kReplacement;
        low = 0x80;
        high = 0xBF;
        code = (code << 6) | (next & 0x3F);
        ++position;
    }
    return code;
}

inline bool isScalarValue(std::uint32_t code) {
    return code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
}

// Number of bytes encode() writes for the character.
inline std::size_t encodedSize(wchar_t character) {
    auto code = static_cast<std::uint32_t>(character);
    if (code < 0x80) return 1;
    if (code < 0x800) return 2;
    if (code < 0x10000 || !isScalarValue(code)) return 3;
    return 4;
}

// Writes encodedSize(character) bytes to out.
inline std::size_t encode(wchar_t character, char* out) {
    auto code = static_cast<std::uint32_t>(character);
    if (!isScalarValue(code)) code = kReplacement;
    auto put = [&](std::size_t i, std::uint32_t bits) { out[i] = static_cast<char>(bits); };
    if (code < 0x80) {
        put(0, code);
        return 1;
    }
    if (code < 0x800) {
        put(0, 0xC0 | (code >> 6));
        put(1, 0x80 | (code & 0x3F));
        return 2;
    }
    if (code < 0x10000) {
        put(0, 0xE0 | (code >> 12));
        put(1, 0x80 | ((code >> 6) & 0x3F));
        put(2, 0x80 | (code & 0x3F));
        return 3;
    }
    put(0, 0xF0 | (code >> 18));
    put(1, 0x80 | ((code >> 12) & 0x3F));
    put(2, 0x80 | ((code >> 6) & 0x3F));
    put(3, 0x80 | (code & 0x3F));
    return 4;
}

}  // namespace platform::utf8
