// The test controls of DirectSound: a busy or missing device and a lost
// buffer. Each lives beside the call it makes fail; tests reach them
// through platform/testing.h.
#pragma once

#include "platform/core/types.h"

namespace platform::testing {

// The next count calls of DirectSoundCreate answer result (a failure code)
// and open nothing; 0 ends a run early.
void failNextSoundCreates(HRESULT result, int count);

// The next Lock or Play of a secondary buffer answers DSERR_BUFFERLOST; the
// buffer then stays lost (Lock and Play refused, DSBSTATUS_BUFFERLOST set,
// not playing) until Restore, which leaves its contents silent.
void loseNextSoundBuffer();

}  // namespace platform::testing
