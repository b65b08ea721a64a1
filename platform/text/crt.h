// C runtime extras with their Windows meaning.
//
// Formats follow the Windows runtime, not glibc: in the wide family "%s" and
// "%c" take wide arguments and "%S"/"%C" narrow ones; in the narrow family
// "%S"/"%C" take wide ones. "%ls"/"%lc" are always wide, "%hs"/"%hc" always
// narrow. Narrow text is code page 1252: a wide argument formatted into narrow
// output is converted to it, a narrow argument into wide output from it.
// A null string prints "(null)"; "%p" prints all the pointer's hex digits in
// upper case. Integer sizes are the C types of this platform: "%ld" takes a
// long (64-bit here), so a DWORD goes with "%u" or "%lu" and a cast. Also
// understood: "I", "I32" and "I64" sizes, "w" for wide characters and strings.
// "%n" and unknown conversions are bad formats.
#pragma once

#include <cstdarg>
#include <cstddef>

// Length of the formatted text without terminator; -1 for a bad format.
int _vscprintf(const char* format, va_list args);
int _vscwprintf(const wchar_t* format, va_list args);

// Format at most count characters into buffer. Answers the length when it
// fits (a terminator is added only if there is room for it) and -1 when the
// text was cut. A null buffer with count 0 answers the length needed. A bad
// format answers -1 and leaves an empty text when there is room for it.
int _vsnprintf(char* buffer, std::size_t count, const char* format, va_list args);
int _vsnwprintf(wchar_t* buffer, std::size_t count, const wchar_t* format, va_list args);
int _snprintf(char* buffer, std::size_t count, const char* format, ...);
int _snwprintf(wchar_t* buffer, std::size_t count, const wchar_t* format, ...);

// Single-byte code page 1252 comparisons of unsigned bytes; answer <0, 0 or
// >0. _mbsicmp compares the lower-case forms. A null argument answers
// INT_MAX, the Windows runtime's error value.
int _mbscmp(const unsigned char* first, const unsigned char* second);
int _mbsicmp(const unsigned char* first, const unsigned char* second);
