#include "platform/files/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <new>
#include <string>

#include "platform/core/failurecount.h"
#include "platform/core/filedescriptor.h"
#include "platform/core/hosterror.h"
#include "platform/files/hostfile.h"
#include "platform/files/path.h"
#include "platform/files/readable.h"
#include "platform/files/filecontrols.h"

namespace {

platform::FailureCount failingReads;

class FileObject final : public platform::ReadableObject {
public:
    explicit FileObject(int descriptor) : m_descriptor(descriptor) {}

    int descriptor() const { return m_descriptor.get(); }

    BOOL read(void* buffer, DWORD size, DWORD* done) override {
        int error = 0;
        *done = static_cast<DWORD>(platform::readHostFile(m_descriptor.get(), buffer, size, error));
        if (error != 0) {
            SetLastError(error == EISDIR ? ERROR_ACCESS_DENIED : ERROR_READ_FAULT);
            return FALSE;
        }
        return TRUE;
    }

private:
    platform::FileDescriptor m_descriptor;
};

// 100-nanosecond intervals since 1601, as Windows counts file times.
FILETIME fileTime(const timespec& time) {
    constexpr LONGLONG kSecondsFrom1601To1970 = 11644473600LL;
    auto ticks = static_cast<ULONGLONG>((time.tv_sec + kSecondsFrom1601To1970) * 10000000LL +
                                        time.tv_nsec / 100);
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

}  // namespace

HANDLE CreateFileA(LPCSTR fileName, DWORD access, DWORD, LPSECURITY_ATTRIBUTES, DWORD creation,
                   DWORD flags, HANDLE) {
    if (fileName == nullptr || access != GENERIC_READ || creation != OPEN_EXISTING) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    std::string path = platform::hostPath(fileName);
    if (path.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    struct stat status;
    int descriptor = platform::openHostFile(path, O_RDONLY | O_CLOEXEC, status);
    if (descriptor < 0) {
        SetLastError(platform::errorOfOpen(errno, path));
        return INVALID_HANDLE_VALUE;
    }
    // Windows opens a folder only for its backup semantics.
    bool folder = S_ISDIR(status.st_mode) && (flags & FILE_FLAG_BACKUP_SEMANTICS) == 0;
    if (folder || platform::isPipeOrSocket(status)) {
        ::close(descriptor);
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    std::shared_ptr<FileObject> file(new (std::nothrow) FileObject(descriptor),
                                     std::default_delete<FileObject>());
    if (!file) {
        ::close(descriptor);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE handle = platform::registerHandle(std::move(file));
    return handle == nullptr ? INVALID_HANDLE_VALUE : handle;
}

DWORD GetFileSize(HANDLE handle, LPDWORD high) {
    std::shared_ptr<FileObject> file = platform::handleObjectAs<FileObject>(handle);
    if (!file) return INVALID_FILE_SIZE;
    struct stat status;
    if (::fstat(file->descriptor(), &status) != 0) {
        SetLastError(ERROR_READ_FAULT);
        return INVALID_FILE_SIZE;
    }
    auto size = static_cast<ULONGLONG>(status.st_size);
    if (high != nullptr) *high = static_cast<DWORD>(size >> 32);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(size);
}

BOOL GetFileInformationByHandle(HANDLE handle, LPBY_HANDLE_FILE_INFORMATION information) {
    std::shared_ptr<FileObject> file = platform::handleObjectAs<FileObject>(handle);
    if (!file) return FALSE;
    struct stat status;
    if (information == nullptr || ::fstat(file->descriptor(), &status) != 0) {
        SetLastError(information == nullptr ? ERROR_INVALID_PARAMETER : ERROR_READ_FAULT);
        return FALSE;
    }
    BY_HANDLE_FILE_INFORMATION found{};
    if (S_ISDIR(status.st_mode)) found.dwFileAttributes |= FILE_ATTRIBUTE_DIRECTORY;
    if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        found.dwFileAttributes |= FILE_ATTRIBUTE_READONLY;
    }
    if (found.dwFileAttributes == 0) found.dwFileAttributes = FILE_ATTRIBUTE_NORMAL;
    found.ftCreationTime = fileTime(status.st_ctim);
    found.ftLastAccessTime = fileTime(status.st_atim);
    found.ftLastWriteTime = fileTime(status.st_mtim);
    // A device number needs more than 32 bits only for a very high major or
    // minor number.
    auto device = static_cast<ULONGLONG>(status.st_dev);
    found.dwVolumeSerialNumber = static_cast<DWORD>(device ^ (device >> 32));
    auto size = static_cast<ULONGLONG>(status.st_size);
    found.nFileSizeHigh = static_cast<DWORD>(size >> 32);
    found.nFileSizeLow = static_cast<DWORD>(size);
    found.nNumberOfLinks = static_cast<DWORD>(status.st_nlink);
    auto index = static_cast<ULONGLONG>(status.st_ino);
    found.nFileIndexHigh = static_cast<DWORD>(index >> 32);
    found.nFileIndexLow = static_cast<DWORD>(index);
    *information = found;
    return TRUE;
}

BOOL ReadFile(HANDLE handle, LPVOID buffer, DWORD size, LPDWORD done, LPOVERLAPPED overlapped) {
    if (done == nullptr || overlapped != nullptr || (buffer == nullptr && size != 0)) {
        if (done != nullptr) *done = 0;
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *done = 0;
    std::shared_ptr<platform::ReadableObject> object =
        platform::handleObjectAs<platform::ReadableObject>(handle);
    if (!object) return FALSE;
    if (failingReads.take()) {
        SetLastError(ERROR_READ_FAULT);
        return FALSE;
    }
    return object->read(buffer, size, done);
}

namespace platform::testing {

void failNextFileReads(int count) { failingReads.set(count); }

}  // namespace platform::testing
