#include <algorithm>
#include <cstring>
#include <string>

#include "platform/module/module.h"
#include "platform/text/text.h"
#include "platform/text/utf16.h"

namespace {

// A string table block holds 16 strings, each a 16-bit count of UTF-16
// units followed by the units; an empty string is a count of 0. false
// when the block ends before string index is complete.
bool stringInBlock(const BYTE* block, DWORD size, unsigned index, std::wstring& text) {
    std::size_t offset = 0;
    for (unsigned i = 0;; ++i) {
        if (size - offset < 2) return false;
        std::size_t units = platform::utf16::unitAt(block + offset, 0);
        offset += 2;
        if (units > (size - offset) / 2) return false;
        if (i == index) {
            const BYTE* start = block + offset;
            for (std::size_t position = 0; position < units;) {
                char32_t c = platform::utf16::decode(start, units, position);
                text.push_back(static_cast<wchar_t>(c));
            }
            return true;
        }
        offset += 2 * units;
    }
}

}  // namespace

int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int bufferMax) {
    if (buffer == nullptr || bufferMax <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    buffer[0] = '\0';
    // String ids are 16 bits wide; the bits above are ignored, as on Windows.
    UINT block = ((id & 0xFFFF) >> 4) + 1;
    HRSRC resource = FindResourceA(instance, MAKEINTRESOURCEA(block), RT_STRING);
    if (resource == nullptr) return 0;
    const auto* data = static_cast<const BYTE*>(LoadResource(instance, resource));
    DWORD size = SizeofResource(instance, resource);
    if (data == nullptr) return 0;

    std::wstring text;
    if (!stringInBlock(data, size, id & 0x0F, text) || text.empty()) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
    auto wideLength = static_cast<int>(text.size());
    int length = WideCharToMultiByte(CP_ACP, 0, text.data(), wideLength, nullptr, 0, nullptr,
                                     nullptr);
    if (length <= 0) return 0;
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), wideLength, narrow.data(), length, nullptr,
                        nullptr);
    std::size_t copied = std::min(narrow.size(), static_cast<std::size_t>(bufferMax) - 1);
    std::memcpy(buffer, narrow.data(), copied);
    buffer[copied] = '\0';
    return static_cast<int>(copied);
}
