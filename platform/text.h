// Code-page conversion, case mapping and linguistic comparison.
//
// Code page 0 (CP_ACP) is Windows-1252, the ANSI code page of a German
// system; 1252 and 65001 (UTF-8) are the other pages served. Flags must be 0.
#pragma once

#include "platform/types.h"

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
// A length of -1 means: up to the terminating NUL.
int CompareStringA(LCID locale, DWORD flags, LPCSTR first, int firstLength, LPCSTR second,
                   int secondLength);
int CompareStringW(LCID locale, DWORD flags, LPCWSTR first, int firstLength, LPCWSTR second,
                   int secondLength);
