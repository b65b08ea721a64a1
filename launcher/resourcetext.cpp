#include "launcher/resourcetext.h"

#include <algorithm>
#include <vector>

namespace {

// Room for the longest entry a string table can hold, and its terminator.
constexpr std::size_t kLongestString = 65535 + 1;

// The string as module holds it, whole; empty when module lacks it.
std::string stringOf(HINSTANCE module, UINT id) {
    std::vector<char> buffer(1024);
    for (;;) {
        const int copied = LoadStringA(module, id, buffer.data(), static_cast<int>(buffer.size()));
        if (copied <= 0) return {};
        // A text that filled the buffer may have been cut: try a larger one.
        if (static_cast<std::size_t>(copied) + 1 < buffer.size() ||
            buffer.size() >= kLongestString)
            return std::string(buffer.data(), static_cast<std::size_t>(copied));
        buffer.resize(std::min(buffer.size() * 2, kLongestString));
    }
}

}  // namespace

std::string loadString(HINSTANCE module, UINT id) {
    std::string text = stringOf(module, id);
    HINSTANCE program = GetModuleHandleA(nullptr);
    if (text.empty() && module != program) text = stringOf(program, id);
    return text;
}

std::string formatVersionLine(const std::string& pattern, const std::string& version) {
    std::string line;
    bool versionUsed = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (c == '%' && next == '%') {
            line += '%';
            ++i;
        } else if (c == '%' && next == 's' && !versionUsed) {
            line += version;
            versionUsed = true;
            ++i;
        } else {
            line += c;
        }
    }
    return line;
}
