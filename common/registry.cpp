#include "common/registry.h"

#include <cstdlib>
#include <cstring>

#include "common/strings.h"
#include "platform/win32.h"

namespace {

constexpr REGSAM kReadWrite = KEY_READ | KEY_WRITE;  // 0x2001F
constexpr DWORD kNameRoom = 100;

struct Root {
    const char* name;
    HKEY key;
};

// The root key a path begins with, and the sub-key after it and one more
// character (its separator). A path that is only the root's name has an
// empty sub-key.
HKEY rootOf(const char* keyPath, const char*& subKey) {
    static const Root roots[] = {{"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
                                 {"HKEY_USERS", HKEY_USERS},
                                 {"HKEY_CURRENT_USER", HKEY_CURRENT_USER}};
    for (const Root& root : roots) {
        std::size_t length = std::strlen(root.name);
        if (std::strncmp(keyPath, root.name, length) == 0) {
            subKey = keyPath[length] == '\0' ? keyPath + length : keyPath + length + 1;
            return root.key;
        }
    }
    subKey = keyPath;
    return HKEY_LOCAL_MACHINE;
}

LONG openKey(const char* keyPath, REGSAM access, HKEY& key) {
    const char* subKey = nullptr;
    HKEY root = rootOf(keyPath, subKey);
    return RegOpenKeyExA(root, subKey, 0, access, &key);
}

}  // namespace

bool registryKeyExists(const char* keyPath) {
    HKEY key = nullptr;
    if (openKey(keyPath, KEY_QUERY_VALUE, key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

bool registryValueExists(const char* keyPath, const char* valueName) {
    HKEY key = nullptr;
    if (openKey(keyPath, KEY_QUERY_VALUE, key) != ERROR_SUCCESS) return false;
    DWORD values = 0;
    DWORD longestName = 0;
    DWORD longestData = 0;
    bool found = false;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                         &longestName, &longestData, nullptr, nullptr) == ERROR_SUCCESS) {
        for (DWORD index = 0; index < values && !found; ++index) {
            char name[kNameRoom] = {};
            DWORD length = kNameRoom;
            if (RegEnumValueA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) ==
                ERROR_SUCCESS) {
                found = compareNoCase(name, valueName) == 0;
            }
        }
    }
    RegCloseKey(key);
    return found;
}

long registryCreateKey(const char* keyPath) {
    const char* subKey = nullptr;
    HKEY root = rootOf(keyPath, subKey);
    HKEY key = nullptr;
    DWORD disposition = 0;
    char emptyClass[] = "";
    LONG result = RegCreateKeyExA(root, subKey, 0, emptyClass, REG_OPTION_NON_VOLATILE,
                                  kReadWrite, nullptr, &key, &disposition);
    if (result != ERROR_SUCCESS) return result;
    return RegCloseKey(key);
}

long registryReadString(const char* keyPath, const char* valueName, char** text) {
    HKEY key = nullptr;
    LONG result = openKey(keyPath, KEY_READ, key);
    if (result != ERROR_SUCCESS) return result;
    DWORD size = 0;
    DWORD type = 0;
    RegQueryValueExA(key, valueName, nullptr, &type, nullptr, &size);
    std::free(*text);
    // One byte more than the value, zero-filled: a value stored without its
    // terminator, of another type, or missing still reads as a text.
    *text = static_cast<char*>(std::calloc(static_cast<std::size_t>(size) + 1, 1));
    if (*text == nullptr) {
        RegCloseKey(key);
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    result = RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<LPBYTE>(*text),
                              &size);
    RegCloseKey(key);
    return result;
}

long registryWriteString(const char* keyPath, const char* valueName, const char* text) {
    HKEY key = nullptr;
    LONG result = openKey(keyPath, KEY_SET_VALUE, key);
    if (result != ERROR_SUCCESS) return result;
    result = RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                            static_cast<DWORD>(std::strlen(text) + 1));
    RegCloseKey(key);
    return result;
}
