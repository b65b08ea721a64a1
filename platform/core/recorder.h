// What a service was asked while a test records it (platform/testing.h):
// the service answers at once instead of acting, and the test reads the
// requests back in order.
#pragma once

#include <mutex>
#include <utility>
#include <vector>

namespace platform {

template <typename Request>
class Recorder {
public:
    // Turning it on or off forgets what was recorded.
    void record(bool on) {
        std::lock_guard<std::mutex> guard(m_lock);
        m_on = on;
        m_requests.clear();
    }
    // True, having kept the request, while on: the service then does not act.
    bool take(Request request) {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_on) m_requests.push_back(std::move(request));
        return m_on;
    }
    std::vector<Request> requests() {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_requests;
    }

private:
    std::mutex m_lock;
    bool m_on = false;
    std::vector<Request> m_requests;
};

}  // namespace platform
