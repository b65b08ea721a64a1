#include "platform/path.h"

#include "platform/text.h"

namespace platform {

std::string hostPath(const char* windowsPath) {
    if (windowsPath == nullptr || *windowsPath == '\0') return {};
    int wideLength = MultiByteToWideChar(CP_ACP, 0, windowsPath, -1, nullptr, 0);
    if (wideLength <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, windowsPath, -1, wide.data(), wideLength);
    int length = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string host(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, host.data(), length, nullptr, nullptr);
    host.resize(static_cast<std::size_t>(length) - 1);
    for (char& c : host) {
        if (c == '\\') c = '/';
    }
    return host;
}

}  // namespace platform
