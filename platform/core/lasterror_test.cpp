#include <thread>

#include <gtest/gtest.h>

#include "platform/win32.h"

TEST(LastError, IsKeptPerThread) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    DWORD seenByOther = 1;
    std::thread other([&] {
        seenByOther = GetLastError();
        SetLastError(ERROR_BAD_EXE_FORMAT);
    });
    other.join();
    EXPECT_EQ(seenByOther, ERROR_SUCCESS);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}
