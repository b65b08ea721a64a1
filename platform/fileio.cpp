#include "platform/fileio.h"

#include <cerrno>
#include <string>

std::FILE* _fsopen(const char* fileName, const char* mode, int shareFlag) {
    if (fileName == nullptr || mode == nullptr || shareFlag != _SH_DENYNO) {
        errno = EINVAL;
        return nullptr;
    }
    std::string hostName(fileName);
    for (char& c : hostName) {
        if (c == '\\') c = '/';
    }
    return std::fopen(hostName.c_str(), mode);
}
