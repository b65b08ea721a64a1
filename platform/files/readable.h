// Kernel objects that ReadFile can read: files now, pipes later. Each kind
// derives from ReadableObject and answers read in its own way; ReadFile
// only finds the object behind the handle and checks the arguments.
#pragma once

#include "platform/core/handle.h"

namespace platform {

class ReadableObject : public KernelObject {
public:
    // Reads up to size bytes into buffer and stores the count in *done.
    // A count below size means the end of the data (a file's end, a pipe
    // whose writers are gone), or, for a pipe, what was there. On failure
    // sets the last error and answers FALSE.
    virtual BOOL read(void* buffer, DWORD size, DWORD* done) = 0;
};

}  // namespace platform
