// A count of calls still to fail, set by a test control (platform/testing.h)
// and taken one at a time by the service it makes fail.
#pragma once

#include <atomic>

namespace platform {

class FailureCount {
public:
    void set(int count) { m_left.store(count > 0 ? count : 0); }
    // True when this call is one of those to fail.
    bool take() {
        int left = m_left.load();
        while (left > 0 && !m_left.compare_exchange_weak(left, left - 1)) {
        }
        return left > 0;
    }

private:
    std::atomic<int> m_left{0};
};

}  // namespace platform
