// Waiting and the millisecond clock.
#pragma once

#include "platform/core/types.h"

constexpr DWORD INFINITE = 0xFFFFFFFF;

// Sleeps at least the given milliseconds; a signal does not cut it short.
void Sleep(DWORD milliseconds);
// Milliseconds since an arbitrary start, on a monotonic clock; wraps after
// 49.7 days like Windows' counter.
DWORD GetTickCount();
