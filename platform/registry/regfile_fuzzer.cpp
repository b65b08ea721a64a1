// Fuzz target of the .reg reader.
//
// Whatever the bytes, reading ends, every key it made can be found again by
// its path in another case, and a key's parent exists.
#include <cstdint>
#include <cstdlib>

#include "platform/registry/regfile.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
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
    return 0;
}
