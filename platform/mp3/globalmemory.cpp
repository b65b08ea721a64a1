#include "platform/mp3/globalmemory.h"

#include <cstdlib>
#include <map>
#include <mutex>
#include <new>

#include "platform/core/failurecount.h"
#include "platform/mp3/mp3controls.h"

namespace {

struct Block {
    void* address;
    SIZE_T size;
    bool moveable;
    int locks = 0;
};

// Every block this layer handed out, by handle. A moveable block's handle
// is the address of its record, which no data block can share.
struct BlockTable {
    std::mutex lock;
    std::map<HGLOBAL, Block*> blocks;
};

// Never destroyed: blocks may still be freed while the process exits.
BlockTable& table() {
    static BlockTable* instance = new BlockTable;
    return *instance;
}

platform::FailureCount failingAllocs;

// The block behind a handle, under the table's lock; null with
// ERROR_INVALID_HANDLE for a handle this layer does not know.
Block* find(BlockTable& blocks, HGLOBAL memory) {
    auto found = blocks.blocks.find(memory);
    if (found == blocks.blocks.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return found->second;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    if ((flags & ~(GMEM_MOVEABLE | GMEM_ZEROINIT)) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (failingAllocs.take()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    // A block of 0 bytes is still a block, with an address of its own.
    SIZE_T size = bytes == 0 ? 1 : bytes;
    void* address = (flags & GMEM_ZEROINIT) != 0 ? std::calloc(1, size) : std::malloc(size);
    Block* block = address == nullptr ? nullptr
                                      : new (std::nothrow)
                                            Block{address, bytes, (flags & GMEM_MOVEABLE) != 0};
    if (block == nullptr) {
        std::free(address);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    HGLOBAL handle = block->moveable ? static_cast<HGLOBAL>(block) : address;
    BlockTable& blocks = table();
    std::lock_guard<std::mutex> guard(blocks.lock);
    try {
        blocks.blocks.emplace(handle, block);
    } catch (const std::bad_alloc&) {
        std::free(address);
        delete block;
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return handle;
}

LPVOID GlobalLock(HGLOBAL memory) {
    BlockTable& blocks = table();
    std::lock_guard<std::mutex> guard(blocks.lock);
    Block* block = find(blocks, memory);
    if (block == nullptr) return nullptr;
    if (block->moveable) ++block->locks;
    return block->address;
}

BOOL GlobalUnlock(HGLOBAL memory) {
    BlockTable& blocks = table();
    std::lock_guard<std::mutex> guard(blocks.lock);
    Block* block = find(blocks, memory);
    if (block == nullptr) return FALSE;
    if (block->moveable && block->locks == 0) {
        SetLastError(ERROR_NOT_LOCKED);
        return FALSE;
    }
    if (block->moveable && --block->locks > 0) return TRUE;
    SetLastError(ERROR_SUCCESS);
    return FALSE;
}

SIZE_T GlobalSize(HGLOBAL memory) {
    BlockTable& blocks = table();
    std::lock_guard<std::mutex> guard(blocks.lock);
    Block* block = find(blocks, memory);
    return block == nullptr ? 0 : block->size;
}

HGLOBAL GlobalFree(HGLOBAL memory) {
    if (memory == nullptr) return nullptr;
    Block* block = nullptr;
    {
        BlockTable& blocks = table();
        std::lock_guard<std::mutex> guard(blocks.lock);
        block = find(blocks, memory);
        if (block == nullptr) return memory;
        blocks.blocks.erase(memory);
    }
    std::free(block->address);
    delete block;
    return nullptr;
}

namespace platform::testing {

void failNextGlobalAllocs(int count) { failingAllocs.set(count); }

}  // namespace platform::testing
