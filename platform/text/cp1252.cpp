#include "platform/text/cp1252.h"

#include <cstdint>
#include <string_view>

#include "platform/text/utf8.h"

namespace platform::cp1252 {

namespace {

// U+0100-U+017F, one column per character: the letter a reader accepts in its
// place, '?' where none fits (the ligatures IJ and ij), '*' where the page
// holds the character itself (Œ œ Š š Ÿ Ž ž).
constexpr std::string_view kLatinExtendedA =
    "AaAaAaCcCcCcCcDd"
    "DdEeEeEeEeEeGgGg"
    "GgGgHhHhIiIiIiIi"
    "Ii??JjKkkLlLlLlL"
    "lLlNnNnNnnNnOoOo"
    "Oo**RrRrRrSsSsSs"
    "**TtTtTtUuUuUuUu"
    "UuUuWwYy*ZzZz**s";
static_assert(kLatinExtendedA.size() == 0x80);

int fromHighControls(std::uint32_t code) {
    for (unsigned i = 0; i < 32; ++i) {
        if (detail::kHighControls[i] == code) return static_cast<int>(0x80 + i);
    }
    return -1;
}

}  // namespace

int fromWide(wchar_t character) {
    auto code = static_cast<std::uint32_t>(character);
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<int>(code);
    if (code < 0xA0) {
        // Only the five undefined bytes stand for themselves; the other C1
        // controls have a printable character in their place.
        return kToUnicode[code] == code ? static_cast<int>(code) : -1;
    }
    if (code < 0x180) {
        char fit = kLatinExtendedA[code - 0x100];
        if (fit == '*') return fromHighControls(code);
        return fit == '?' ? -1 : fit;
    }
    // The rest of the page's characters: ƒ ˆ ˜ and the punctuation, € and ™.
    if (code == 0x192 || code == 0x2C6 || code == 0x2DC || (code >= 0x2013 && code <= 0x2122)) {
        return fromHighControls(code);
    }
    return -1;
}

std::wstring widen(const char* text) {
    std::wstring wide;
    for (const char* p = text; *p != '\0'; ++p) {
        wide.push_back(toWide(static_cast<unsigned char>(*p)));
    }
    return wide;
}

std::string toUtf8(const char* text) {
    std::string utf8;
    char bytes[4];
    for (const char* p = text; *p != '\0'; ++p) {
        utf8.append(bytes, utf8::encode(toWide(static_cast<unsigned char>(*p)), bytes));
    }
    return utf8;
}

}  // namespace platform::cp1252
