// Initialising COM on a thread. Nothing here needs it, but the calls are
// counted per thread as on Windows: the first CoInitialize of a thread
// answers S_OK, the others S_FALSE, and each success wants its
// CoUninitialize.
#pragma once

#include "platform/core/com.h"
#include "platform/core/types.h"

HRESULT CoInitialize(LPVOID reserved);
void CoUninitialize();
