// The sound service's side of its test controls (platform/testing.h).
#pragma once

#include <vector>

#include "platform/core/types.h"
#include "platform/testing.h"

namespace platform::sound {

// True, with the result to answer, while a run of DirectSoundCreate
// failures lasts.
bool takeCreateFailure(HRESULT* result);
// True once after loseNextSoundBuffer.
bool takeBufferLoss();
// True, with the list, while a device list is set.
bool testDevices(std::vector<platform::testing::SoundDevice>* devices);

}  // namespace platform::sound
