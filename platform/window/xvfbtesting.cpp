// An X server of the test program's own (platform/testing.h), which the
// deliverables never link.
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/testing.h"

namespace {

pid_t server = -1;

}  // namespace

namespace platform::testing {

bool startXvfb() {
    if (server > 0) return true;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    pid_t child = fork();
    if (child < 0) {
        close(fds[0]);
        close(fds[1]);
        return false;
    }
    if (child == 0) {
        // A test that dies leaves no server behind.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        // The server writes its display number to this descriptor once it
        // listens: -displayfd picks a free number without a race.
        int write = dup(fds[1]);
        int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
        std::string fd = std::to_string(write);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24",
               "-nolisten", "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n') number.push_back(c);
    close(fds[0]);
    server = child;
    if (number.empty()) {
        stopXvfb();
        return false;
    }
    setenv("DISPLAY", (":" + number).c_str(), 1);
    return true;
}

void stopXvfb() {
    if (server <= 0) return;
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);
    server = -1;
}

}  // namespace platform::testing
