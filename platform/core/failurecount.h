// A count of calls still to fail, set by a test control (platform/testing.h)
// and taken one at a time by the service it makes fail.
#pragma once

#include <atomic>

namespace platform {

// Takes one from count unless none is left, as one step however many
// threads take at once. The count before: above 0 when one was taken.
inline int takeOne(std::atomic<int>& count) {
    int left = count.load();
    while (left > 0 && !count.compare_exchange_weak(left, left - 1)) {
    }
    return left;
}

class FailureCount {
public:
    void set(int count) { m_left.store(count > 0 ? count : 0); }
    // True when this call is one of those to fail.
    bool take() { return takeOne(m_left) > 0; }

private:
    std::atomic<int> m_left{0};
};

}  // namespace platform
