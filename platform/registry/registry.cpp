#include "platform/registry/registry.h"

#include <memory>
#include <string>

#include "platform/registry/registryfile.h"
#include "platform/registry/registryhandles.h"
#include "platform/registry/registrytext.h"
#include "platform/registry/registrytree.h"

namespace reg = platform::registry;

LSTATUS RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM access, PHKEY result) {
    if (result == nullptr) return reg::status(ERROR_INVALID_PARAMETER);
    *result = nullptr;
    reg::OpenKey open;
    if (!reg::lookUpKey(key, open)) return reg::status(ERROR_INVALID_HANDLE);
    open.access = reg::specificRights(access);
    if (!reg::appendKeyPath(open.path, reg::fromAnsi(subKey))) {
        return reg::status(ERROR_FILE_NOT_FOUND);
    }
    std::shared_ptr<const reg::Tree> tree = reg::currentTree();
    const reg::Key* found = tree->findKey(open.path);
    if (found == nullptr) return reg::status(ERROR_FILE_NOT_FOUND);
    open.path = found->path;
    *result = reg::registerKey(std::move(open));
    return reg::status(ERROR_SUCCESS);
}

LSTATUS RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                         LPDWORD size) {
    if (reserved != nullptr || (data != nullptr && size == nullptr)) {
        return reg::status(ERROR_INVALID_PARAMETER);
    }
    reg::OpenKey open;
    if (!reg::lookUpKey(key, open)) return reg::status(ERROR_INVALID_HANDLE);
    if (!(open.access & KEY_QUERY_VALUE)) return reg::status(ERROR_ACCESS_DENIED);
    std::shared_ptr<const reg::Tree> tree = reg::currentTree();
    const reg::Key* found = tree->findKey(open.path);
    if (found == nullptr) return reg::status(ERROR_KEY_DELETED);
    const reg::Value* value = found->findValue(reg::fromAnsi(valueName));
    if (value == nullptr) return reg::status(ERROR_FILE_NOT_FOUND);
    if (type != nullptr) *type = value->type;
    return reg::copyOut(reg::ansiData(*value), data, size);
}

LSTATUS RegCloseKey(HKEY key) {
    return reg::status(reg::closeKey(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE);
}
