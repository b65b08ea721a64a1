#include "common/process.h"

#include <cstring>

#include "common/errors.h"
#include "common/textconv.h"

namespace {

constexpr DWORD kPipeSize = 25000;
constexpr DWORD kReadSize = 10000;
constexpr DWORD kPollMilliseconds = 100;

class PipeEnds {
public:
    PipeEnds() = default;
    PipeEnds(const PipeEnds&) = delete;
    PipeEnds& operator=(const PipeEnds&) = delete;
    // The read end first, then the write end.
    ~PipeEnds() {
        if (read != nullptr) CloseHandle(read);
        if (write != nullptr) CloseHandle(write);
    }
    HANDLE read = nullptr;
    HANDLE write = nullptr;
};

void drain(HANDLE pipe, std::string& output) {
    char buffer[kReadSize];
    while (readPipe(pipe, buffer, sizeof buffer) > 0) output += makeStringN(buffer, -1);
}

}  // namespace

DWORD readPipe(HANDLE pipe, char* buffer, DWORD size) {
    std::memset(buffer, 0, size);
    // One byte is kept for the NUL: a buffer without room beyond it takes nothing.
    if (size < 2) return 0;
    DWORD waiting = 0;
    if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &waiting, nullptr) || waiting == 0) return 0;
    DWORD done = 0;
    if (!ReadFile(pipe, buffer, size - 1, &done, nullptr)) return 0;
    return done;
}

bool runCommand(const char* program, const char* arguments, std::string& output,
                std::string& error) {
    SECURITY_ATTRIBUTES inherit{};
    inherit.nLength = sizeof inherit;
    inherit.bInheritHandle = TRUE;
    PipeEnds pipe;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION child{};
    bool started = CreatePipe(&pipe.read, &pipe.write, &inherit, kPipeSize) != FALSE;
    if (started) {
        startup.hStdOutput = pipe.write;
        startup.hStdError = pipe.write;
        // Sized from what it holds: no length of program or arguments is cut.
        std::string commandLine = "\"" + std::string(program) + "\" " + arguments;
        started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                 nullptr, &startup, &child) != FALSE;
    }
    if (!started) {
        error = failureText(program, GetLastError());
        MessageBoxA(nullptr, error.c_str(), "Error", MB_OK);
        return false;
    }
    for (;;) {
        DWORD waited = WaitForSingleObject(child.hProcess, kPollMilliseconds);
        if (waited == WAIT_ABANDONED) break;
        drain(pipe.read, output);
        // Ended, or a wait that can no longer tell: either way, done.
        if (waited != WAIT_TIMEOUT) break;
    }
    CloseHandle(pipe.read);
    pipe.read = nullptr;
    CloseHandle(pipe.write);
    pipe.write = nullptr;
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    return true;
}
