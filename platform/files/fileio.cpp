#include "platform/files/fileio.h"

#include <cerrno>
#include <cstring>
#include <mutex>
#include <unordered_map>

#include "platform/files/path.h"

namespace {

// The mode of each stream _fsopen opened. A stream is never told of its
// closing; a later stream at the same address replaces the entry.
std::mutex streamModesLock;
std::unordered_map<std::FILE*, bool>& streamModes() {
    static auto* modes = new std::unordered_map<std::FILE*, bool>;
    return *modes;
}

}  // namespace

std::FILE* _fsopen(const char* fileName, const char* mode, int shareFlag) {
    if (fileName == nullptr || mode == nullptr || shareFlag != _SH_DENYNO) {
        errno = EINVAL;
        return nullptr;
    }
    std::FILE* stream = std::fopen(platform::hostPath(fileName).c_str(), mode);
    if (stream != nullptr) {
        std::lock_guard<std::mutex> hold(streamModesLock);
        streamModes()[stream] = std::strchr(mode, 'b') != nullptr;
    }
    return stream;
}

bool platform::isBinaryStream(std::FILE* stream) {
    std::lock_guard<std::mutex> hold(streamModesLock);
    auto found = streamModes().find(stream);
    return found != streamModes().end() && found->second;
}
