#include "platform/core/time.h"

#include <cerrno>
#include <ctime>
#include <mutex>

#include "platform/core/timecontrols.h"

namespace {

struct Recorder {
    std::mutex lock;
    bool recording = false;
    std::vector<DWORD> asked;
};

Recorder& recorder() {
    static Recorder* instance = new Recorder;
    return *instance;
}

// True, having recorded the pause, while a test records them.
bool recorded(DWORD milliseconds) {
    Recorder& sleeps = recorder();
    std::lock_guard<std::mutex> guard(sleeps.lock);
    if (sleeps.recording) sleeps.asked.push_back(milliseconds);
    return sleeps.recording;
}

}  // namespace

namespace platform::testing {

void recordSleeps(bool on) {
    Recorder& sleeps = recorder();
    std::lock_guard<std::mutex> guard(sleeps.lock);
    sleeps.recording = on;
    sleeps.asked.clear();
}

std::vector<DWORD> recordedSleeps() {
    Recorder& sleeps = recorder();
    std::lock_guard<std::mutex> guard(sleeps.lock);
    return sleeps.asked;
}

}  // namespace platform::testing

void Sleep(DWORD milliseconds) {
    if (recorded(milliseconds)) return;
    timespec remaining{static_cast<time_t>(milliseconds / 1000),
                       static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
}

DWORD GetTickCount() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    auto milliseconds = static_cast<unsigned long long>(now.tv_sec) * 1000ULL +
                        static_cast<unsigned long long>(now.tv_nsec) / 1000000ULL;
    return static_cast<DWORD>(milliseconds);
}
