// Code page 1252 (Windows Latin 1), the ANSI code page of a German system.
//
// Internal to the platform layer: the code page conversions, case mapping,
// comparison, formats and debugger output all read narrow text through these
// tables. Every byte has a character. Going the other way, characters the
// page lacks answer -1, after Latin Extended-A letters have been folded to
// their base letter the way Windows' best-fit mapping does.
#pragma once

#include <array>
#include <string>

namespace platform::cp1252 {

namespace detail {

// 0x80-0x9F; the five bytes Windows leaves undefined map to the C1 controls
// of the same value, so they survive a round trip.
inline constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr std::array<char16_t, 256> makeToUnicode() {
    std::array<char16_t, 256> table{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        table[byte] = (byte >= 0x80 && byte < 0xA0) ? kHighControls[byte - 0x80]
                                                     : static_cast<char16_t>(byte);
    }
    return table;
}

// Š Œ Ž Ÿ pair with š œ ž ÿ; every other capital is 0x20 below its small
// letter. × and ÷ sit among the letters but are signs.
constexpr unsigned smallOf(unsigned byte) {
    switch (byte) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: break;
    }
    bool capital = (byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7);
    return capital ? byte + 0x20 : byte;
}

constexpr std::array<unsigned char, 256> makeLower() {
    std::array<unsigned char, 256> table{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        table[byte] = static_cast<unsigned char>(smallOf(byte));
    }
    return table;
}

constexpr std::array<unsigned char, 256> makeUpper() {
    std::array<unsigned char, 256> table{};
    for (unsigned byte = 0; byte < 256; ++byte) table[byte] = static_cast<unsigned char>(byte);
    for (unsigned byte = 0; byte < 256; ++byte) {
        unsigned small = smallOf(byte);
        if (small != byte) table[small] = static_cast<unsigned char>(byte);
    }
    return table;
}

}  // namespace detail

inline constexpr std::array<char16_t, 256> kToUnicode = detail::makeToUnicode();
inline constexpr std::array<unsigned char, 256> kLower = detail::makeLower();
inline constexpr std::array<unsigned char, 256> kUpper = detail::makeUpper();

// ß and µ have no capital in the page; ÿ's capital lives at 0x9F.
static_assert(kUpper[0xDF] == 0xDF && kUpper[0xB5] == 0xB5 && kUpper[0xFF] == 0x9F);
static_assert(kLower[0xD7] == 0xD7 && kUpper[0xF7] == 0xF7);

inline wchar_t toWide(unsigned char byte) { return static_cast<wchar_t>(kToUnicode[byte]); }
inline unsigned char toLower(unsigned char byte) { return kLower[byte]; }
inline unsigned char toUpper(unsigned char byte) { return kUpper[byte]; }

// The byte for a character, else the byte of its best-fit look-alike, else -1.
int fromWide(wchar_t character);

// A NUL-terminated text of the page as wide text, and as UTF-8 for the host
// (file names, standard error).
std::wstring widen(const char* text);
std::string toUtf8(const char* text);

}  // namespace platform::cp1252
