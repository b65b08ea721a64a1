#include "platform/files/hostfile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

int openHostFile(const std::string& path, int flags, struct stat& status) {
    int descriptor = ::open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY, 0666);
    if (descriptor < 0) return -1;
    int blocking = ::fcntl(descriptor, F_GETFL);
    if (::fstat(descriptor, &status) != 0 || blocking < 0 ||
        ::fcntl(descriptor, F_SETFL, blocking & ~O_NONBLOCK) != 0) {
        int error = errno;
        ::close(descriptor);
        errno = error;
        return -1;
    }
    return descriptor;
}

bool isPipeOrSocket(const struct stat& status) {
    return S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode);
}

std::size_t readHostFile(int fd, void* buffer, std::size_t size, int& error, ReadUntil until,
                         off_t offset) {
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    error = 0;
    while (done < size) {
        ssize_t count = offset < 0 ? ::read(fd, bytes + done, size - done)
                                   : ::pread(fd, bytes + done, size - done,
                                             offset + static_cast<off_t>(done));
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) error = errno;
        if (count <= 0) break;
        done += static_cast<std::size_t>(count);
        if (until == ReadUntil::kData) break;
    }
    return done;
}

}  // namespace platform
