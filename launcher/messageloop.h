// The launcher's message loop.
#pragma once

#include "platform/win32.h"

// Dispatches the messages for window (null: all of them) until WM_QUIT and
// answers its exit code; -1 when GetMessageA fails, which would otherwise
// repeat for ever.
int runMessageLoop(HWND window);
