// DirectSound result codes as log lines.
#pragma once

#include "platform/win32.h"

// The DirectSound name of a result code ("DSERR_BUFFERLOST", "NO ERROR" for
// 0); null for a code it has no name for, success codes other than 0
// included.
const char* dsoundErrorName(HRESULT result);

// Logs "DSound Error [mark %4d]: " and the name, or the code as an unsigned
// number, at level 1; also for 0, which logs "NO ERROR".
void printDSoundError(HRESULT result, int mark);
