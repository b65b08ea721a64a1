// Starting a program of this machine detached from the caller.
//
// The program runs as the caller's grandchild: the child in between starts
// a session of its own, forks and ends at once, and is reaped before
// spawnDetached returns. The program is then init's to reap, so the caller
// neither waits for it nor leaves a zombie, and the caller's end does not
// touch it. It starts with the default handling of every signal, nothing
// blocked, and only standard input, output and error of the caller's files.
// spawnDetached returns once the program's exec has succeeded or failed.
#pragma once

#include <string>
#include <vector>

namespace platform {

struct SpawnResult {
    enum Step { kStarted, kResources, kDirectory, kProgram };
    Step step = kStarted;  // the step that failed, kStarted on success
    int error = 0;         // its errno
};

// program and directory are host paths; directory empty for the caller's
// current one; a relative program is found from directory. arguments[0] is
// the program's name for itself.
SpawnResult spawnDetached(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& directory);

}  // namespace platform
