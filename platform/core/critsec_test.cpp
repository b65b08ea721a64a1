#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win32.h"

namespace {

TEST(CriticalSection, SerialisesThreads) {
    CRITICAL_SECTION section;
    InitializeCriticalSection(&section);
    long counter = 0;  // deliberately not atomic: the section guards it
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 20000; ++i) {
                EnterCriticalSection(&section);
                long seen = counter;
                counter = seen + 1;
                LeaveCriticalSection(&section);
            }
        });
    }
    for (auto& thread : threads) thread.join();
    DeleteCriticalSection(&section);
    EXPECT_EQ(counter, 8 * 20000);
}

TEST(CriticalSection, IsRecursiveAndHeldUntilTheLastLeave) {
    CRITICAL_SECTION section;
    InitializeCriticalSection(&section);
    EnterCriticalSection(&section);
    EnterCriticalSection(&section);  // the owner may enter again
    std::atomic<bool> otherEntered{false};
    std::thread other([&] {
        EnterCriticalSection(&section);
        otherEntered = true;
        LeaveCriticalSection(&section);
    });
    LeaveCriticalSection(&section);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(otherEntered);  // still held once
    LeaveCriticalSection(&section);
    other.join();
    EXPECT_TRUE(otherEntered);
    DeleteCriticalSection(&section);
}

TEST(CriticalSection, CanBeInitialisedAgainAfterDelete) {
    CRITICAL_SECTION section;
    for (int round = 0; round < 3; ++round) {
        InitializeCriticalSection(&section);
        EnterCriticalSection(&section);
        LeaveCriticalSection(&section);
        DeleteCriticalSection(&section);
    }
}

}  // namespace
