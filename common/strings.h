// String helpers shared by the word model and the file functions.
//
// Case mapping follows a German Windows system whatever the process locale:
// wide text by Unicode simple case mapping, narrow text by the letters of
// code page 1252. Number conversions use the classic locale; text that holds
// no number at its start gives 0.
#pragma once

#include <cstdarg>
#include <string>
#include <vector>

std::string& toLowerInPlace(std::string& text);
std::string& toUpperInPlace(std::string& text);
std::wstring& toLowerInPlaceW(std::wstring& text);
std::wstring& toUpperInPlaceW(std::wstring& text);
std::string toLower(const std::string& text);
std::string toUpper(const std::string& text);
std::wstring toLowerW(const std::wstring& text);
std::wstring toUpperW(const std::wstring& text);

int compareNoCase(const char* first, const char* second);
int compareNoCase(const std::string& first, const std::string& second);
int compareMbcs(const char* first, const char* second);
// German phone-book order; texts the order holds equal are ordered by their
// character codes, so 0 means identical. -2 when the comparison fails.
int compareGerman(const std::string& first, const std::string& second);
int compareGermanW(const std::wstring& first, const std::wstring& second);

// Blank, tab and line feed; a carriage return is not trimmed.
void trimInPlace(std::string& text);
void trimInPlaceW(std::wstring& text);
std::string trimmed(std::string& text);
std::wstring trimmedW(std::wstring& text);
char* trimBuffer(char* buffer);
wchar_t* trimBufferW(wchar_t* buffer);
std::string trimRight(const std::string& text, const std::string& set);
std::wstring trimRightW(const std::wstring& text, const std::wstring& set);
std::string trimLeft(const std::string& text, const std::string& set);
std::wstring trimLeftW(const std::wstring& text, const std::wstring& set);
std::string trimChars(const std::string& text, const std::string& set);
std::wstring trimCharsW(const std::wstring& text, const std::wstring& set);

std::string formatString(const char* format, ...)
#if defined(__GNUC__) && !defined(_WIN32)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
std::string& formatStringShort(std::string& target, const char* format, ...)
#if defined(__GNUC__) && !defined(_WIN32)
    __attribute__((format(printf, 2, 3)))
#endif
    ;
// The whole text of a printf format, measured first so that nothing is cut.
// False, with the text empty, for no format or one the C runtime refuses.
// args is used up, as by vsnprintf.
bool formatStringV(std::string& text, const char* format, va_list args);
bool formatStringVW(std::wstring& text, const wchar_t* format, va_list args);
std::wstring formatStringW(const wchar_t* format, ...);
std::wstring& formatStringShortW(std::wstring& target, const wchar_t* format, ...);

// Appends the tokens between runs of delimiters; never an empty token.
void split(const std::string& text, std::vector<std::string>& tokens,
           const std::string& delimiters);
void splitW(const std::wstring& text, std::vector<std::wstring>& tokens,
            const std::wstring& delimiters);
// Replaces until the pattern no longer occurs, searching from the start each
// time. An empty pattern changes nothing; a replacement that contains the
// pattern would never end, so then every occurrence is replaced in one pass.
std::string& replaceAll(std::string& text, const std::string& pattern,
                        const std::string& replacement);
std::wstring& replaceAllW(std::wstring& text, const std::wstring& pattern,
                          const std::wstring& replacement);

// "0" to "9" only, whatever else the locale counts as a digit.
bool isAsciiDigit(wchar_t c);

int stringToInt(const std::string& text);
int wstringToInt(const std::wstring& text);
double stringToDouble(const std::string& text);
double wstringToDouble(const std::wstring& text);
std::string intToString(int value);
std::wstring intToWString(int value);
std::string doubleToString(double value);
std::wstring doubleToWString(double value);
