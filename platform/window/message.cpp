#include "platform/window/message.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <mutex>
#include <vector>

#include "platform/window/windowstate.h"

namespace platform::window {

namespace {

using Clock = std::chrono::steady_clock;

struct Timer {
    HWND window;
    UINT_PTR id;
    TIMERPROC callback;
    Clock::duration period;
    Clock::time_point due;
};

struct Queue {
    std::mutex lock;
    std::deque<MSG> posted;
    bool quit = false;
    int quitCode = 0;
    // Timers belong to the loop's thread and are not guarded.
    std::vector<Timer> timers;
    UINT_PTR nextId = 1;
    // Wakes a waiting loop when another thread posts.
    int wake[2] = {-1, -1};

    Queue() {
        if (pipe2(wake, O_NONBLOCK | O_CLOEXEC) != 0) wake[0] = wake[1] = -1;
    }
};

Queue& queue() {
    static Queue* instance = new Queue;
    return *instance;
}

DWORD now() {
    auto since = std::chrono::duration_cast<std::chrono::milliseconds>(
        Clock::now().time_since_epoch());
    return static_cast<DWORD>(since.count());
}

bool matches(const MSG& message, HWND window, UINT low, UINT high) {
    if (window != nullptr && message.hwnd != window) return false;
    if (low == 0 && high == 0) return true;
    return message.message >= low && message.message <= high;
}

void drainWake(Queue& q) {
    char buffer[64];
    if (q.wake[0] < 0) return;
    while (read(q.wake[0], buffer, sizeof buffer) > 0) {
    }
}

// Waits until the next timer is due, something is posted or the X server
// reports; without timers, as long as it takes.
void wait(Queue& q, HWND window) {
    int timeout = -1;
    Clock::time_point current = Clock::now();
    for (const Timer& timer : q.timers) {
        if (window != nullptr && timer.window != window) continue;
        auto left = std::chrono::ceil<std::chrono::milliseconds>(timer.due - current).count();
        int ms = static_cast<int>(std::clamp<long long>(left, 0, 1 << 30));
        timeout = timeout < 0 ? ms : std::min(timeout, ms);
    }
    pollfd waits[2];
    nfds_t count = 0;
    if (q.wake[0] >= 0) waits[count++] = {q.wake[0], POLLIN, 0};
    int screen = screenDescriptor();
    if (screen >= 0) waits[count++] = {screen, POLLIN, 0};
    poll(waits, count, timeout);
}

}  // namespace

void killTimersOf(HWND window) {
    auto& timers = queue().timers;
    timers.erase(std::remove_if(timers.begin(), timers.end(),
                                [window](const Timer& t) { return t.window == window; }),
                 timers.end());
}

void wakeQueue() {
    Queue& q = queue();
    if (q.wake[1] >= 0) {
        char byte = 1;
        [[maybe_unused]] ssize_t written = write(q.wake[1], &byte, 1);
    }
}

}  // namespace platform::window

using namespace platform::window;

BOOL GetMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax) {
    if (message == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    if (window != nullptr && find(window) == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return -1;
    }
    Queue& q = queue();
    for (;;) {
        processScreenEvents();
        drainWake(q);
        {
            std::lock_guard<std::mutex> guard(q.lock);
            auto posted = std::find_if(q.posted.begin(), q.posted.end(), [&](const MSG& m) {
                return matches(m, window, filterMin, filterMax);
            });
            if (posted != q.posted.end()) {
                *message = *posted;
                q.posted.erase(posted);
                return message->message == WM_QUIT ? 0 : 1;
            }
            if (q.quit) {
                q.quit = false;
                *message = {nullptr, WM_QUIT, static_cast<WPARAM>(q.quitCode), 0, now(), {0, 0}};
                return 0;
            }
        }
        HWND paint = windowToPaint();
        MSG candidate{paint, WM_PAINT, 0, 0, now(), {0, 0}};
        if (paint != nullptr && matches(candidate, window, filterMin, filterMax)) {
            *message = candidate;
            return 1;
        }
        Clock::time_point current = Clock::now();
        Timer* next = nullptr;
        for (Timer& timer : q.timers) {
            MSG tick{timer.window, WM_TIMER, 0, 0, 0, {0, 0}};
            if (timer.due > current || !matches(tick, window, filterMin, filterMax)) continue;
            if (next == nullptr || timer.due < next->due) next = &timer;
        }
        if (next != nullptr) {
            next->due = current + next->period;
            *message = {next->window, WM_TIMER, next->id,
                        reinterpret_cast<LPARAM>(next->callback), now(), {0, 0}};
            return 1;
        }
        wait(q, window);
    }
}

BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessageA(const MSG* message) {
    if (message == nullptr) return 0;
    if (message->message == WM_TIMER && message->lParam != 0) {
        auto callback = reinterpret_cast<TIMERPROC>(message->lParam);
        callback(message->hwnd, WM_TIMER, message->wParam, now());
        return 0;
    }
    WindowState* state = find(message->hwnd);
    if (state == nullptr) return 0;
    return state->proc(message->hwnd, message->message, message->wParam, message->lParam);
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Queue& q = queue();
    {
        std::lock_guard<std::mutex> guard(q.lock);
        q.posted.push_back({window, message, wParam, lParam, now(), {0, 0}});
    }
    wakeQueue();
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    Queue& q = queue();
    {
        std::lock_guard<std::mutex> guard(q.lock);
        q.quit = true;
        q.quitCode = exitCode;
    }
    wakeQueue();
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC callback) {
    if (window != nullptr && find(window) == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    Queue& q = queue();
    auto period = std::chrono::milliseconds(std::clamp<UINT>(elapse, 10, 0x7FFFFFFF));
    if (window == nullptr) {
        id = q.nextId++;
    }
    auto& timers = q.timers;
    timers.erase(std::remove_if(timers.begin(), timers.end(),
                                [&](const Timer& t) { return t.window == window && t.id == id; }),
                 timers.end());
    timers.push_back({window, id, callback, period, Clock::now() + period});
    return window == nullptr || id != 0 ? id : 1;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
    auto& timers = queue().timers;
    auto before = timers.size();
    timers.erase(std::remove_if(timers.begin(), timers.end(),
                                [&](const Timer& t) { return t.window == window && t.id == id; }),
                 timers.end());
    return timers.size() != before ? TRUE : FALSE;
}
