// What test programs need of the operating system beyond the C++ library,
// for Linux and for Windows alike: environment variables, the process id,
// and the line end a text-mode stream writes; on Linux also programs of the
// build machine run to their end.
#pragma once

#include <cstdlib>
#include <string>

#ifdef _WIN32
#include <process.h>
#else
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fcntl.h>
#include <vector>
#endif

namespace testsupport {

inline void setEnv(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value);
#else
    setenv(name, value, 1);
#endif
}

inline void unsetEnv(const char* name) {
#ifdef _WIN32
    _putenv_s(name, "");  // an empty value removes the variable
#else
    unsetenv(name);
#endif
}

#ifndef _WIN32
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
#endif

inline int processId() {
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<int>(getpid());
#endif
}

// The text as a stream opened in text mode writes it: on Windows the C
// runtime writes "\r\n" for each "\n".
inline std::string textModeBytes(std::string text) {
#ifdef _WIN32
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2)) {
        text.insert(at, 1, '\r');
    }
#endif
    return text;
}

}  // namespace testsupport
