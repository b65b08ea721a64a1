#include "platform/files/fileio.h"

#include <cerrno>

#include "platform/files/path.h"

std::FILE* _fsopen(const char* fileName, const char* mode, int shareFlag) {
    if (fileName == nullptr || mode == nullptr || shareFlag != _SH_DENYNO) {
        errno = EINVAL;
        return nullptr;
    }
    return std::fopen(platform::hostPath(fileName).c_str(), mode);
}
