#include "common/textconv.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <new>

#include "platform/win32.h"

namespace {

// Every conversion converts its input up to the first NUL, whatever length the
// caller passed. No code page served here makes more than one wide unit of a
// byte or more than four bytes of a wide unit, so one pass into a buffer of
// that size replaces the usual size query. The platform counts in int: a text
// whose buffer could outgrow that cannot be converted whole, and a text cut
// short or dropped would be lost without a word, so it fails as an
// allocation that cannot be had.
constexpr std::size_t kMaxConvertible = 0x1FFFFFFF;

std::wstring widenBytes(const char* text, std::size_t length, UINT codePage) {
    if (length == 0) return {};
    if (length > kMaxConvertible) throw std::bad_alloc();
    std::wstring result(length, L'\0');
    int written = MultiByteToWideChar(codePage, 0, text, static_cast<int>(length),
                                      result.data(), static_cast<int>(length));
    if (written <= 0) return {};
    result.resize(static_cast<std::size_t>(written));
    return result;
}

std::wstring widen(const char* text, UINT codePage) {
    if (text == nullptr) return {};
    return widenBytes(text, std::strlen(text), codePage);
}

std::string narrow(const wchar_t* text, UINT codePage) {
    if (text == nullptr) return {};
    std::size_t length = std::wcslen(text);
    if (length == 0) return {};
    if (length > kMaxConvertible / 4) throw std::bad_alloc();
    std::size_t room = codePage == CP_UTF8 ? 4 * length : length;
    std::string result(room, '\0');
    int written = WideCharToMultiByte(codePage, 0, text, static_cast<int>(length), result.data(),
                                      static_cast<int>(room), nullptr, nullptr);
    if (written <= 0) return {};
    result.resize(static_cast<std::size_t>(written));
    return result;
}

}  // namespace

std::wstring toWide(const std::string& text) {
    return toWideN(text.c_str(), static_cast<int>(text.size()));
}

std::wstring toWideN(const char* text, int /*length*/) { return widen(text, CP_ACP); }

std::string toNarrow(const std::wstring& text, unsigned int codePage) {
    return toNarrowN(text.c_str(), static_cast<int>(text.size()), codePage);
}

std::string toNarrowN(const wchar_t* text, int /*length*/, unsigned int codePage) {
    return narrow(text, codePage);
}

std::string toNarrowAcp(const wchar_t* text, int length) {
    return toNarrowN(text, length, CP_ACP);
}

std::string toNarrowAcp(const std::wstring& text) { return toNarrow(text, CP_ACP); }

std::string toUtf8(const std::wstring& text) { return narrow(text.c_str(), CP_UTF8); }

std::string toUtf8(const wchar_t* text, int length) { return toUtf8(makeWString(text, length)); }

std::string ansiToUtf8(const char* text, int length) { return toUtf8(toWideN(text, length)); }

std::string ansiToUtf8(const std::string& text) { return toUtf8(toWide(text)); }

std::wstring fromUtf8Str(const std::string& text, int length) {
    if (length == -1) return widen(text.c_str(), CP_UTF8);
    if (length <= 0) return {};
    // A length beyond the text is clamped to it, so nothing past it is read.
    std::wstring result = widenBytes(
        text.data(), std::min(static_cast<std::size_t>(length), text.size()), CP_UTF8);
    // The bytes counted may hold a NUL; nothing behind it belongs to the text.
    result.resize(std::wcslen(result.c_str()));
    return result;
}

std::wstring fromUtf8(const char* text, int length) {
    // The usual call decodes the whole text; it needs no copy first.
    if (length == -1) return widen(text, CP_UTF8);
    // Only the bytes the length covers are read.
    return fromUtf8Str(makeString(text, length), length);
}

std::wstring fromUtf8(const wchar_t* text, int length) {
    return fromUtf8Str(toNarrowAcp(text, -1), length);
}

std::wstring fromUtf8(const std::wstring& text, int length) {
    return fromUtf8Str(toNarrowAcp(text), length);
}

std::string makeString(const char* text, int length) {
    if (text == nullptr) return {};
    if (length < 0) return std::string(text);
    return std::string(text, strnlen(text, static_cast<std::size_t>(length)));
}

std::string makeStringN(const char* text, int length) { return makeString(text, length); }

std::wstring makeWString(const wchar_t* text, int length) {
    if (text == nullptr) return {};
    if (length < 0) return std::wstring(text);
    return std::wstring(text, wcsnlen(text, static_cast<std::size_t>(length)));
}

std::string copyString(const std::string& text) { return text; }

std::wstring copyWString(const std::wstring& text) { return text; }
