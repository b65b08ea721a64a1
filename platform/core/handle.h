// Kernel object handles: files, pipes, processes and the like share one
// handle space, so that CloseHandle and the wait functions can serve them
// all. A service derives its object from KernelObject and registers it; the
// handle is an opaque number, never a pointer, so a stale or forged handle
// is refused with ERROR_INVALID_HANDLE instead of being followed.
#pragma once

#include <memory>

#include "platform/core/types.h"

#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1)))

namespace platform {

class KernelObject {
public:
    KernelObject() = default;
    KernelObject(const KernelObject&) = delete;
    KernelObject& operator=(const KernelObject&) = delete;
    // Runs when the last handle is closed and no call still uses the object.
    virtual ~KernelObject() = default;
};

// Null with ERROR_NOT_ENOUGH_MEMORY when no handle can be had.
HANDLE registerHandle(std::shared_ptr<KernelObject> object);

// The object behind a handle, if it is of type T; null with
// ERROR_INVALID_HANDLE otherwise. The object stays alive while the caller
// holds the pointer, even if another thread closes the handle meanwhile.
std::shared_ptr<KernelObject> handleObject(HANDLE handle);
template <typename T>
std::shared_ptr<T> handleObjectAs(HANDLE handle) {
    std::shared_ptr<T> object = std::dynamic_pointer_cast<T>(handleObject(handle));
    if (!object) SetLastError(ERROR_INVALID_HANDLE);
    return object;
}

}  // namespace platform

BOOL CloseHandle(HANDLE handle);
