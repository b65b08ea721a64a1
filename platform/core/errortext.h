// The system's texts for Win32 error codes.
//
// FormatMessageA serves FORMAT_MESSAGE_FROM_SYSTEM only, for the language
// 0 (any), 1024 (neutral with the default sublanguage), 2048 (the system's
// default) or 1033 (English); the texts are English and end with "\r\n",
// as the system's do. They hold no inserts, so FORMAT_MESSAGE_IGNORE_INSERTS
// and arguments change nothing. With FORMAT_MESSAGE_ALLOCATE_BUFFER, buffer
// is really an LPSTR* that receives a LocalAlloc block (at least size
// bytes) for LocalFree, or NULL when the call fails; otherwise the text and
// its terminator must fit the size bytes of buffer. Answers the text's
// length without the terminator, or 0:
//   ERROR_MR_MID_NOT_FOUND         no text for the code
//   ERROR_RESOURCE_LANG_NOT_FOUND  another language
//   ERROR_INSUFFICIENT_BUFFER      the text does not fit
//   ERROR_INVALID_PARAMETER        another source, a line width, a null buffer
//   ERROR_NOT_ENOUGH_MEMORY        the block could not be allocated
#pragma once

#include <cstdarg>

#include "platform/core/types.h"

constexpr DWORD FORMAT_MESSAGE_ALLOCATE_BUFFER = 0x00000100;
constexpr DWORD FORMAT_MESSAGE_IGNORE_INSERTS = 0x00000200;
constexpr DWORD FORMAT_MESSAGE_FROM_STRING = 0x00000400;
constexpr DWORD FORMAT_MESSAGE_FROM_HMODULE = 0x00000800;
constexpr DWORD FORMAT_MESSAGE_FROM_SYSTEM = 0x00001000;
constexpr DWORD FORMAT_MESSAGE_ARGUMENT_ARRAY = 0x00002000;
constexpr DWORD FORMAT_MESSAGE_MAX_WIDTH_MASK = 0x000000FF;

DWORD FormatMessageA(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId,
                     LPSTR buffer, DWORD size, va_list* arguments);
