#include <string>
#include <utility>

#include "platform/registry/registry.h"
#include "platform/registry/registryfile.h"
#include "platform/registry/registryhandles.h"
#include "platform/registry/registrytext.h"
#include "platform/registry/registrytree.h"

namespace reg = platform::registry;

namespace {

// The file keeps one line to each key and value.
bool writable(const std::u16string& name) { return name.find(u'\n') == std::u16string::npos; }

}  // namespace

LSTATUS RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD, LPSTR, DWORD, REGSAM access,
                        const LPSECURITY_ATTRIBUTES, PHKEY result, LPDWORD disposition) {
    if (result == nullptr || subKey == nullptr) return reg::status(ERROR_INVALID_PARAMETER);
    *result = nullptr;
    reg::OpenKey open;
    if (!reg::lookUpKey(key, open)) return reg::status(ERROR_INVALID_HANDLE);
    if (!(open.access & KEY_CREATE_SUB_KEY)) return reg::status(ERROR_ACCESS_DENIED);
    std::u16string parent = open.path;
    std::u16string name = reg::fromAnsi(subKey);
    if (!writable(name)) return reg::status(ERROR_INVALID_PARAMETER);
    if (!reg::appendKeyPath(open.path, name)) return reg::status(ERROR_BAD_PATHNAME);
    open.access = reg::specificRights(access);
    DWORD created = REG_OPENED_EXISTING_KEY;
    DWORD outcome = reg::changeTree([&](reg::Tree& tree, bool& changed) -> DWORD {
        if (tree.findKey(parent) == nullptr) return ERROR_KEY_DELETED;
        if (const reg::Key* found = tree.findKey(open.path)) {
            open.path = found->path;
            return ERROR_SUCCESS;
        }
        open.path = tree.createKey(open.path).path;
        created = REG_CREATED_NEW_KEY;
        changed = true;
        return ERROR_SUCCESS;
    });
    if (outcome != ERROR_SUCCESS) return reg::status(outcome);
    if (disposition != nullptr) *disposition = created;
    *result = reg::registerKey(std::move(open));
    return reg::status(ERROR_SUCCESS);
}

LSTATUS RegSetValueExA(HKEY key, LPCSTR valueName, DWORD, DWORD type, const BYTE* data,
                       DWORD size) {
    if (data == nullptr && size > 0) return reg::status(ERROR_INVALID_PARAMETER);
    reg::OpenKey open;
    if (!reg::lookUpKey(key, open)) return reg::status(ERROR_INVALID_HANDLE);
    if (!(open.access & KEY_SET_VALUE)) return reg::status(ERROR_ACCESS_DENIED);
    reg::Value value;
    value.name = reg::fromAnsi(valueName);
    if (!writable(value.name)) return reg::status(ERROR_INVALID_PARAMETER);
    value.type = type;
    value.data = reg::storedData(type, data, size);
    return reg::status(reg::changeTree([&](reg::Tree& tree, bool& changed) -> DWORD {
        const reg::Key* found = tree.findKey(open.path);
        if (found == nullptr) return ERROR_KEY_DELETED;
        tree.createKey(open.path).setValue(std::move(value));
        changed = true;
        return ERROR_SUCCESS;
    }));
}
