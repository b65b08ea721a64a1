// The process service's test control. The count lives in process.cpp, which
// consults it on every wait; tests reach it through platform/testing.h.
#pragma once

namespace platform::testing {

// The next count calls of WaitForSingleObject answer WAIT_FAILED with
// ERROR_INVALID_HANDLE, as for a handle closed under the waiter; 0 ends a
// run early.
void failNextWaits(int count);

}  // namespace platform::testing
