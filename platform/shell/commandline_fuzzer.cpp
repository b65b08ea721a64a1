// Fuzz target of the command-line splitter: any text splits, and an
// argument never holds more than the text it came from.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/shell/commandline.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::size_t total = 0;
    for (const std::string& argument : platform::splitCommandLine(text)) total += argument.size();
    if (total > size) std::abort();
    return 0;
}
