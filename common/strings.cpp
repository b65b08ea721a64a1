#include "common/strings.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <locale>
#include <sstream>
#include <utility>

#include "platform/win32.h"

namespace {

// German, Germany, phone-book sort order.
constexpr LCID kGermanPhoneBook =
    MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_GERMAN_PHONE_BOOK);

template <typename String>
void trimFixedSet(String& text, const typename String::value_type* set) {
    auto last = text.find_last_not_of(set);
    if (last == String::npos) {
        text.clear();
        return;
    }
    text.erase(last + 1);
    text.erase(0, text.find_first_not_of(set));
}

template <typename String>
String trimRightOf(const String& text, const String& set) {
    String result(text);
    if (set.empty()) return result;
    auto last = result.find_last_not_of(set);
    result.erase(last == String::npos ? 0 : last + 1);
    return result;
}

template <typename String>
String trimLeftOf(const String& text, const String& set) {
    String result(text);
    if (set.empty()) return result;
    result.erase(0, result.find_first_not_of(set));
    return result;
}

template <typename String>
void splitAt(const String& text, std::vector<String>& tokens, const String& delimiters) {
    typename String::size_type position = 0;
    while (true) {
        auto start = text.find_first_not_of(delimiters, position);
        if (start == String::npos) return;
        auto end = text.find_first_of(delimiters, start);
        tokens.push_back(text.substr(start, end == String::npos ? String::npos : end - start));
        if (end == String::npos) return;
        position = end;
    }
}

template <typename String>
String& replaceEvery(String& text, const String& pattern, const String& replacement) {
    if (pattern.empty()) return text;
    if (replacement.find(pattern) != String::npos) {
        // Searching from the start again would never end: one pass instead.
        typename String::size_type position = 0;
        while ((position = text.find(pattern, position)) != String::npos) {
            text.replace(position, pattern.size(), replacement);
            position += replacement.size();
        }
        return text;
    }
    // Every search starts again at the beginning, so text that a replacement
    // brings together is replaced too ("abbb", "ab" -> "a" gives "a").
    typename String::size_type position;
    while ((position = text.find(pattern)) != String::npos) {
        text.replace(position, pattern.size(), replacement);
    }
    return text;
}

template <typename Value, typename Stream, typename String>
Value readNumber(const String& text) {
    Stream stream(text, std::ios::in | std::ios::out);
    stream.imbue(std::locale::classic());
    Value value{};
    stream >> value;
    // No number at the start, or one the type cannot hold.
    if (stream.fail()) return Value{};
    return value;
}

template <typename Stream, typename Value>
auto writeNumber(Value value) {
    Stream stream(std::ios::in | std::ios::out);
    stream.imbue(std::locale::classic());
    stream << value;
    return stream.str();
}

// The tie-break's difference of character codes could be -2, which tells a
// failed comparison.
int sign(int difference) { return (difference > 0) - (difference < 0); }

int fromCompareResult(int result) {
    if (result == CSTR_LESS_THAN) return -1;
    if (result == CSTR_GREATER_THAN) return 1;
    return result == CSTR_EQUAL ? 0 : -2;
}

int measureFormat(const char* format, va_list args) { return _vscprintf(format, args); }
int measureFormat(const wchar_t* format, va_list args) { return _vscwprintf(format, args); }

int formatInto(char* buffer, std::size_t count, const char* format, va_list args) {
    return _vsnprintf(buffer, count, format, args);
}
int formatInto(wchar_t* buffer, std::size_t count, const wchar_t* format, va_list args) {
    return _vsnwprintf(buffer, count, format, args);
}

// formatStringV and formatStringVW.
template <typename Char>
bool formatWhole(std::basic_string<Char>& text, const Char* format, va_list args) {
    if (format == nullptr) {
        text.clear();
        return false;
    }
    va_list measureArgs;
    va_copy(measureArgs, args);
    const int length = measureFormat(format, measureArgs);
    va_end(measureArgs);
    // Formatted aside, as an argument may point into text itself; one more
    // for the terminator the runtime writes when there is room.
    std::basic_string<Char> result(static_cast<std::size_t>(std::max(length, 0)) + 1, Char());
    const int written = length < 0 ? -1 : formatInto(result.data(), result.size(), format, args);
    if (written < 0) {
        text.clear();
        return false;
    }
    result.resize(static_cast<std::size_t>(std::min(written, length)));
    text = std::move(result);
    return true;
}

}  // namespace

