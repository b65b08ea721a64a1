#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <thread>

#include "platform/core/handletable.h"
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

namespace {

// An object whose going looks into its own table, as a block whose going
// frees others would.
struct LooksIntoItsTable {
    LooksIntoItsTable(platform::HandleTable<LooksIntoItsTable>& table, HANDLE handle)
        : m_table(table), m_handle(handle) {}
    ~LooksIntoItsTable() { m_table.find(m_handle); }
    platform::HandleTable<LooksIntoItsTable>& m_table;
    HANDLE m_handle;
};

}  // namespace

TEST(HandleTable, DestroysARefusedObjectOutsideItsLock) {
    // Kept when a call is stuck on the table's lock, which outlives the test.
    auto* table = new platform::HandleTable<LooksIntoItsTable>;
    HANDLE taken = table->add(std::make_shared<LooksIntoItsTable>(*table, nullptr));
    ASSERT_NE(taken, nullptr);
    auto refused = std::make_shared<std::promise<bool>>();
    std::future<bool> answer = refused->get_future();
    std::thread([table, taken, refused] {
        refused->set_value(
            table->addAt(taken, std::make_shared<LooksIntoItsTable>(*table, taken)));
    }).detach();
    // The bound only turns a call that waits for its own lock into a failure
    // instead of a hang.
    ASSERT_EQ(answer.wait_for(std::chrono::seconds(10)), std::future_status::ready)
        << "the refused object was destroyed under the table's lock";
    EXPECT_FALSE(answer.get());
    EXPECT_NE(table->remove(taken), nullptr);
    delete table;
}
