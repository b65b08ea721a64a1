#include "platform/core/localmemory.h"

#include <cstdlib>

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
    return platform::allocateBlock(bytes, (flags & LMEM_ZEROINIT) != 0);
}

HLOCAL LocalFree(HLOCAL memory) {
    std::free(memory);
    return nullptr;
}