std::string& toLowerInPlace(std::string& text) {
    CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

std::string& toUpperInPlace(std::string& text) {
    CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

std::wstring& toLowerInPlaceW(std::wstring& text) {
    CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

std::wstring& toUpperInPlaceW(std::wstring& text) {
    CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

std::string toLower(const std::string& text) {
    std::string copy(text);
    toLowerInPlace(copy);
    return copy;
}

std::string toUpper(const std::string& text) {
    std::string copy(text);
    toUpperInPlace(copy);
    return copy;
}

std::wstring toLowerW(const std::wstring& text) {
    std::wstring copy(text);
    toLowerInPlaceW(copy);
    return copy;
}

std::wstring toUpperW(const std::wstring& text) {
    std::wstring copy(text);
    toUpperInPlaceW(copy);
    return copy;
}

int compareNoCase(const char* first, const char* second) {
    return _mbsicmp(reinterpret_cast<const unsigned char*>(first),
                    reinterpret_cast<const unsigned char*>(second));
}

int compareNoCase(const std::string& first, const std::string& second) {
    return compareNoCase(first.c_str(), second.c_str());
}

int compareMbcs(const char* first, const char* second) {
    return _mbscmp(reinterpret_cast<const unsigned char*>(first),
                   reinterpret_cast<const unsigned char*>(second));
}

int compareGerman(const std::string& first, const std::string& second) {
    int result = fromCompareResult(
        CompareStringA(kGermanPhoneBook, 0, first.c_str(), -1, second.c_str(), -1));
    return result == 0 ? sign(std::strcmp(first.c_str(), second.c_str())) : result;
}

int compareGermanW(const std::wstring& first, const std::wstring& second) {
    int result = fromCompareResult(
        CompareStringW(kGermanPhoneBook, 0, first.c_str(), -1, second.c_str(), -1));
    return result == 0 ? sign(std::wcscmp(first.c_str(), second.c_str())) : result;
}

void trimInPlace(std::string& text) { trimFixedSet(text, " \t\n"); }

void trimInPlaceW(std::wstring& text) { trimFixedSet(text, L" \t\n"); }

std::string trimmed(std::string& text) {
    trimInPlace(text);
    return text;
}

std::wstring trimmedW(std::wstring& text) {
    trimInPlaceW(text);
    return text;
}

char* trimBuffer(char* buffer) {
    std::string text(buffer);
    trimInPlace(text);
    // The trimmed text is never longer than the buffer's own.
    std::snprintf(buffer, text.size() + 1, "%s", text.c_str());
    return buffer;
}

wchar_t* trimBufferW(wchar_t* buffer) {
    std::wstring text(buffer);
    trimInPlaceW(text);
    std::wmemcpy(buffer, text.c_str(), text.size() + 1);
    return buffer;
}

std::string trimRight(const std::string& text, const std::string& set) {
    return trimRightOf(text, set);
}

std::wstring trimRightW(const std::wstring& text, const std::wstring& set) {
    return trimRightOf(text, set);
}

std::string trimLeft(const std::string& text, const std::string& set) {
    return trimLeftOf(text, set);
}

std::wstring trimLeftW(const std::wstring& text, const std::wstring& set) {
    return trimLeftOf(text, set);
}

std::string trimChars(const std::string& text, const std::string& set) {
    return trimLeft(trimRight(text, set), set);
}

std::wstring trimCharsW(const std::wstring& text, const std::wstring& set) {
    return trimLeftW(trimRightW(text, set), set);
}

std::string formatString(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string result;
    formatStringV(result, format, args);
    va_end(args);
    return result;
}

std::string& formatStringShort(std::string& target, const char* format, ...) {
    va_list args;
    va_start(args, format);
    formatStringV(target, format, args);
    va_end(args);
    return target;
}

bool formatStringV(std::string& text, const char* format, va_list args) {
    return formatWhole(text, format, args);
}

bool formatStringVW(std::wstring& text, const wchar_t* format, va_list args) {
    return formatWhole(text, format, args);
}

std::wstring formatStringW(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    std::wstring result;
    formatStringVW(result, format, args);
    va_end(args);
    return result;
}

std::wstring& formatStringShortW(std::wstring& target, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    formatStringVW(target, format, args);
    va_end(args);
    return target;
}

void split(const std::string& text, std::vector<std::string>& tokens,
           const std::string& delimiters) {
    splitAt(text, tokens, delimiters);
}

void splitW(const std::wstring& text, std::vector<std::wstring>& tokens,
            const std::wstring& delimiters) {
    splitAt(text, tokens, delimiters);
}

std::string& replaceAll(std::string& text, const std::string& pattern,
                        const std::string& replacement) {
    return replaceEvery(text, pattern, replacement);
}

std::wstring& replaceAllW(std::wstring& text, const std::wstring& pattern,
                          const std::wstring& replacement) {
    return replaceEvery(text, pattern, replacement);
}

bool isAsciiDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

int stringToInt(const std::string& text) { return readNumber<int, std::stringstream>(text); }

int wstringToInt(const std::wstring& text) { return readNumber<int, std::wstringstream>(text); }

double stringToDouble(const std::string& text) {
    return readNumber<double, std::stringstream>(text);
}

double wstringToDouble(const std::wstring& text) {
    return readNumber<double, std::wstringstream>(text);
}

std::string intToString(int value) { return writeNumber<std::stringstream>(value); }

std::wstring intToWString(int value) { return writeNumber<std::wstringstream>(value); }

std::string doubleToString(double value) { return writeNumber<std::stringstream>(value); }

std::wstring doubleToWString(double value) { return writeNumber<std::wstringstream>(value); }
