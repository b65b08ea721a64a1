// Opening a host file for the file services (_fsopen, CreateFileA), which
// open what Windows opens by a path and nothing else. Internal to the layer.
#pragma once

#include <sys/stat.h>

#include <string>

namespace platform {

// open(2) of a host path that never waits: a named pipe would wait for its
// other end for ever. The descriptor answered blocks again, and status
// tells what was opened; -1 with errno otherwise.
int openHostFile(const std::string& path, int flags, struct stat& status);

// Windows opens neither a named pipe nor a socket by such a path.
bool isPipeOrSocket(const struct stat& status);

}  // namespace platform
