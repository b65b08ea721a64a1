// Open key handles: numbers, never pointers, so that a closed or forged
// handle is refused instead of followed; numbers are never reused. A handle
// holds its key's path and its access rights; the key itself lives in the
// file and is looked up afresh by every call.
#pragma once

#include <string>

#include "platform/registry/registry.h"

namespace platform::registry {

struct OpenKey {
    std::u16string path;
    REGSAM access = 0;  // specific rights only, generic ones mapped
};

// The key behind an open or predefined handle (every right on a predefined
// one); false for any other handle.
bool lookUpKey(HKEY key, OpenKey& open);
HKEY registerKey(OpenKey open);
bool closeKey(HKEY key);

// The specific rights that access asks for.
REGSAM specificRights(REGSAM access);

}  // namespace platform::registry
