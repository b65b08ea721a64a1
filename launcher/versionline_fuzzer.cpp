// Fuzz target: version-line patterns as a language library may hold them.
#include <cstddef>
#include <cstdint>
#include <string>

#include "launcher/resourcetext.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string pattern(reinterpret_cast<const char*>(data), size);
    const std::string line = formatVersionLine(pattern, "3.0");
    // The version replaces at most one "%s"; nothing else grows the text.
    if (line.size() > pattern.size() + 1) __builtin_trap();
    return 0;
}
