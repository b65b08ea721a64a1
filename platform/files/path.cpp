#include "platform/files/path.h"

#include "platform/text/cp1252.h"

namespace platform {

std::string hostPath(const char* windowsPath) {
    if (windowsPath == nullptr) return {};
    std::string host = cp1252::toUtf8(windowsPath);
    for (char& c : host) {
        if (c == '\\') c = '/';
    }
    return host;
}

}  // namespace platform
