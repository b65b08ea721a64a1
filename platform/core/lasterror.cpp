#include "platform/core/types.h"

namespace {
// Each thread has its own last error, as on Windows.
thread_local DWORD lastError = ERROR_SUCCESS;
}  // namespace

DWORD GetLastError() { return lastError; }

void SetLastError(DWORD code) { lastError = code; }
