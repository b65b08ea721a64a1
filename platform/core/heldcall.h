// What a test runs at one point of a service's work, set by a test control
// (platform/testing.h) and taken by the next call that gets there, as a
// slow disk or another thread would hold the call up at that point.
#pragma once

#include <functional>
#include <mutex>
#include <utility>

namespace platform {

class HeldCall {
public:
    void set(std::function<void()> call) {
        std::lock_guard<std::mutex> guard(m_lock);
        m_call = std::move(call);
    }
    // Runs what was set, once, outside the lock.
    void run() {
        std::function<void()> call;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            call = std::exchange(m_call, nullptr);
        }
        if (call) call();
    }

private:
    std::mutex m_lock;
    std::function<void()> m_call;
};

}  // namespace platform
