// The registry's keys and values in memory.
//
// A key is named by its full path: the name of its root key in the
// spelling Windows exports ("HKEY_LOCAL_MACHINE"), then its names joined by
// "\". Names are UTF-16 and compare without regard to case, unit by unit
// through Unicode's simple upper case, as Windows compares them; they keep
// the spelling they were first written with. The five roots always exist,
// and so do the parents of every key. Values keep the order in which they
// were first set; their data are the bytes Windows stores, strings as
// UTF-16LE with whatever terminator they were given.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/registry.h"

namespace platform::registry {

enum class Root { kClassesRoot, kCurrentUser, kLocalMachine, kUsers, kCurrentConfig };

std::u16string_view rootName(Root root);
// The root a name spells, case ignored.
std::optional<Root> rootNamed(std::u16string_view name);

std::u16string foldCase(std::u16string_view name);

// Appends "\" and the names of subKey to path. An empty subKey appends
// nothing; one trailing "\" is allowed. False, with path unchanged, for an
// empty name (a leading "\" or two in a row).
bool appendKeyPath(std::u16string& path, std::u16string_view subKey);

struct Value {
    std::u16string name;  // empty for the key's default value
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

struct Key {
    std::u16string path;
    std::vector<Value> values;

    const Value* findValue(std::u16string_view name) const;
    void setValue(Value value);
    void removeValue(std::u16string_view name);
};

class Tree {
public:
    Tree();

    const Key* findKey(std::u16string_view path) const;
    // The key at path, made with its missing parents; path must be a root's
    // name, or one followed by names as appendKeyPath joins them.
    Key& createKey(std::u16string_view path);
    // Removes the key and every key below it; a root only loses what is
    // below it and its values.
    void removeKey(std::u16string_view path);

    // Every key by its folded path; the keys below a key are those whose
    // folded path begins with the key's and a "\".
    const std::map<std::u16string, Key>& keys() const { return m_keys; }

private:
    std::map<std::u16string, Key> m_keys;
};

}  // namespace platform::registry
