#include <gtest/gtest.h>

#include "platform/win32.h"

TEST(Random, FollowsTheWindowsRuntimesSequence) {
    srand(1);
    const int seedOne[] = {41, 18467, 6334, 26500, 19169};
    for (int expected : seedOne) EXPECT_EQ(rand(), expected);
    srand(1);
    EXPECT_EQ(rand(), 41) << "the same seed, the same sequence";
    for (int i = 0; i < 1000; ++i) {
        int value = rand();
        ASSERT_TRUE(value >= 0 && value <= QUILL_RAND_MAX);
    }
}
