#include "platform/shell/spawn.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "platform/files/hostfile.h"

extern char** environ;

namespace platform {

namespace {

struct Report {
    int step;
    int error;
};

// Only async-signal-safe calls from here on in the children.
[[noreturn]] void reportAndExit(int fd, SpawnResult::Step step, int error) {
    Report report{step, error};
    ssize_t written = write(fd, &report, sizeof report);
    (void)written;
    _exit(127);
}

void closeOtherFiles(int keep, long mostFiles) {
    unsigned first = 3;
    unsigned kept = static_cast<unsigned>(keep);
    bool closed = (kept <= first || close_range(first, kept - 1, 0) == 0) &&
                  close_range(kept + 1, ~0u, 0) == 0;
    if (closed) return;
    for (long fd = 3; fd < mostFiles; ++fd) {
        if (fd != keep) close(static_cast<int>(fd));
    }
}

void resetSignals() {
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    for (int signal = 1; signal < NSIG; ++signal) sigaction(signal, &standard, nullptr);
}

}  // namespace

SpawnResult spawnDetached(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& directory) {
    SpawnResult result;
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    long mostFiles = sysconf(_SC_OPEN_MAX);
    if (mostFiles < 0) mostFiles = 1024;

    // The exec closes the write end; a report through it means the start
    // failed.
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        result.step = SpawnResult::kResources;
        result.error = errno;
        return result;
    }
    pid_t child = fork();
    if (child < 0) {
        result.step = SpawnResult::kResources;
        result.error = errno;
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        return result;
    }
    if (child == 0) {
        close(pipeEnds[0]);
        if (setsid() < 0) reportAndExit(pipeEnds[1], SpawnResult::kResources, errno);
        pid_t grandchild = fork();
        if (grandchild < 0) reportAndExit(pipeEnds[1], SpawnResult::kResources, errno);
        if (grandchild > 0) _exit(0);
        resetSignals();
        closeOtherFiles(pipeEnds[1], mostFiles);
        if (!directory.empty() && chdir(directory.c_str()) != 0) {
            reportAndExit(pipeEnds[1], SpawnResult::kDirectory, errno);
        }
        execve(program.c_str(), argv.data(), environ);
        reportAndExit(pipeEnds[1], SpawnResult::kProgram, errno);
    }
    close(pipeEnds[1]);
    // The child in between ends at once; with SIGCHLD ignored the system has
    // reaped it already (ECHILD).
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    Report report{};
    int error = 0;
    std::size_t count = readHostFile(pipeEnds[0], &report, sizeof report, error);
    close(pipeEnds[0]);
    if (count == sizeof report) {
        result.step = static_cast<SpawnResult::Step>(report.step);
        result.error = report.error;
    }
    return result;
}

}  // namespace platform
