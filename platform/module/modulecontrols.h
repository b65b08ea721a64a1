// The module service's test controls. They live in module.cpp, which
// consults them on every load; tests reach them through platform/testing.h.
#pragma once

#include <functional>

namespace platform::testing {

// The next count calls of LoadLibraryA fail with ERROR_NOT_ENOUGH_MEMORY
// and load nothing; 0 ends a run of failures early.
void failNextLibraryLoads(int count);

// The next LoadLibraryA that reads a library's file calls whileReading just
// before it reads, as a slow disk would hold it up there.
void holdNextLibraryRead(std::function<void()> whileReading);

}  // namespace platform::testing
