#include "wordmodel/javatext.h"

#include <cstddef>

#include "common/textconv.h"

namespace {

// Room for every ordinary word; a longer text takes the full round trip.
constexpr std::size_t directCapacity = 64;

// Decodes characters that the round trip keeps (U+0001 to U+007F and U+00A0
// to U+00FF) into `out`; false as soon as anything else comes up.
bool decodeDirect(const unsigned char* p, wchar_t (&out)[directCapacity], std::size_t& length) {
    length = 0;
    while (*p != 0) {
        if (length == directCapacity) {
            return false;
        }
        if (*p < 0x80) {
            out[length++] = static_cast<wchar_t>(*p++);
            continue;
        }
        // Two bytes C2 or C3, then a continuation byte: U+0080 to U+00FF.
        if ((*p != 0xC2 && *p != 0xC3) || (p[1] & 0xC0) != 0x80) {
            return false;
        }
        const wchar_t c = static_cast<wchar_t>(((*p & 0x1F) << 6) | (p[1] & 0x3F));
        // U+0080 to U+009F are no characters of the code page.
        if (c < 0xA0) {
            return false;
        }
        out[length++] = c;
        p += 2;
    }
    return true;
}

}  // namespace

std::wstring javaTextToWide(const char* chars) {
    wchar_t direct[directCapacity];
    std::size_t length = 0;
    if (decodeDirect(reinterpret_cast<const unsigned char*>(chars), direct, length)) {
        return std::wstring(direct, length);
    }
    return toWide(toNarrowAcp(fromUtf8(chars, -1)));
}
