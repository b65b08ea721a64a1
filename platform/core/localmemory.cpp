#include "platform/core/localmemory.h"

#include <cstdlib>
#include <memory>
#include <new>

#include "platform/core/handletable.h"
#include "platform/core/memoryblock.h"

namespace {

// Every block LocalAlloc handed out and LocalFree did not free yet, by its
// address, so that LocalFree refuses a block freed already or one it never
// gave instead of handing it to the C library, which ends the process.
// Never destroyed: blocks may still be freed while the process exits.
platform::HandleTable<void>& blocks() {
    static auto* instance = new platform::HandleTable<void>;
    return *instance;
}

}  // namespace

namespace platform {

void* allocateBlock(SIZE_T bytes, bool zeroFilled) {
    SIZE_T size = bytes == 0 ? 1 : bytes;
    void* memory = zeroFilled ? std::calloc(1, size) : std::malloc(size);
    if (memory == nullptr) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return memory;
}

}  // namespace platform

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes) {
    if ((flags & ~LMEM_ZEROINIT) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    void* memory = platform::allocateBlock(bytes, (flags & LMEM_ZEROINIT) != 0);
    if (memory == nullptr) return nullptr;
    std::shared_ptr<void> block;
    try {
        // Without memory for the count, the block is freed at once.
        block.reset(memory, platform::FreeBlock());
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (!blocks().addAt(memory, std::move(block))) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return memory;
}

HLOCAL LocalFree(HLOCAL memory) { return platform::freeByHandle(blocks(), memory); }
