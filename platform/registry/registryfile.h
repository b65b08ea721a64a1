// Where the registry file is, and its keys as the file holds them now.
//
// Every call reads the file afresh, but parses it only when its bytes have
// changed, so a file that is not sound is reported once for as long as it
// stays the same. Reading follows the same road for a missing file (an
// empty registry, said nowhere), one that cannot be read, one that is no
// regular file (a folder, a device, a pipe: never opened for long, never
// waited on) and one larger than kMostBytes (each an empty registry,
// reported once on standard error).
//
// Changing it locks the file, reads it, changes the tree and writes the
// whole file anew beside it, renamed over the old one.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "platform/registry/registrytree.h"

namespace platform::registry {

// The largest file read, and so the largest written.
constexpr std::size_t kMostBytes = 16u << 20;

// The host path: $QUILLORY_REGISTRY, else $XDG_CONFIG_HOME/quillory/
// registry.reg (an absolute XDG_CONFIG_HOME only), else the same under
// $HOME/.config (the user's home from the password file without HOME).
// Empty variables count as unset.
std::string registryFilePath();

// The keys of the file now; shared, never changed once answered. Safe to
// call from any thread.
std::shared_ptr<const Tree> currentTree();

// Changes the file: under an exclusive lock on it (the file is made first,
// with its folder, when it is missing), reads it as it is now and lets
// change alter a copy of its tree. When change answers ERROR_SUCCESS and
// says it changed something, the tree is written to a temporary file in
// the same folder, with the old file's permissions, which is then renamed
// over the file. Answers change's result, else the failure: the file not
// sound or not readable (ERROR_REGISTRY_CORRUPT), the new file larger than
// kMostBytes (ERROR_NO_SYSTEM_RESOURCES), no home for it
// (ERROR_PATH_NOT_FOUND); a failed open of the file as platform::errorOfOpen
// answers it, a failed write as platform::errorOfWrite does (not writable:
// ERROR_ACCESS_DENIED, the disk full: ERROR_DISK_FULL, a fault the map does
// not know: ERROR_WRITE_FAULT). On failure the keys in the file stay as
// they were.
DWORD changeTree(const std::function<DWORD(Tree& tree, bool& changed)>& change);

}  // namespace platform::registry
