#include "platform/mp3/globalmemory.h"

#include <atomic>
#include <memory>
#include <new>

#include "platform/core/failurecount.h"
#include "platform/core/handletable.h"
#include "platform/core/memoryblock.h"
#include "platform/mp3/mp3controls.h"

namespace {

struct Block {
    Block(SIZE_T bytes, bool isMoveable) : size(bytes), moveable(isMoveable) {}

    std::unique_ptr<void, platform::FreeBlock> address;
    const SIZE_T size;
    const bool moveable;
    std::atomic<int> locks{0};
};

// Every block this layer handed out, by handle. A moveable block's handle
// is counted out by the table, as kernel handles are, so that it is never
// handed out again; the count stays far below any address the heap gives a
// fixed block. Never destroyed: blocks may still be freed while the process
// exits.
platform::HandleTable<Block>& table() {
    static auto* instance = new platform::HandleTable<Block>;
    return *instance;
}

platform::FailureCount failingAllocs;

// The block behind a handle; null with ERROR_INVALID_HANDLE for a handle
// this layer does not know.
std::shared_ptr<Block> find(HGLOBAL memory) {
    std::shared_ptr<Block> block = table().find(memory);
    if (!block) SetLastError(ERROR_INVALID_HANDLE);
    return block;
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
    std::shared_ptr<Block> block;
    try {
        block = std::make_shared<Block>(bytes, (flags & GMEM_MOVEABLE) != 0);
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    block->address.reset(platform::allocateBlock(bytes, (flags & GMEM_ZEROINIT) != 0));
    if (!block->address) return nullptr;
    HGLOBAL handle = block->address.get();
    if (block->moveable) {
        handle = table().add(std::move(block));
    } else if (!table().addAt(handle, std::move(block))) {
        handle = nullptr;
    }
    if (handle == nullptr) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return handle;
}

LPVOID GlobalLock(HGLOBAL memory) {
    std::shared_ptr<Block> block = find(memory);
    if (!block) return nullptr;
    if (block->moveable) ++block->locks;
    return block->address.get();
}

BOOL GlobalUnlock(HGLOBAL memory) {
    std::shared_ptr<Block> block = find(memory);
    if (!block) return FALSE;
    if (block->moveable) {
        const int locks = platform::takeOne(block->locks);
        if (locks == 0) {
            SetLastError(ERROR_NOT_LOCKED);
            return FALSE;
        }
        if (locks > 1) return TRUE;
    }
    SetLastError(ERROR_SUCCESS);
    return FALSE;
}

SIZE_T GlobalSize(HGLOBAL memory) {
    std::shared_ptr<Block> block = find(memory);
    return block ? block->size : 0;
}

HGLOBAL GlobalFree(HGLOBAL memory) { return platform::freeByHandle(table(), memory); }

namespace platform {

std::shared_ptr<const BYTE> holdGlobalBlock(HGLOBAL memory, SIZE_T& size) {
    std::shared_ptr<Block> block = find(memory);
    if (!block) return nullptr;
    size = block->size;
    return std::shared_ptr<const BYTE>(block, static_cast<const BYTE*>(block->address.get()));
}

namespace testing {

void failNextGlobalAllocs(int count) { failingAllocs.set(count); }

}  // namespace testing

}  // namespace platform
