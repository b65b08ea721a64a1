#include "platform/registry/registrytext.h"

#include <cstring>

#include "platform/text/cp1252.h"
#include "platform/text/utf16.h"

namespace platform::registry {

namespace {

std::string toAnsi(const BYTE* units, std::size_t count) {
    std::string text;
    text.reserve(count);
    for (std::size_t position = 0; position < count;) {
        char32_t character = utf16::decode(units, count, position);
        int byte = cp1252::fromWide(static_cast<wchar_t>(character));
        text += byte < 0 ? '?' : static_cast<char>(byte);
    }
    return text;
}

}  // namespace

std::u16string fromAnsi(LPCSTR text) {
    std::u16string wide;
    if (text == nullptr) return wide;
    for (; *text != '\0'; ++text) wide += cp1252::kToUnicode[static_cast<unsigned char>(*text)];
    return wide;
}

std::string toAnsi(std::u16string_view text) {
    std::vector<BYTE> units;
    units.reserve(text.size() * 2);
    for (char16_t unit : text) {
        units.push_back(static_cast<BYTE>(unit & 0xFF));
        units.push_back(static_cast<BYTE>(unit >> 8));
    }
    return toAnsi(units.data(), text.size());
}

std::string ansiData(const Value& value) {
    const BYTE* bytes = value.data.data();
    if (!isStringType(value.type)) {
        return std::string(reinterpret_cast<const char*>(bytes), value.data.size());
    }
    return toAnsi(bytes, value.data.size() / 2);
}

std::vector<BYTE> storedData(DWORD type, const BYTE* data, std::size_t size) {
    if (!isStringType(type)) return std::vector<BYTE>(data, data + size);
    std::vector<BYTE> units;
    units.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        char16_t unit = cp1252::kToUnicode[data[i]];
        units.push_back(static_cast<BYTE>(unit & 0xFF));
        units.push_back(static_cast<BYTE>(unit >> 8));
    }
    return units;
}

LSTATUS copyOut(const std::string& bytes, LPBYTE data, LPDWORD size) {
    if (size == nullptr) return status(ERROR_SUCCESS);
    // The file is at most kMostBytes long, so its values fit a DWORD.
    auto needed = static_cast<DWORD>(bytes.size());
    DWORD room = *size;
    *size = needed;
    if (data == nullptr) return status(ERROR_SUCCESS);
    if (room < needed) return status(ERROR_MORE_DATA);
    if (needed > 0) std::memcpy(data, bytes.data(), needed);
    return status(ERROR_SUCCESS);
}

}  // namespace platform::registry
