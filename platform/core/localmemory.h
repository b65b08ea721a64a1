// Local memory, as far as the system's code and FormatMessageA need it:
// fixed blocks only, optionally zero-filled. A moveable block
// (LMEM_MOVEABLE) is not served and answers NULL with
// ERROR_INVALID_PARAMETER; a failed allocation answers NULL with
// ERROR_NOT_ENOUGH_MEMORY. The handle of a fixed block is its address.
#pragma once

#include "platform/core/types.h"

constexpr UINT LMEM_FIXED = 0x0000;
constexpr UINT LMEM_MOVEABLE = 0x0002;
constexpr UINT LMEM_ZEROINIT = 0x0040;
constexpr UINT LPTR = LMEM_FIXED | LMEM_ZEROINIT;

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes);
// NULL when freed; the handle back with ERROR_INVALID_HANDLE for a block
// freed already or one LocalAlloc did not hand out. NULL is allowed and
// does nothing.
HLOCAL LocalFree(HLOCAL memory);
