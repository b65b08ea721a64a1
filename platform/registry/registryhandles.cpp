#include "platform/registry/registryhandles.h"

#include <mutex>
#include <unordered_map>
#include <utility>

#include "platform/files/file.h"
#include "platform/registry/registrytree.h"

namespace platform::registry {

namespace {

std::mutex handleMutex;
std::unordered_map<ULONG_PTR, OpenKey> openKeys;
ULONG_PTR nextHandle = 0x1000;

bool predefinedRoot(HKEY key, Root& root) {
    if (key == HKEY_CURRENT_USER) {
        root = Root::kCurrentUser;
    } else if (key == HKEY_LOCAL_MACHINE) {
        root = Root::kLocalMachine;
    } else if (key == HKEY_USERS) {
        root = Root::kUsers;
    } else {
        return false;
    }
    return true;
}

}  // namespace

bool lookUpKey(HKEY key, OpenKey& open) {
    Root root;
    if (predefinedRoot(key, root)) {
        open.path = std::u16string(rootName(root));
        open.access = KEY_ALL_ACCESS;
        return true;
    }
    std::lock_guard<std::mutex> lock(handleMutex);
    auto found = openKeys.find(reinterpret_cast<ULONG_PTR>(key));
    if (found == openKeys.end()) return false;
    open = found->second;
    return true;
}

HKEY registerKey(OpenKey open) {
    std::lock_guard<std::mutex> lock(handleMutex);
    ULONG_PTR handle = nextHandle;
    nextHandle += 4;
    openKeys.emplace(handle, std::move(open));
    return reinterpret_cast<HKEY>(handle);
}

bool closeKey(HKEY key) {
    Root root;
    if (predefinedRoot(key, root)) return true;
    std::lock_guard<std::mutex> lock(handleMutex);
    return openKeys.erase(reinterpret_cast<ULONG_PTR>(key)) > 0;
}

REGSAM specificRights(REGSAM access) {
    constexpr REGSAM kMaximumAllowed = 0x02000000;
    constexpr REGSAM kGenericAll = 0x10000000;
    if (access & (kGenericAll | kMaximumAllowed)) access |= KEY_ALL_ACCESS;
    if (access & GENERIC_READ) access |= KEY_READ;
    if (access & GENERIC_WRITE) access |= KEY_WRITE;
    return access & KEY_ALL_ACCESS;
}

}  // namespace platform::registry
