// Global memory, as far as COM streams are made on it: fixed blocks, whose
// handle is their address, and moveable ones, whose handle is an opaque
// number that GlobalLock turns into the address. Handles that this layer
// did not hand out are refused with ERROR_INVALID_HANDLE instead of being
// followed, and so are freed ones: a moveable block's handle is never handed
// out again, but a fixed block's handle is its address, which the heap may
// give a later block, and then it is that block's handle.
#pragma once

#include <memory>

#include "platform/core/types.h"

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;

constexpr DWORD ERROR_NOT_LOCKED = 158;

// NULL with ERROR_NOT_ENOUGH_MEMORY when there is no memory, with
// ERROR_INVALID_PARAMETER for flags other than the ones above. A block of
// 0 bytes is still a block.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
// The block's address; a moveable block counts its locks.
LPVOID GlobalLock(HGLOBAL memory);
// TRUE while a moveable block stays locked; FALSE with ERROR_SUCCESS once
// it is unlocked (a fixed block is never locked), FALSE with ERROR_NOT_LOCKED
// for a moveable block that was not locked.
BOOL GlobalUnlock(HGLOBAL memory);
// The size asked for; 0 with the last error for an unknown handle.
SIZE_T GlobalSize(HGLOBAL memory);
// NULL when freed; the handle back with ERROR_INVALID_HANDLE otherwise.
// NULL is allowed and does nothing.
HGLOBAL GlobalFree(HGLOBAL memory);

namespace platform {

// The bytes of a global block, held for as long as the answer lives: a
// GlobalFree meanwhile takes the handle away at once and the bytes only
// when the last holder lets go. size gets the block's size. Null with
// ERROR_INVALID_HANDLE for a handle GlobalLock refuses.
std::shared_ptr<const BYTE> holdGlobalBlock(HGLOBAL memory, SIZE_T& size);

}  // namespace platform
