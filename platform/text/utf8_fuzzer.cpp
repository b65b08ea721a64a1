// Decodes arbitrary bytes as UTF-8 and checks what every caller relies on:
// no crash, the size query matches the conversion, the output is valid
// Unicode, valid input comes back unchanged, and decoding is stable.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/win32.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

std::wstring decode(const char* bytes, int size) {
    int needed = MultiByteToWideChar(CP_UTF8, 0, bytes, size, nullptr, 0);
    check(needed > 0 && needed <= size);
    std::wstring out(static_cast<std::size_t>(needed), L'\0');
    check(MultiByteToWideChar(CP_UTF8, 0, bytes, size, out.data(), needed) == needed);
    // One unit short must fail and report why.
    if (needed > 1) {
        std::wstring tooSmall(static_cast<std::size_t>(needed - 1), L'\0');
        check(MultiByteToWideChar(CP_UTF8, 0, bytes, size, tooSmall.data(), needed - 1) == 0);
        check(GetLastError() == ERROR_INSUFFICIENT_BUFFER);
    }
    return out;
}

std::string encode(const std::wstring& text) {
    int size = static_cast<int>(text.size());
    int needed = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    check(needed >= size && needed <= 4 * size);
    std::string out(static_cast<std::size_t>(needed), '\0');
    check(WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), needed, nullptr,
                              nullptr) == needed);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size > 1 << 16) return 0;
    const char* bytes = reinterpret_cast<const char*>(data);
    int length = static_cast<int>(size);

    std::wstring text = decode(bytes, length);
    bool replaced = false;
    for (wchar_t c : text) {
        auto code = static_cast<std::uint32_t>(c);
        check(code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF));
        replaced = replaced || code == 0xFFFD;
    }
    // Valid input (no replacement made, none in the input) comes back as is.
    std::string again = encode(text);
    if (!replaced) check(again == std::string(bytes, size));
    // The re-encoded text is valid, so it decodes to the same characters.
    check(decode(again.data(), static_cast<int>(again.size())) == text);

    // The same bytes read as wide characters: each either survives the trip
    // through UTF-8 or becomes U+FFFD.
    std::size_t count = size / sizeof(wchar_t);
    if (count > 0) {
        std::wstring wide(count, L'\0');
        std::memcpy(wide.data(), data, count * sizeof(wchar_t));
        std::string encoded = encode(wide);
        std::wstring back = decode(encoded.data(), static_cast<int>(encoded.size()));
        check(back.size() == wide.size());
        for (std::size_t i = 0; i < count; ++i) {
            auto code = static_cast<std::uint32_t>(wide[i]);
            bool scalar = code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
            check(back[i] == (scalar ? wide[i] : L'\xFFFD'));
        }
    }
    return 0;
}
