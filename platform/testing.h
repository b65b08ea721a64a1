// Test controls of the platform layer. Only tests include this file.
//
// Each control makes a service answer as it would when the system runs out
// of something, so that the code above the layer can be tested on that road
// without exhausting the machine.
#pragma once

namespace platform::testing {

// The next count calls of LoadLibraryA fail with ERROR_NOT_ENOUGH_MEMORY
// and load nothing; 0 ends a run of failures early.
void failNextLibraryLoads(int count);

}  // namespace platform::testing
