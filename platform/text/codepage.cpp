// MultiByteToWideChar and WideCharToMultiByte for code pages 0/1252 and 65001.
#include <climits>
#include <cstring>
#include <cwchar>

#include "platform/text/cp1252.h"
#include "platform/text/text.h"
#include "platform/text/utf8.h"

namespace {

enum class Page { unknown, windows1252, utf8 };

Page pageOf(UINT codePage) {
    switch (codePage) {
    case CP_ACP:
    case 1252: return Page::windows1252;
    case CP_UTF8: return Page::utf8;
    default: return Page::unknown;
    }
}

int fail(DWORD error) {
    SetLastError(error);
    return 0;
}

// The checks both directions share. Answers 0 when the call may go on, else
// the error to report. Source length -1 stands for "up to and including the
// NUL"; other negative lengths are refused rather than guessed at.
DWORD checkCall(Page page, DWORD flags, const void* source, int sourceLength, const void* target,
                int targetLength) {
    if (source == nullptr || sourceLength == 0 || sourceLength < -1 || targetLength < 0 ||
        (target == nullptr && targetLength > 0) || (target != nullptr && target == source)) {
        return ERROR_INVALID_PARAMETER;
    }
    if (page == Page::unknown) return ERROR_INVALID_PARAMETER;
    if (flags != 0) return ERROR_INVALID_FLAGS;
    return ERROR_SUCCESS;
}

int decodeUtf8(const unsigned char* source, std::size_t length, LPWSTR target, int targetLength) {
    std::size_t position = 0;
    int written = 0;
    while (position < length) {
        char32_t code = source[position] < 0x80 ? source[position++]
                                                 : platform::utf8::decode(source, length, position);
        if (targetLength != 0) {
            if (written == targetLength) return fail(ERROR_INSUFFICIENT_BUFFER);
            target[written] = static_cast<wchar_t>(code);
        }
        ++written;  // at most one character per byte, so no overflow
    }
    return written;
}

int encodeUtf8(LPCWSTR source, std::size_t length, LPSTR target, int targetLength) {
    std::size_t needed = 0;
    for (std::size_t i = 0; i < length; ++i) {
        std::size_t size = platform::utf8::encodedSize(source[i]);
        if (targetLength != 0) {
            if (needed + size > static_cast<std::size_t>(targetLength)) {
                return fail(ERROR_INSUFFICIENT_BUFFER);
            }
            platform::utf8::encode(source[i], target + needed);
        }
        needed += size;
    }
    if (needed > INT_MAX) return fail(ERROR_INVALID_PARAMETER);
    return static_cast<int>(needed);
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceLength,
                        LPWSTR target, int targetLength) {
    Page page = pageOf(codePage);
    if (DWORD error = checkCall(page, flags, source, sourceLength, target, targetLength)) {
        return fail(error);
    }
    std::size_t length =
        sourceLength == -1 ? std::strlen(source) + 1 : static_cast<std::size_t>(sourceLength);
    if (length > INT_MAX) return fail(ERROR_INVALID_PARAMETER);
    const auto* bytes = reinterpret_cast<const unsigned char*>(source);
    if (page == Page::utf8) return decodeUtf8(bytes, length, target, targetLength);

    if (targetLength != 0) {
        if (length > static_cast<std::size_t>(targetLength)) {
            return fail(ERROR_INSUFFICIENT_BUFFER);
        }
        for (std::size_t i = 0; i < length; ++i) target[i] = platform::cp1252::toWide(bytes[i]);
    }
    return static_cast<int>(length);
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceLength,
                        LPSTR target, int targetLength, LPCSTR defaultChar,
                        LPBOOL usedDefaultChar) {
    Page page = pageOf(codePage);
    if (DWORD error = checkCall(page, flags, source, sourceLength, target, targetLength)) {
        return fail(error);
    }
    // UTF-8 can hold every character, so Windows refuses a substitute for it.
    if (page == Page::utf8 && (defaultChar != nullptr || usedDefaultChar != nullptr)) {
        return fail(ERROR_INVALID_PARAMETER);
    }
    std::size_t length =
        sourceLength == -1 ? std::wcslen(source) + 1 : static_cast<std::size_t>(sourceLength);
    if (length > INT_MAX) return fail(ERROR_INVALID_PARAMETER);
    if (page == Page::utf8) return encodeUtf8(source, length, target, targetLength);

    if (targetLength != 0 && length > static_cast<std::size_t>(targetLength)) {
        return fail(ERROR_INSUFFICIENT_BUFFER);
    }
    if (targetLength == 0 && usedDefaultChar == nullptr) return static_cast<int>(length);
    char substitute = defaultChar != nullptr ? *defaultChar : '?';
    bool substituted = false;
    for (std::size_t i = 0; i < length; ++i) {
        int byte = platform::cp1252::fromWide(source[i]);
        if (byte < 0) substituted = true;
        if (targetLength != 0) target[i] = byte < 0 ? substitute : static_cast<char>(byte);
    }
    if (usedDefaultChar != nullptr) *usedDefaultChar = substituted ? TRUE : FALSE;
    return static_cast<int>(length);
}
