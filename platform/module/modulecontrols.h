// The module service's test control. The count lives in module.cpp, which
// consults it on every load; tests reach it through platform/testing.h.
#pragma once

namespace platform::testing {

// The next count calls of LoadLibraryA fail with ERROR_NOT_ENOUGH_MEMORY
// and load nothing; 0 ends a run of failures early.
void failNextLibraryLoads(int count);

}  // namespace platform::testing
