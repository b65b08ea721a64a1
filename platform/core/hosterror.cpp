#include "platform/core/hosterror.h"

#include <sys/stat.h>

#include <cerrno>

namespace platform {

DWORD errorOfErrno(int error) {
    switch (error) {
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
    case ELOOP: return ERROR_PATH_NOT_FOUND;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case ENOMEM:
    case EAGAIN:
    case E2BIG: return ERROR_NOT_ENOUGH_MEMORY;
    case ENOEXEC: return ERROR_BAD_EXE_FORMAT;
    case ETXTBSY: return ERROR_SHARING_VIOLATION;
    default: return ERROR_ACCESS_DENIED;
    }
}

DWORD errorOfErrno(int error, const std::string& path) {
    if (error != ENOENT) return errorOfErrno(error);
    std::string::size_type slash = path.rfind('/');
    struct stat folder;
    if (slash != std::string::npos && slash != 0 &&
        ::stat(path.substr(0, slash).c_str(), &folder) != 0) {
        return ERROR_PATH_NOT_FOUND;
    }
    return ERROR_FILE_NOT_FOUND;
}

DWORD errorOfOpen(int error, const std::string& path) {
    return error == EAGAIN ? ERROR_SHARING_VIOLATION : errorOfErrno(error, path);
}

}  // namespace platform
