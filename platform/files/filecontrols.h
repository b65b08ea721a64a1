// The file service's test control. The count lives in file.cpp, which
// consults it on every read; tests reach it through platform/testing.h.
#pragma once

namespace platform::testing {

// The next count calls of ReadFile fail with ERROR_READ_FAULT and read
// nothing; 0 ends a run of failures early.
void failNextFileReads(int count);

}  // namespace platform::testing
