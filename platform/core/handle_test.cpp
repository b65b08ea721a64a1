#include <gtest/gtest.h>

#include <memory>

#include "platform/win32.h"

namespace {

struct Counted : platform::KernelObject {
    explicit Counted(int& alive) : m_alive(alive) { ++m_alive; }
    ~Counted() override { --m_alive; }
    int& m_alive;
};
struct Other : platform::KernelObject {};

}  // namespace

TEST(Handles, CloseOnceAndOnlyWhatWasHandedOut) {
    int alive = 0;
    HANDLE handle = platform::registerHandle(std::make_shared<Counted>(alive));
    ASSERT_NE(handle, nullptr);
    EXPECT_NE(platform::handleObjectAs<Counted>(handle), nullptr);
    EXPECT_EQ(platform::handleObjectAs<Other>(handle), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    {
        // A call still using the object keeps it alive past CloseHandle.
        auto inUse = platform::handleObjectAs<Counted>(handle);
        EXPECT_TRUE(CloseHandle(handle));
        EXPECT_EQ(alive, 1);
    }
    EXPECT_EQ(alive, 0);
    EXPECT_FALSE(CloseHandle(handle));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(CloseHandle(INVALID_HANDLE_VALUE));
    EXPECT_FALSE(CloseHandle(nullptr));
}
