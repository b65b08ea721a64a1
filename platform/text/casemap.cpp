// CharLowerBuff and CharUpperBuff: a German Windows system's case mapping
// whatever LANG says, so no C or C++ locale is consulted.
#include <cstdint>

#include <unicode/uchar.h>

#include "platform/text/cp1252.h"
#include "platform/text/text.h"

namespace {

enum class Case { lower, upper };

template <Case target>
DWORD mapNarrow(LPSTR text, DWORD length) {
    if (text == nullptr) return 0;
    const auto& table = target == Case::lower ? platform::cp1252::kLower : platform::cp1252::kUpper;
    for (DWORD i = 0; i < length; ++i) {
        text[i] = static_cast<char>(table[static_cast<unsigned char>(text[i])]);
    }
    return length;
}

// Unicode simple case mapping: one character for one, so ß stays ß.
template <Case target>
DWORD mapWide(LPWSTR text, DWORD length) {
    if (text == nullptr) return 0;
    const auto& ascii = target == Case::lower ? platform::cp1252::kLower : platform::cp1252::kUpper;
    for (DWORD i = 0; i < length; ++i) {
        auto code = static_cast<std::uint32_t>(text[i]);
        if (code < 0x80) {
            // Most words are plain ASCII; spare them the call into ICU.
            text[i] = static_cast<wchar_t>(ascii[code]);
        } else if (code <= 0x10FFFF) {
            auto point = static_cast<UChar32>(code);
            text[i] = static_cast<wchar_t>(target == Case::lower ? u_tolower(point)
                                                                 : u_toupper(point));
        }
    }
    return length;
}

}  // namespace

DWORD CharLowerBuffA(LPSTR text, DWORD length) { return mapNarrow<Case::lower>(text, length); }

DWORD CharUpperBuffA(LPSTR text, DWORD length) { return mapNarrow<Case::upper>(text, length); }

DWORD CharLowerBuffW(LPWSTR text, DWORD length) { return mapWide<Case::lower>(text, length); }

DWORD CharUpperBuffW(LPWSTR text, DWORD length) { return mapWide<Case::upper>(text, length); }
