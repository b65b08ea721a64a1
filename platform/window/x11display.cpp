#include "platform/window/x11display.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/core/failurecount.h"
#include "platform/window/windowcontrols.h"

namespace platform::window {

namespace {

struct Connections {
    std::mutex lock;
    std::vector<Display*> ours;
    XIOErrorHandler previous = nullptr;
};

Connections& connections() {
    static auto* instance = new Connections;
    return *instance;
}

// Xlib calls the process's one I/O error handler for every connection, and
// after it the connection's exit handler, which marks ours lost and returns;
// Xlib then answers the call that failed and refuses the connection further
// work. Another's connection goes to the handler that was there before.
int onBrokenConnection(Display* display) {
    XIOErrorHandler previous = nullptr;
    {
        Connections& all = connections();
        std::lock_guard<std::mutex> guard(all.lock);
        if (std::find(all.ours.begin(), all.ours.end(), display) != all.ours.end()) return 0;
        previous = all.previous;
    }
    return previous != nullptr ? previous(display) : 0;
}

void markLost(Display*, void* lost) { static_cast<std::atomic<bool>*>(lost)->store(true); }

// Attempts still to refuse (platform/testing.h).
platform::FailureCount failingOpens;

}  // namespace

std::string displayName() {
    const char* name = std::getenv("DISPLAY");
    return name != nullptr ? name : "";
}

Display* openDisplay(int tries, std::atomic<bool>* lost) {
    if (displayName().empty()) return nullptr;
    static std::once_flag installed;
    std::call_once(installed, [] {
        XIOErrorHandler previous = XSetIOErrorHandler(onBrokenConnection);
        Connections& all = connections();
        std::lock_guard<std::mutex> guard(all.lock);
        all.previous = previous;
    });
    Display* display = nullptr;
    // A server that is starting, or busy with its connections, may refuse
    // one attempt and take the next.
    for (int attempt = 0; attempt < tries && display == nullptr; ++attempt) {
        if (attempt > 0) std::this_thread::sleep_for(std::chrono::milliseconds(200));
        display = failingOpens.take() ? nullptr : XOpenDisplay(nullptr);
    }
    if (display == nullptr) return nullptr;
    XSetIOErrorExitHandler(display, markLost, lost);
    Connections& all = connections();
    std::lock_guard<std::mutex> guard(all.lock);
    all.ours.push_back(display);
    return display;
}

void closeDisplay(Display* display) {
    // Still ours while it closes: closing a lost connection fails once more.
    XCloseDisplay(display);
    Connections& all = connections();
    std::lock_guard<std::mutex> guard(all.lock);
    // One entry only: another thread may have been given the same address.
    auto found = std::find(all.ours.begin(), all.ours.end(), display);
    if (found != all.ours.end()) all.ours.erase(found);
}

}  // namespace platform::window

namespace platform::testing {

void failNextDisplayOpens(int count) { window::failingOpens.set(count); }

}  // namespace platform::testing
