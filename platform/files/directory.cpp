#include "platform/files/directory.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/core/hosterror.h"
#include "platform/text/cp1252.h"
#include "platform/text/utf8.h"

DWORD GetCurrentDirectoryA(DWORD length, LPSTR buffer) {
    char* host = getcwd(nullptr, 0);
    if (host == nullptr) {
        SetLastError(platform::errorOfErrno(errno));
        return 0;
    }
    std::size_t hostLength = std::strlen(host);
    std::string narrow;
    narrow.reserve(hostLength);
    const auto* bytes = reinterpret_cast<const unsigned char*>(host);
    for (std::size_t position = 0; position < hostLength;) {
        char32_t character = platform::utf8::decode(bytes, hostLength, position);
        int byte = platform::cp1252::fromWide(static_cast<wchar_t>(character));
        narrow += byte < 0 ? '?' : static_cast<char>(byte);
    }
    std::free(host);
    if (buffer == nullptr || narrow.size() >= length) return static_cast<DWORD>(narrow.size() + 1);
    std::memcpy(buffer, narrow.c_str(), narrow.size() + 1);
    return static_cast<DWORD>(narrow.size());
}
