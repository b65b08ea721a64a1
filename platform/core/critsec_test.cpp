#include <cstring>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win32.h"

namespace {

// Whether a thread other than the caller finds the section free; it leaves
// again what it entered.
bool freeForAnotherThread(CRITICAL_SECTION* section) {
    bool entered = false;
    std::thread other([&] {
        entered = TryEnterCriticalSection(section) != FALSE;
        if (entered) LeaveCriticalSection(section);
    });
    other.join();
    return entered;
}

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

TEST(CriticalSection, IsHeldUntilTheOwnerLeavesAsOftenAsItEntered) {
    // How often the owner enters, and whether it enters again by waiting or
    // by trying.
    const struct {
        int depth;
        bool tryAgain;
    } cases[] = {{1, false}, {2, false}, {3, false}, {3, true}};
    for (const auto& c : cases) {
        CRITICAL_SECTION section;
        InitializeCriticalSection(&section);
        EnterCriticalSection(&section);
        for (int more = 1; more < c.depth; ++more) {
            if (c.tryAgain) {
                EXPECT_TRUE(TryEnterCriticalSection(&section)) << c.depth;
            } else {
                EnterCriticalSection(&section);
            }
        }
        for (int held = c.depth; held > 0; --held) {
            EXPECT_FALSE(freeForAnotherThread(&section)) << c.depth << " entries, " << held << " held";
            LeaveCriticalSection(&section);
        }
        EXPECT_TRUE(freeForAnotherThread(&section)) << c.depth;
        DeleteCriticalSection(&section);
    }
}

// A section is a plain struct: storage that held anything before, even a
// deleted section, makes a free one.
TEST(CriticalSection, StartsFreeWhateverItsStorageHeld) {
    CRITICAL_SECTION section;
    const unsigned char fills[] = {0x00, 0xFF, 0xA5};
    for (unsigned char fill : fills) {
        std::memset(&section, fill, sizeof section);
        for (int round = 0; round < 2; ++round) {
            InitializeCriticalSection(&section);
            EXPECT_TRUE(freeForAnotherThread(&section)) << int{fill} << " round " << round;
            EnterCriticalSection(&section);
            EXPECT_FALSE(freeForAnotherThread(&section)) << int{fill} << " round " << round;
            LeaveCriticalSection(&section);
            DeleteCriticalSection(&section);
        }
    }
}

}  // namespace
