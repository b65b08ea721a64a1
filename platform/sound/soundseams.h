// The sound service's side of its test controls (soundcontrols.h).
#pragma once

#include "platform/core/types.h"

namespace platform::sound {

// True, with the result to answer, while a run of DirectSoundCreate
// failures lasts.
bool takeCreateFailure(HRESULT* result);
// True once after loseNextSoundBuffer.
bool takeBufferLoss();

}  // namespace platform::sound
