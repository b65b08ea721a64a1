#include "platform/core/time.h"

#include <cerrno>
#include <ctime>

#include "platform/core/recorder.h"
#include "platform/core/timecontrols.h"

namespace {

platform::Recorder<DWORD>& sleeps() {
    static auto* instance = new platform::Recorder<DWORD>;
    return *instance;
}

}  // namespace

namespace platform::testing {

void recordSleeps(bool on) { sleeps().record(on); }

std::vector<DWORD> recordedSleeps() { return sleeps().requests(); }

}  // namespace platform::testing

void Sleep(DWORD milliseconds) {
    if (sleeps().take(milliseconds)) return;
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
