#include "common/textconv.h"

#include <cstring>
#include <cwchar>

#include "platform/win32.h"

namespace {

// Every conversion converts its input up to the first NUL, whatever length the
// caller passed: the size query counts the terminator, the result drops it.
std::wstring widen(const char* text, UINT codePage) {
    if (text == nullptr || *text == '\0') return {};
    int needed = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    if (needed <= 1) return {};
    std::wstring result(static_cast<std::size_t>(needed), L'\0');
    int written = MultiByteToWideChar(codePage, 0, text, -1, result.data(), needed);
    if (written <= 0) return {};
    result.resize(std::wcslen(result.c_str()));
    return result;
}

std::string narrow(const wchar_t* text, UINT codePage) {
    if (text == nullptr || *text == L'\0') return {};
    int needed = WideCharToMultiByte(codePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (needed <= 1) return {};
    std::string result(static_cast<std::size_t>(needed), '\0');
    int written =
        WideCharToMultiByte(codePage, 0, text, -1, result.data(), needed, nullptr, nullptr);
    if (written <= 0) return {};
    result.resize(std::strlen(result.c_str()));
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

std::string toUtf8(const std::wstring& text) { return narrow(text.c_str(), CP_UTF8); }

std::string toUtf8(const wchar_t* text, int length) { return toUtf8(makeWString(text, length)); }

std::string ansiToUtf8(const char* text, int length) { return toUtf8(toWideN(text, length)); }

std::string ansiToUtf8(const std::string& text) { return toUtf8(toWide(text)); }

std::wstring fromUtf8Str(const std::string& text, int length) {
    if (length == -1) return widen(text.c_str(), CP_UTF8);
    if (length <= 0) return {};
    // A length beyond the text is clamped to it, so nothing past it is read.
    int available = static_cast<int>(text.size());
    int count = length < available ? length : available;
    if (count == 0) return {};
    int needed = MultiByteToWideChar(CP_UTF8, 0, text.data(), count, nullptr, 0);
    if (needed <= 0) return {};
    std::wstring result(static_cast<std::size_t>(needed), L'\0');
    int written = MultiByteToWideChar(CP_UTF8, 0, text.data(), count, result.data(), needed);
    if (written <= 0) return {};
    result.resize(std::wcslen(result.c_str()));
    return result;
}

std::wstring fromUtf8(const char* text, int length) {
    return fromUtf8Str(makeString(text, -1), length);
}

std::wstring fromUtf8(const wchar_t* text, int length) {
    return fromUtf8Str(toNarrowN(text, -1, CP_ACP), length);
}

std::wstring fromUtf8(const std::wstring& text, int length) {
    return fromUtf8Str(toNarrow(text, CP_ACP), length);
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
