// Kernel objects that ReadFile can read: files and pipe ends (the processes
// service makes them; a write end refuses to be read). Each kind derives
// from ReadableObject and answers read in its own way; ReadFile only finds
// the object behind the handle and checks the arguments.
#pragma once

#include "platform/core/handle.h"

namespace platform {

class ReadableObject : public KernelObject {
public:
    // Reads up to size bytes into buffer and stores the count in *done.
    // A count below size means a file's end or, for a pipe, what was there;
    // a pipe whose writers are gone answers FALSE with ERROR_BROKEN_PIPE, as
    // on Windows. On failure sets the last error and answers FALSE.
    virtual BOOL read(void* buffer, DWORD size, DWORD* done) = 0;
};

}  // namespace platform
