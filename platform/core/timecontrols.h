// The test control of Sleep: code that pauses between tries (a busy sound
// device is asked ten times, half a second apart) is tested without the
// wait. time.cpp keeps it and consults it; tests reach it through
// platform/testing.h.
#pragma once

#include <vector>

#include "platform/core/types.h"

namespace platform::testing {

// While on, Sleep returns at once and records how long it was asked to
// sleep; turning it on or off forgets what was recorded.
void recordSleeps(bool on);
std::vector<DWORD> recordedSleeps();

}  // namespace platform::testing
