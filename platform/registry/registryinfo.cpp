#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "platform/registry/registry.h"
#include "platform/registry/registryfile.h"
#include "platform/registry/registryhandles.h"
#include "platform/registry/registrytext.h"
#include "platform/registry/registrytree.h"

namespace reg = platform::registry;

namespace {

// The key behind a handle opened with KEY_QUERY_VALUE, in tree.
LSTATUS readableKey(HKEY key, std::shared_ptr<const reg::Tree>& tree, const reg::Key*& found) {
    reg::OpenKey open;
    if (!reg::lookUpKey(key, open)) return reg::status(ERROR_INVALID_HANDLE);
    if (!(open.access & KEY_QUERY_VALUE)) return reg::status(ERROR_ACCESS_DENIED);
    tree = reg::currentTree();
    found = tree->findKey(open.path);
    return reg::status(found == nullptr ? ERROR_KEY_DELETED : ERROR_SUCCESS);
}

void put(LPDWORD target, std::size_t number) {
    if (target != nullptr) *target = static_cast<DWORD>(number);
}

}  // namespace

LSTATUS RegQueryInfoKeyA(HKEY key, LPSTR keyClass, LPDWORD classLength, LPDWORD reserved,
                         LPDWORD subKeys, LPDWORD longestSubKey, LPDWORD longestClass,
                         LPDWORD values, LPDWORD longestValueName, LPDWORD longestValue,
                         LPDWORD securityDescriptorSize, PFILETIME lastWriteTime) {
    if (reserved != nullptr || (keyClass != nullptr && classLength == nullptr)) {
        return reg::status(ERROR_INVALID_PARAMETER);
    }
    std::shared_ptr<const reg::Tree> tree;
    const reg::Key* found = nullptr;
    LSTATUS result = readableKey(key, tree, found);
    if (result != ERROR_SUCCESS) return result;

    // Keys carry no class.
    if (keyClass != nullptr && *classLength > 0) keyClass[0] = '\0';
    put(classLength, 0);
    put(longestClass, 0);
    std::size_t children = 0;
    std::size_t longestChild = 0;
    std::u16string below = reg::foldCase(found->path) + u'\\';
    for (auto entry = tree->keys().lower_bound(below);
         entry != tree->keys().end() && entry->first.starts_with(below); ++entry) {
        std::u16string_view name = std::u16string_view(entry->second.path).substr(below.size());
        if (name.find(u'\\') != std::u16string_view::npos) continue;
        ++children;
        longestChild = std::max(longestChild, reg::toAnsi(name).size());
    }
    put(subKeys, children);
    put(longestSubKey, longestChild);
    std::size_t longestName = 0;
    std::size_t longestData = 0;
    for (const reg::Value& value : found->values) {
        longestName = std::max(longestName, reg::toAnsi(value.name).size());
        longestData = std::max(longestData, reg::ansiData(value).size());
    }
    put(values, found->values.size());
    put(longestValueName, longestName);
    put(longestValue, longestData);
    put(securityDescriptorSize, 0);
    if (lastWriteTime != nullptr) *lastWriteTime = FILETIME{};
    return reg::status(ERROR_SUCCESS);
}

LSTATUS RegEnumValueA(HKEY key, DWORD index, LPSTR name, LPDWORD nameLength, LPDWORD reserved,
                      LPDWORD type, LPBYTE data, LPDWORD size) {
    if (name == nullptr || nameLength == nullptr || reserved != nullptr ||
        (data != nullptr && size == nullptr)) {
        return reg::status(ERROR_INVALID_PARAMETER);
    }
    std::shared_ptr<const reg::Tree> tree;
    const reg::Key* found = nullptr;
    LSTATUS result = readableKey(key, tree, found);
    if (result != ERROR_SUCCESS) return result;
    if (index >= found->values.size()) return reg::status(ERROR_NO_MORE_ITEMS);
    const reg::Value& value = found->values[index];
    std::string ansiName = reg::toAnsi(value.name);
    if (ansiName.size() >= *nameLength) return reg::status(ERROR_MORE_DATA);
    std::memcpy(name, ansiName.c_str(), ansiName.size() + 1);
    *nameLength = static_cast<DWORD>(ansiName.size());
    if (type != nullptr) *type = value.type;
    return reg::copyOut(reg::ansiData(value), data, size);
}
