// Opening and reading host files for the layer's services (_fsopen,
// CreateFileA, LoadLibraryA, the registry, pipes), which open what Windows
// opens by a path and nothing else. Internal to the layer.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <string>

namespace platform {

// open(2) of a host path that never waits: a named pipe would wait for its
// other end for ever, and a file another holds a lease on (a file share's
// oplock) until the lease is let go; such an open fails with EAGAIN at once.
// Nor does a terminal become the controlling one. The descriptor answered
// blocks again, and status tells what was opened; -1 with errno otherwise.
int openHostFile(const std::string& path, int flags, struct stat& status);

// Windows opens neither a named pipe nor a socket by such a path.
bool isPipeOrSocket(const struct stat& status);

// How far readHostFile reads.
enum class ReadUntil {
    kEnd,   // size bytes unless the data ends first, as a file gives them
    kData,  // what one read finds, as a pipe gives what is there
};

// Reads up to size bytes into buffer from the descriptor's position, or from
// offset when it is not negative (the position then stays); a signal never
// cuts it short. Answers the count read; error is the errno that stopped it,
// 0 when none did.
std::size_t readHostFile(int fd, void* buffer, std::size_t size, int& error,
                         ReadUntil until = ReadUntil::kEnd, off_t offset = -1);

}  // namespace platform
