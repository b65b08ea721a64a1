// The bytes of local and global memory blocks (localmemory.h,
// platform/mp3/globalmemory.h) and their freeing by handle. Internal to the
// layer: the code above it knows blocks only by their handles.
#pragma once

#include <cstdlib>

#include "platform/core/handletable.h"
#include "platform/core/types.h"

namespace platform {

// A block's bytes, zero-filled if asked, freed with std::free. A block of 0
// bytes is still a block, with an address of its own. NULL with
// ERROR_NOT_ENOUGH_MEMORY when there is no memory.
void* allocateBlock(SIZE_T bytes, bool zeroFilled);

// Frees a block of allocateBlock, for the smart pointers that hold one.
struct FreeBlock {
    void operator()(void* bytes) const { std::free(bytes); }
};

// LocalFree and GlobalFree: takes the block's handle out of its table. NULL
// when freed; the handle back with ERROR_INVALID_HANDLE for one the table
// does not hold (freed already, or never handed out). NULL is allowed and
// does nothing.
template <class Block>
HANDLE freeByHandle(HandleTable<Block>& table, HANDLE memory) {
    if (memory == nullptr) return nullptr;
    // The bytes go here, outside the table's lock, unless a call still holds
    // the block.
    if (table.remove(memory) == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return memory;
    }
    return nullptr;
}

}  // namespace platform
