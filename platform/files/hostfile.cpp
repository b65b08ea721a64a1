#include "platform/files/hostfile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

int openHostFile(const std::string& path, int flags, struct stat& status) {
    int descriptor = ::open(path.c_str(), flags | O_NONBLOCK, 0666);
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

}  // namespace platform
