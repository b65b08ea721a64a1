#include "platform/core/handle.h"

#include "platform/core/handletable.h"

namespace {

// Never destroyed: handles may still be closed while the process exits.
platform::HandleTable<platform::KernelObject>& table() {
    static auto* instance = new platform::HandleTable<platform::KernelObject>;
    return *instance;
}

}  // namespace

namespace platform {

HANDLE registerHandle(std::shared_ptr<KernelObject> object) {
    HANDLE handle = table().add(std::move(object));
    if (handle == nullptr) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return handle;
}

std::shared_ptr<KernelObject> handleObject(HANDLE handle) {
    std::shared_ptr<KernelObject> object = table().find(handle);
    if (!object) SetLastError(ERROR_INVALID_HANDLE);
    return object;
}

}  // namespace platform

BOOL CloseHandle(HANDLE handle) {
    // The object goes here, outside the table's lock, unless a call still
    // holds it.
    if (table().remove(handle) == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
