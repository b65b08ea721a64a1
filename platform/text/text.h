// Code-page conversion, case mapping and linguistic comparison.
//
// Code page 0 (CP_ACP) is Windows-1252, the ANSI code page of a German
// system; 1252 and 65001 (UTF-8) are the other pages served, any other is
// ERROR_INVALID_PARAMETER. Flags must be 0 (else ERROR_INVALID_FLAGS).
#pragma once

#include "platform/core/types.h"

// Windows' rules: a source length of -1 converts up to and including the
// NUL (other negative lengths and 0 are ERROR_INVALID_PARAMETER); an explicit
// length converts an embedded NUL like any character; a target length of 0
// answers the size needed; a target too small gives 0 with
// ERROR_INSUFFICIENT_BUFFER. Conversion itself never fails: invalid UTF-8
// becomes U+FFFD (one per maximal invalid subsequence), a wchar_t that is no
// Unicode scalar value becomes U+FFFD's bytes, and a character that 1252
// lacks becomes its best-fit letter (Latin Extended-A: ł -> l, Ő -> O) or
// else the default character ("?", or *defaultChar). usedDefaultChar tells
// whether the default was needed. Both must be null for UTF-8.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceLength,
                        LPWSTR target, int targetLength);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceLength,
                        LPSTR target, int targetLength, LPCSTR defaultChar,
                        LPBOOL usedDefaultChar);

// Maps a buffer in place; answers the number of characters processed.
// Wide text follows Unicode simple case mapping, narrow text the letters of
// code page 1252, whatever the process locale says.
DWORD CharLowerBuffA(LPSTR text, DWORD length);
DWORD CharUpperBuffA(LPSTR text, DWORD length);
DWORD CharLowerBuffW(LPWSTR text, DWORD length);
DWORD CharUpperBuffW(LPWSTR text, DWORD length);

// Answers CSTR_LESS_THAN, CSTR_EQUAL or CSTR_GREATER_THAN, 0 on failure.
// A negative length means: up to the terminating NUL. Case-sensitive
// (flags must be 0). Locales: German phone-book order (0x10407), German
// dictionary order (0x0407, and LOCALE_USER_DEFAULT and LOCALE_SYSTEM_DEFAULT
// as on a German system); others are ERROR_INVALID_PARAMETER. Narrow text is
// code page 1252.
int CompareStringA(LCID locale, DWORD flags, LPCSTR first, int firstLength, LPCSTR second,
                   int secondLength);
int CompareStringW(LCID locale, DWORD flags, LPCWSTR first, int firstLength, LPCWSTR second,
                   int secondLength);
