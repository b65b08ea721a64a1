// Programs of the build machine that a test runs to their end, on Linux.
#pragma once

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <vector>

namespace testsupport {

// Runs a program of the build machine (found on PATH) with these arguments,
// the first its name, and waits for its end: in the folder given, or this
// one, with standard output and error into the file output, or this
// program's. No shell reads the arguments, so a path with blanks, quotes or
// a dollar sign reaches the program as it is. Answers the exit status, or
// -1 where the program did not start or did not exit.
inline int runProgram(const std::vector<std::string>& arguments, const std::string& folder = "",
                      const std::string& output = "") {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    if (!output.empty()) {
        posix_spawn_file_actions_addopen(&actions, 1, output.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
    }
    pid_t child = 0;
    const int failed = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) return -1;
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace testsupport
