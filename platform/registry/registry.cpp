#include "platform/registry/registry.h"

#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/files/file.h"
#include "platform/registry/registryfile.h"
#include "platform/registry/registrytree.h"
#include "platform/text/cp1252.h"
#include "platform/text/utf16.h"

namespace {

using platform::registry::Key;
using platform::registry::Root;
using platform::registry::Value;

struct OpenKey {
    std::u16string path;
    REGSAM access = 0;
};

// Handles are numbers, never pointers, so a closed or forged one is refused
// instead of followed; numbers are not reused.
std::mutex handleMutex;
std::unordered_map<ULONG_PTR, OpenKey> openKeys;
ULONG_PTR nextHandle = 0x1000;

std::u16string widen(LPCSTR text) {
    std::u16string wide;
    if (text == nullptr) return wide;
    for (; *text != '\0'; ++text) {
        wide += platform::cp1252::kToUnicode[static_cast<unsigned char>(*text)];
    }
    return wide;
}

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

// The key a handle stands for, with its rights; false for no open key.
bool lookUp(HKEY key, OpenKey& open) {
    Root root;
    if (predefinedRoot(key, root)) {
        open.path = std::u16string(platform::registry::rootName(root));
        open.access = KEY_ALL_ACCESS;
        return true;
    }
    std::lock_guard<std::mutex> lock(handleMutex);
    auto found = openKeys.find(reinterpret_cast<ULONG_PTR>(key));
    if (found == openKeys.end()) return false;
    open = found->second;
    return true;
}

REGSAM specificRights(REGSAM access) {
    constexpr REGSAM kMaximumAllowed = 0x02000000;
    constexpr REGSAM kGenericAll = 0x10000000;
    if (access & (kGenericAll | kMaximumAllowed)) access |= KEY_ALL_ACCESS;
    if (access & GENERIC_READ) access |= KEY_READ;
    if (access & GENERIC_WRITE) access |= KEY_WRITE;
    return access & KEY_ALL_ACCESS;
}

LSTATUS status(DWORD code) { return static_cast<LSTATUS>(code); }

bool isString(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// The bytes an ANSI caller receives: strings in code page 1252, a character
// the page lacks as "?", an odd last byte dropped; other data as it is.
std::string ansiData(const Value& value) {
    const BYTE* bytes = value.data.data();
    if (!isString(value.type)) return std::string(reinterpret_cast<const char*>(bytes), value.data.size());
    std::size_t units = value.data.size() / 2;
    std::string text;
    text.reserve(units);
    for (std::size_t position = 0; position < units;) {
        char32_t character = platform::utf16::decode(bytes, units, position);
        int byte = platform::cp1252::fromWide(static_cast<wchar_t>(character));
        text += byte < 0 ? '?' : static_cast<char>(byte);
    }
    return text;
}

}  // namespace

LSTATUS RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM access, PHKEY result) {
    if (result == nullptr) return status(ERROR_INVALID_PARAMETER);
    *result = nullptr;
    OpenKey parent;
    if (!lookUp(key, parent)) return status(ERROR_INVALID_HANDLE);
    OpenKey open;
    open.path = parent.path;
    open.access = specificRights(access);
    if (!platform::registry::appendKeyPath(open.path, widen(subKey))) {
        return status(ERROR_FILE_NOT_FOUND);
    }
    std::shared_ptr<const platform::registry::Tree> tree = platform::registry::currentTree();
    const Key* found = tree->findKey(open.path);
    if (found == nullptr) return status(ERROR_FILE_NOT_FOUND);
    open.path = found->path;
    std::lock_guard<std::mutex> lock(handleMutex);
    ULONG_PTR handle = nextHandle;
    nextHandle += 4;
    openKeys.emplace(handle, std::move(open));
    *result = reinterpret_cast<HKEY>(handle);
    return status(ERROR_SUCCESS);
}

LSTATUS RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type,
                         LPBYTE data, LPDWORD size) {
    if (reserved != nullptr || (data != nullptr && size == nullptr)) {
        return status(ERROR_INVALID_PARAMETER);
    }
    OpenKey open;
    if (!lookUp(key, open)) return status(ERROR_INVALID_HANDLE);
    if (!(open.access & KEY_QUERY_VALUE)) return status(ERROR_ACCESS_DENIED);
    std::shared_ptr<const platform::registry::Tree> tree = platform::registry::currentTree();
    const Key* found = tree->findKey(open.path);
    if (found == nullptr) return status(ERROR_KEY_DELETED);
    const Value* value = found->findValue(widen(valueName));
    if (value == nullptr) return status(ERROR_FILE_NOT_FOUND);
    if (type != nullptr) *type = value->type;
    if (size == nullptr) return status(ERROR_SUCCESS);
    std::string bytes = ansiData(*value);
    // The file is at most 16 MiB, so its values fit a DWORD.
    auto needed = static_cast<DWORD>(bytes.size());
    DWORD room = *size;
    *size = needed;
    if (data == nullptr) return status(ERROR_SUCCESS);
    if (room < needed) return status(ERROR_MORE_DATA);
    if (needed > 0) std::memcpy(data, bytes.data(), needed);
    return status(ERROR_SUCCESS);
}

LSTATUS RegCloseKey(HKEY key) {
    Root root;
    if (predefinedRoot(key, root)) return status(ERROR_SUCCESS);
    std::lock_guard<std::mutex> lock(handleMutex);
    if (openKeys.erase(reinterpret_cast<ULONG_PTR>(key)) == 0) return status(ERROR_INVALID_HANDLE);
    return status(ERROR_SUCCESS);
}
