// A host file descriptor closed with its owner. Internal to the layer.
#pragma once

#include <unistd.h>

namespace platform {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (m_fd >= 0) close(m_fd);
    }
    int get() const { return m_fd; }

private:
    int m_fd;
};

}  // namespace platform
