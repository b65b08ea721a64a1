#include "platform/process/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/failurecount.h"
#include "platform/core/filedescriptor.h"
#include "platform/core/hosterror.h"
#include "platform/core/time.h"
#include "platform/files/hostfile.h"
#include "platform/files/path.h"
#include "platform/files/readable.h"
#include "platform/shell/commandline.h"
#include "platform/process/processcontrols.h"

extern char** environ;

namespace {

using platform::FileDescriptor;

platform::FailureCount failingWaits;

class PipeEnd : public platform::ReadableObject {
public:
    PipeEnd(int fd, bool readEnd) : m_fd(fd), m_readEnd(readEnd) {}

    BOOL read(void* buffer, DWORD size, DWORD* done) override {
        if (!m_readEnd) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        if (size == 0) return TRUE;
        int error = 0;
        std::size_t got =
            platform::readHostFile(m_fd.get(), buffer, size, error, platform::ReadUntil::kData);
        if (error != 0) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        if (got == 0) {
            SetLastError(ERROR_BROKEN_PIPE);
            return FALSE;
        }
        *done = static_cast<DWORD>(got);
        return TRUE;
    }

    int fd() const { return m_fd.get(); }
    bool readEnd() const { return m_readEnd; }

private:
    FileDescriptor m_fd;
    bool m_readEnd;
};

// A started program, until it is reaped.
class Process : public platform::KernelObject {
public:
    explicit Process(pid_t pid)
        : m_pid(pid), m_watch(static_cast<int>(syscall(SYS_pidfd_open, pid, 0))) {}

    ~Process() override {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_reaped || reap(WNOHANG)) return;
        // Still running: whoever ends last must not leave a zombie.
        pid_t pid = m_pid;
        std::thread([pid] {
            while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    }

    DWORD wait(DWORD milliseconds) {
        using Clock = std::chrono::steady_clock;
        const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
        for (;;) {
            {
                std::lock_guard<std::mutex> guard(m_lock);
                if (m_reaped || reap(WNOHANG)) return WAIT_OBJECT_0;
            }
            int left = 0;
            if (milliseconds == INFINITE) {
                left = -1;
            } else {
                auto rest =
                    std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
                if (rest.count() <= 0) return WAIT_TIMEOUT;
                left = static_cast<int>(rest.count());
            }
            if (m_watch.get() >= 0) {
                pollfd exit{m_watch.get(), POLLIN, 0};
                poll(&exit, 1, left);
            } else {
                // No process descriptor (an old kernel): look again shortly.
                std::this_thread::sleep_for(
                    std::chrono::milliseconds(left < 0 || left > 5 ? 5 : left));
            }
        }
    }

    DWORD exitCode() {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_reaped) reap(WNOHANG);
        return m_reaped ? m_exitCode : STILL_ACTIVE;
    }

private:
    // True once the program has ended and been reaped.
    bool reap(int options) {
        int status = 0;
        pid_t done;
        do {
            done = waitpid(m_pid, &status, options);
        } while (done < 0 && errno == EINTR);
        if (done != m_pid) return false;
        m_reaped = true;
        m_exitCode = WIFEXITED(status) ? static_cast<DWORD>(WEXITSTATUS(status))
                                       : 128u + static_cast<DWORD>(WTERMSIG(status));
        return true;
    }

