// Fuzz target of the .reg reader and writer.
//
// Whatever the bytes, reading ends, every key it made can be found again by
// its path, a key's parent exists, and what the writer makes of the tree
// reads back, sound, as the same tree.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/registry/regfile.h"

namespace {

using platform::registry::Key;
using platform::registry::Tree;

void require(bool condition) {
    if (!condition) std::abort();
}

void requireSame(const Tree& first, const Tree& second) {
    require(first.keys().size() == second.keys().size());
    for (const auto& [folded, key] : first.keys()) {
        const Key* other = second.findKey(folded);
        require(other != nullptr && other->path == key.path &&
                other->values.size() == key.values.size());
        for (std::size_t i = 0; i < key.values.size(); ++i) {
            require(key.values[i].name == other->values[i].name);
            require(key.values[i].type == other->values[i].type);
            require(key.values[i].data == other->values[i].data);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::registry::ReadResult result = platform::registry::readRegFile(data, size);
    require((result.unsoundLines == 0) == (result.firstUnsoundLine == 0));
    for (const auto& [folded, key] : result.tree.keys()) {
        require(result.tree.findKey(folded) == &key);
        std::size_t slash = key.path.rfind(u'\\');
        if (slash != std::u16string::npos) {
            require(result.tree.findKey(key.path.substr(0, slash)) != nullptr);
        }
        for (const auto& value : key.values) require(key.findValue(value.name) == &value);
    }
    std::string written = platform::registry::writeRegFile(result.tree);
    platform::registry::ReadResult again = platform::registry::readRegFile(
        reinterpret_cast<const BYTE*>(written.data()), written.size());
    require(again.unsoundLines == 0);
    requireSame(result.tree, again.tree);
    return 0;
}
