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
// A writer is to lock the file (flock), read it through here, change the
// tree it gets and write the whole file to a temporary file beside it that
// it renames over the old one, so that readers never see half a file.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "platform/registry/registrytree.h"

namespace platform::registry {

constexpr std::size_t kMostBytes = 16u << 20;

// The host path: $QUILLORY_REGISTRY, else $XDG_CONFIG_HOME/quillory/
// registry.reg (an absolute XDG_CONFIG_HOME only), else the same under
// $HOME/.config (the user's home from the password file without HOME).
// Empty variables count as unset.
std::string registryFilePath();

// The keys of the file now; shared, never changed once answered. Safe to
// call from any thread.
std::shared_ptr<const Tree> currentTree();

}  // namespace platform::registry
