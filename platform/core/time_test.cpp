#include <chrono>
#include <vector>

#include <gtest/gtest.h>

#include "platform/testing.h"
#include "platform/win32.h"

namespace {

using Clock = std::chrono::steady_clock;

TEST(Sleep, PausesAtLeastTheTimeAsked) {
    const auto start = Clock::now();
    Sleep(30);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(30));
}

TEST(Sleep, RecordedPausesReturnAtOnce) {
    platform::testing::recordSleeps(true);
    const auto start = Clock::now();
    Sleep(60000);
    Sleep(500);
    Sleep(0);
    const auto elapsed = Clock::now() - start;
    EXPECT_EQ(platform::testing::recordedSleeps(), (std::vector<DWORD>{60000, 500, 0}));
    platform::testing::recordSleeps(false);
    EXPECT_TRUE(platform::testing::recordedSleeps().empty());
    // Had Sleep paused, the first call alone would have taken a minute.
    EXPECT_LT(elapsed, std::chrono::seconds(30));
}

}  // namespace
