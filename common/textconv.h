// Narrow and wide text.
//
// Narrow strings hold text in a Windows code page (as a rule the ANSI code
// page, 1252), wide strings hold wchar_t text. Every conversion stops at the
// input's first NUL and never fails: characters the target cannot hold become
// the code page's substitute, invalid UTF-8 the replacement character. A
// "length" of -1 means "up to the terminating NUL". A text too long to be
// converted whole (over 536,870,911 bytes, or 134,217,727 wide characters
// into narrow text) throws std::bad_alloc, as any allocation that fails.
#pragma once

#include <string>

std::wstring toWide(const std::string& text);
// The length does not cut the text: the whole text up to its NUL is converted.
std::wstring toWideN(const char* text, int length);

std::string toNarrow(const std::wstring& text, unsigned int codePage);
std::string toNarrowN(const wchar_t* text, int length, unsigned int codePage);
std::string toNarrowAcp(const wchar_t* text, int length);
std::string toNarrowAcp(const std::wstring& text);

std::string toUtf8(const std::wstring& text);
std::string toUtf8(const wchar_t* text, int length);
std::string ansiToUtf8(const char* text, int length);
std::string ansiToUtf8(const std::string& text);

// Decodes the first `length` bytes (-1: all up to the NUL; other negative
// values: nothing). A length beyond the text is clamped to it.
std::wstring fromUtf8Str(const std::string& text, int length);
std::wstring fromUtf8(const char* text, int length);
// For UTF-8 bytes that were widened one byte per character in the ANSI code
// page: narrows them back and decodes them.
std::wstring fromUtf8(const wchar_t* text, int length);
std::wstring fromUtf8(const std::wstring& text, int length);

// Negative length: up to the NUL. makeString takes at most the text's own
// length; makeStringN and makeWString take `length` elements, clamped to the
// text before its NUL so they never read past it.
std::string makeString(const char* text, int length);
std::string makeStringN(const char* text, int length);
std::wstring makeWString(const wchar_t* text, int length);

std::string copyString(const std::string& text);
std::wstring copyWString(const std::wstring& text);
