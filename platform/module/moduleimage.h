// Internal to the platform layer: the image behind a module handle.
#pragma once

#include "platform/module/peimage.h"
#include "platform/core/types.h"

namespace platform {

// The image of a loaded module, or the program's own image for a null
// handle; null with ERROR_INVALID_HANDLE when the handle names no module.
// The image stays valid until the module is freed.
const PeImage* moduleImage(HMODULE module);

}  // namespace platform
