#include "platform/files/fileio.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <new>
#include <unordered_set>

#include "platform/core/failurecount.h"
#include "platform/files/filecontrols.h"
#include "platform/files/hostfile.h"
#include "platform/files/path.h"

namespace {

// The binary streams _fsopen opened and that are not closed yet. The C
// library hands a closed stream's address to the next stream it opens,
// which is text unless _fsopen says otherwise.
std::mutex binaryStreamsLock;
std::unordered_set<std::FILE*>& binaryStreams() {
    static auto* streams = new std::unordered_set<std::FILE*>;
    return *streams;
}

platform::FailureCount failingRecords;

// A binary stream reads and writes its descriptor itself, so that its
// closing is told to the layer, which forgets it then.
struct BinaryFile {
    int descriptor;
    std::FILE* stream = nullptr;
};

ssize_t readBinary(void* cookie, char* buffer, std::size_t size) {
    int error = 0;
    std::size_t count = platform::readHostFile(static_cast<BinaryFile*>(cookie)->descriptor,
                                               buffer, size, error, platform::ReadUntil::kData);
    if (error == 0) return static_cast<ssize_t>(count);
    errno = error;
    return -1;
}

ssize_t writeBinary(void* cookie, const char* buffer, std::size_t size) {
    int descriptor = static_cast<BinaryFile*>(cookie)->descriptor;
    std::size_t total = 0;
    while (total < size) {
        ssize_t count = ::write(descriptor, buffer + total, size - total);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return total > 0 ? static_cast<ssize_t>(total) : -1;
        total += static_cast<std::size_t>(count);
    }
    return static_cast<ssize_t>(total);
}

int seekBinary(void* cookie, off64_t* offset, int whence) {
    off_t reached = ::lseek(static_cast<BinaryFile*>(cookie)->descriptor, *offset, whence);
    if (reached < 0) return -1;
    *offset = reached;
    return 0;
}

int closeBinary(void* cookie) {
    auto* file = static_cast<BinaryFile*>(cookie);
    {
        std::lock_guard<std::mutex> hold(binaryStreamsLock);
        binaryStreams().erase(file->stream);
    }
    int result = ::close(file->descriptor);
    delete file;
    return result;
}

std::FILE* binaryStream(int descriptor, const char* mode) {
    auto* file = new (std::nothrow) BinaryFile{descriptor};
    if (file == nullptr) {
        errno = ENOMEM;
        return nullptr;
    }
    std::FILE* stream =
        fopencookie(file, mode, {readBinary, writeBinary, seekBinary, closeBinary});
    if (stream == nullptr) {
        delete file;
        return nullptr;
    }
    file->stream = stream;
    try {
        if (failingRecords.take()) throw std::bad_alloc();
        std::lock_guard<std::mutex> hold(binaryStreamsLock);
        binaryStreams().insert(stream);
    } catch (const std::bad_alloc&) {
        // The stream goes without its descriptor, which the caller still
        // holds and closes.
        file->descriptor = -1;
        std::fclose(stream);
        errno = ENOMEM;
        return nullptr;
    }
    return stream;
}

// The open flags and the C library's mode for a mode of fopen; false for a
// mode that is none.
bool openFlags(const char* mode, int& flags, const char*& streamMode) {
    bool update = std::strchr(mode, '+') != nullptr;
    switch (mode[0]) {
        case 'r':
            flags = update ? O_RDWR : O_RDONLY;
            streamMode = update ? "r+" : "r";
            return true;
        case 'w':
            flags = (update ? O_RDWR : O_WRONLY) | O_CREAT | O_TRUNC;
            if (std::strchr(mode, 'x') != nullptr) flags |= O_EXCL;
            streamMode = update ? "w+" : "w";
            return true;
        case 'a':
            flags = (update ? O_RDWR : O_WRONLY) | O_CREAT | O_APPEND;
            streamMode = update ? "a+" : "a";
            return true;
        default: return false;
    }
}

// Windows opens neither a directory nor a pipe or socket by such a path.
int openFile(const std::string& path, int flags) {
    struct stat status;
    int descriptor = platform::openHostFile(path, flags, status);
    if (descriptor < 0) {
        // A socket, a pipe opened for writing with no reader, a folder
        // opened for writing.
        if (errno == ENXIO || errno == EISDIR) errno = EACCES;
        return -1;
    }
    if (S_ISDIR(status.st_mode) || platform::isPipeOrSocket(status)) {
        ::close(descriptor);
        errno = EACCES;
        return -1;
    }
    return descriptor;
}

}  // namespace

std::FILE* _fsopen(const char* fileName, const char* mode, int shareFlag) {
    int flags = 0;
    const char* streamMode = nullptr;
    if (fileName == nullptr || mode == nullptr || shareFlag != _SH_DENYNO ||
        !openFlags(mode, flags, streamMode)) {
        errno = EINVAL;
        return nullptr;
    }
    int descriptor = openFile(platform::hostPath(fileName), flags);
    if (descriptor < 0) return nullptr;
    std::FILE* stream = std::strchr(mode, 'b') != nullptr ? binaryStream(descriptor, streamMode)
                                                           : fdopen(descriptor, streamMode);
    if (stream == nullptr) {
        int error = errno;
        ::close(descriptor);
        errno = error;
    }
    return stream;
}

bool platform::isBinaryStream(std::FILE* stream) {
    std::lock_guard<std::mutex> hold(binaryStreamsLock);
    return binaryStreams().count(stream) != 0;
}

void platform::testing::failNextBinaryStreamRecords(int count) { failingRecords.set(count); }
