#include "platform/core/handle.h"

#include <map>
#include <mutex>
#include <new>

namespace {

struct HandleTable {
    std::mutex lock;
    std::map<ULONG_PTR, std::shared_ptr<platform::KernelObject>> objects;
    // Multiples of 4, as Windows hands them out; never reused, so a closed
    // handle stays invalid.
    ULONG_PTR next = 4;
};

// Never destroyed: handles may still be closed while the process exits.
HandleTable& table() {
    static HandleTable* instance = new HandleTable;
    return *instance;
}

}  // namespace

namespace platform {

HANDLE registerHandle(std::shared_ptr<KernelObject> object) {
    HandleTable& handles = table();
    std::lock_guard<std::mutex> guard(handles.lock);
    ULONG_PTR value = handles.next;
    try {
        handles.objects.emplace(value, std::move(object));
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    handles.next += 4;
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> handleObject(HANDLE handle) {
    HandleTable& handles = table();
    std::lock_guard<std::mutex> guard(handles.lock);
    auto found = handles.objects.find(reinterpret_cast<ULONG_PTR>(handle));
    if (found == handles.objects.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return found->second;
}

}  // namespace platform

BOOL CloseHandle(HANDLE handle) {
    std::shared_ptr<platform::KernelObject> object;
    HandleTable& handles = table();
    {
        std::lock_guard<std::mutex> guard(handles.lock);
        auto found = handles.objects.find(reinterpret_cast<ULONG_PTR>(handle));
        if (found == handles.objects.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        object = std::move(found->second);
        handles.objects.erase(found);
    }
    // The object goes here, outside the lock, unless a call still holds it.
    return TRUE;
}