    std::mutex m_lock;
    pid_t m_pid;
    FileDescriptor m_watch;
    bool m_reaped = false;
    DWORD m_exitCode = 0;
};

// The thread of a process: waiting for it waits for the process.
class Thread : public platform::KernelObject {
public:
    explicit Thread(std::shared_ptr<Process> process) : m_process(std::move(process)) {}
    Process& process() { return *m_process; }

private:
    std::shared_ptr<Process> m_process;
};

std::shared_ptr<Process> processOf(HANDLE handle) {
    std::shared_ptr<platform::KernelObject> object = platform::handleObject(handle);
    if (auto process = std::dynamic_pointer_cast<Process>(object)) return process;
    if (auto thread = std::dynamic_pointer_cast<Thread>(object)) {
        return std::shared_ptr<Process>(thread, &thread->process());
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

BOOL fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

// The program's name as Windows reads it from a command line, and the rest.
void splitProgram(const std::string& commandLine, std::string& program, std::string& rest) {
    std::size_t start = 0;
    while (start < commandLine.size() && platform::isBlank(commandLine[start])) ++start;
    std::size_t end;
    if (start < commandLine.size() && commandLine[start] == '"') {
        end = commandLine.find('"', start + 1);
        if (end == std::string::npos) end = commandLine.size();
        program = commandLine.substr(start + 1, end - start - 1);
        if (end < commandLine.size()) ++end;
    } else {
        end = start;
        while (end < commandLine.size() && !platform::isBlank(commandLine[end])) ++end;
        program = commandLine.substr(start, end - start);
    }
    rest = commandLine.substr(end);
}

// The descriptor behind a standard handle of the child; -1 for none.
int descriptorOf(HANDLE handle, bool forReading) {
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return -1;
    auto end = std::dynamic_pointer_cast<PipeEnd>(platform::handleObject(handle));
    if (!end || end->readEnd() != forReading) return -1;
    return end->fd();
}

}  // namespace

BOOL CreatePipe(PHANDLE readEnd, PHANDLE writeEnd, LPSECURITY_ATTRIBUTES, DWORD) {
    if (readEnd == nullptr || writeEnd == nullptr) return fail(ERROR_INVALID_PARAMETER);
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return fail(platform::errorOfErrno(errno));
    auto reader = std::make_shared<PipeEnd>(ends[0], true);
    auto writer = std::make_shared<PipeEnd>(ends[1], false);
    HANDLE readHandle = platform::registerHandle(reader);
    if (readHandle == nullptr) return FALSE;
    HANDLE writeHandle = platform::registerHandle(writer);
    if (writeHandle == nullptr) {
        CloseHandle(readHandle);
        return FALSE;
    }
    *readEnd = readHandle;
    *writeEnd = writeHandle;
    return TRUE;
}

BOOL PeekNamedPipe(HANDLE pipe, LPVOID buffer, DWORD size, LPDWORD read, LPDWORD available,
                   LPDWORD leftOfMessage) {
    if (buffer != nullptr && size != 0) return fail(ERROR_INVALID_PARAMETER);
    auto end = std::dynamic_pointer_cast<PipeEnd>(platform::handleObject(pipe));
    if (!end || !end->readEnd()) return fail(ERROR_INVALID_HANDLE);
    int waiting = 0;
    if (ioctl(end->fd(), FIONREAD, &waiting) != 0) return fail(ERROR_INVALID_HANDLE);
    if (waiting == 0) {
        pollfd state{end->fd(), POLLIN, 0};
        if (poll(&state, 1, 0) == 1 && (state.revents & POLLHUP) != 0) {
            return fail(ERROR_BROKEN_PIPE);
        }
    }
    if (read != nullptr) *read = 0;
    if (available != nullptr) *available = static_cast<DWORD>(waiting);
    if (leftOfMessage != nullptr) *leftOfMessage = 0;
    return TRUE;
}

BOOL CreateProcessA(LPCSTR applicationName, LPSTR commandLine, LPSECURITY_ATTRIBUTES,
                    LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID environment, LPCSTR currentDirectory,
                    LPSTARTUPINFOA startupInfo, LPPROCESS_INFORMATION processInformation) {
    if ((applicationName == nullptr && commandLine == nullptr) || startupInfo == nullptr ||
        processInformation == nullptr || environment != nullptr) {
        return fail(ERROR_INVALID_PARAMETER);
    }
    std::string program;
    std::string rest;
    splitProgram(commandLine != nullptr ? commandLine : "", program, rest);
    if (applicationName != nullptr) program = applicationName;
    if (program.empty()) return fail(ERROR_FILE_NOT_FOUND);

    std::string directory;
    if (currentDirectory != nullptr) {
        directory = platform::hostPath(currentDirectory);
        struct stat status {};
        if (stat(directory.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
            return fail(ERROR_DIRECTORY);
        }
    }
    std::string host = platform::hostPath(program.c_str());
    std::vector<std::string> arguments = {host};
    for (const std::string& argument : platform::splitCommandLine(rest)) {
        arguments.push_back(platform::hostArgument(argument, directory));
    }
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    // The child starts with no signal blocked and every one at its default.
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    if ((startupInfo->dwFlags & STARTF_USESTDHANDLES) != 0) {
        int input = descriptorOf(startupInfo->hStdInput, true);
        int output = descriptorOf(startupInfo->hStdOutput, false);
        int error = descriptorOf(startupInfo->hStdError, false);
        if (input >= 0) {
            posix_spawn_file_actions_adddup2(&actions, input, 0);
        } else {
            posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        }
        if (output >= 0) posix_spawn_file_actions_adddup2(&actions, output, 1);
        if (error >= 0) posix_spawn_file_actions_adddup2(&actions, error, 2);
    }
    if (!directory.empty()) posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());

    pid_t pid = 0;
    bool search = host.find('/') == std::string::npos;
    int started =
        search ? posix_spawnp(&pid, host.c_str(), &actions, &attributes, argv.data(), environ)
               : posix_spawn(&pid, host.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (started != 0) return fail(platform::errorOfErrno(started));

    auto process = std::make_shared<Process>(pid);
    HANDLE processHandle = platform::registerHandle(process);
    HANDLE threadHandle = processHandle != nullptr
                              ? platform::registerHandle(std::make_shared<Thread>(process))
                              : nullptr;
    if (threadHandle == nullptr) {
        // The program runs; only its handles could not be had.
        if (processHandle != nullptr) CloseHandle(processHandle);
        return fail(ERROR_NOT_ENOUGH_MEMORY);
    }
    processInformation->hProcess = processHandle;
    processInformation->hThread = threadHandle;
    processInformation->dwProcessId = static_cast<DWORD>(pid);
    processInformation->dwThreadId = static_cast<DWORD>(pid);
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds) {
    std::shared_ptr<Process> process = processOf(object);
    if (!process) return WAIT_FAILED;
    if (failingWaits.take()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    return process->wait(milliseconds);
}

BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode) {
    if (exitCode == nullptr) return fail(ERROR_INVALID_PARAMETER);
    std::shared_ptr<Process> found = processOf(process);
    if (!found) return FALSE;
    *exitCode = found->exitCode();
    return TRUE;
}

namespace platform::testing {

void failNextWaits(int count) { failingWaits.set(count); }

}  // namespace platform::testing
