// What a test runs at one point of a service's work, set by a test control
// (platform/testing.h) and taken by the next call that gets there, as a
// slow disk or another thread would hold the call up at that point.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <utility>

namespace platform {

class HeldCall {
public:
    void set(std::function<void()> call) {
        std::lock_guard<std::mutex> guard(m_lock);
        m_call = std::move(call);
        m_set.store(m_call != nullptr);
    }
    // Runs what was set, once, outside the lock; a call that finds nothing
    // set takes no lock.
    void run() {
        if (!m_set.load()) return;
        std::function<void()> call;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            call = std::exchange(m_call, nullptr);
            m_set.store(false);
        }
        if (call) call();
    }

private:
    std::mutex m_lock;
    std::function<void()> m_call;
    std::atomic<bool> m_set{false};
};

}  // namespace platform
