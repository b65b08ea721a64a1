#include "platform/core/hosterror.h"

#include <sys/stat.h>

#include <cerrno>

namespace platform {

namespace {

// The one map; what it has no code of its own for answers otherwise.
DWORD mapErrno(int error, DWORD otherwise) {
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
    case ENOSPC:
    case EDQUOT: return ERROR_DISK_FULL;
    case EACCES:
    case EPERM:
    case EROFS: return ERROR_ACCESS_DENIED;
    default: return otherwise;
    }
}

}  // namespace

DWORD errorOfErrno(int error) { return mapErrno(error, ERROR_ACCESS_DENIED); }

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

DWORD errorOfWrite(int error) { return mapErrno(error, ERROR_WRITE_FAULT); }

}  // namespace platform
