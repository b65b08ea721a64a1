#include "platform/registry/registrytree.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <array>
#include <utility>

namespace platform::registry {

namespace {

constexpr std::array<std::u16string_view, 5> kRootNames = {
    u"HKEY_CLASSES_ROOT", u"HKEY_CURRENT_USER",   u"HKEY_LOCAL_MACHINE",
    u"HKEY_USERS",        u"HKEY_CURRENT_CONFIG",
};

bool sameName(std::u16string_view first, std::u16string_view second) {
    return first.size() == second.size() && foldCase(first) == foldCase(second);
}

// The index of the value named name, or values.size().
std::size_t indexOf(const std::vector<Value>& values, std::u16string_view name) {
    std::size_t index = 0;
    while (index < values.size() && !sameName(values[index].name, name)) ++index;
    return index;
}

}  // namespace

std::u16string_view rootName(Root root) { return kRootNames[static_cast<std::size_t>(root)]; }

std::optional<Root> rootNamed(std::u16string_view name) {
    for (std::size_t i = 0; i < kRootNames.size(); ++i) {
        if (sameName(name, kRootNames[i])) return static_cast<Root>(i);
    }
    return std::nullopt;
}

std::u16string foldCase(std::u16string_view name) {
    std::u16string folded(name);
    for (char16_t& unit : folded) {
        // A surrogate is half a character; Windows leaves it as it is.
        if (unit >= 0xD800 && unit <= 0xDFFF) continue;
        UChar32 upper = u_toupper(unit);
        if (upper <= 0xFFFF) unit = static_cast<char16_t>(upper);
    }
    return folded;
}

bool appendKeyPath(std::u16string& path, std::u16string_view subKey) {
    if (subKey.empty()) return true;
    if (subKey.back() == u'\\') subKey.remove_suffix(1);
    std::u16string joined = path;
    std::size_t start = 0;
    while (true) {
        std::size_t end = subKey.find(u'\\', start);
        std::u16string_view name = subKey.substr(start, end - start);
        if (name.empty()) return false;
        joined += u'\\';
        joined += name;
        if (end == std::u16string_view::npos) break;
        start = end + 1;
    }
    path = std::move(joined);
    return true;
}

const Value* Key::findValue(std::u16string_view name) const {
    std::size_t index = indexOf(values, name);
    return index < values.size() ? &values[index] : nullptr;
}

void Key::setValue(Value value) {
    std::size_t index = indexOf(values, value.name);
    if (index == values.size()) {
        values.push_back(std::move(value));
        return;
    }
    // The first spelling of the name stays, as when Windows overwrites it.
    values[index].type = value.type;
    values[index].data = std::move(value.data);
}

void Key::removeValue(std::u16string_view name) {
    std::size_t index = indexOf(values, name);
    if (index < values.size()) values.erase(values.begin() + static_cast<std::ptrdiff_t>(index));
}

Tree::Tree() {
    for (std::u16string_view name : kRootNames) {
        m_keys.emplace(foldCase(name), Key{std::u16string(name), {}});
    }
}

const Key* Tree::findKey(std::u16string_view path) const {
    auto found = m_keys.find(foldCase(path));
    return found == m_keys.end() ? nullptr : &found->second;
}

Key& Tree::createKey(std::u16string_view path) {
    // Parents first, so that each keeps the spelling of its first mention.
    std::size_t end = path.find(u'\\');
    Key* key = nullptr;
    while (true) {
        std::u16string_view prefix = path.substr(0, end);
        auto [entry, added] = m_keys.try_emplace(foldCase(prefix));
        if (added) entry->second.path = std::u16string(prefix);
        key = &entry->second;
        if (end == std::u16string_view::npos) break;
        end = path.find(u'\\', end + 1);
    }
    return *key;
}

void Tree::removeKey(std::u16string_view path) {
    std::u16string folded = foldCase(path);
    std::u16string below = folded + u'\\';
    for (auto entry = m_keys.lower_bound(below);
         entry != m_keys.end() && entry->first.starts_with(below);) {
        entry = m_keys.erase(entry);
    }
    auto self = m_keys.find(folded);
    if (self == m_keys.end()) return;
    if (rootNamed(path)) {
        self->second.values.clear();
    } else {
        m_keys.erase(self);
    }
}

}  // namespace platform::registry
