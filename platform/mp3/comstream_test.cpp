#include "platform/mp3/comstream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/mp3/globalmemory.h"
#include "platform/testing.h"

namespace {

TEST(GlobalMemory, HandsOutAndTakesBackOnlyItsOwnBlocks) {
    HGLOBAL fixed = GlobalAlloc(GPTR, 10);
    HGLOBAL moveable = GlobalAlloc(GHND, 0);
    ASSERT_NE(fixed, nullptr);
    ASSERT_NE(moveable, nullptr);
    EXPECT_EQ(GlobalLock(fixed), fixed);
    EXPECT_EQ(GlobalSize(fixed), 10u);
    void* address = GlobalLock(moveable);
    EXPECT_NE(address, nullptr);
    EXPECT_NE(address, moveable);
    EXPECT_FALSE(GlobalUnlock(moveable));
    EXPECT_FALSE(GlobalUnlock(moveable));
    EXPECT_EQ(GetLastError(), ERROR_NOT_LOCKED);
    EXPECT_EQ(GlobalFree(fixed), nullptr);
    EXPECT_EQ(GlobalFree(moveable), nullptr);
    for (HGLOBAL stale : {fixed, moveable}) {
        EXPECT_EQ(GlobalLock(stale), nullptr);
        EXPECT_EQ(GlobalFree(stale), stale);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    }
    platform::testing::failNextGlobalAllocs(1);
    EXPECT_EQ(GlobalAlloc(GPTR, 4), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
}

// A freed moveable handle never reaches a later block, however like the
// freed one it is: no stream is made on it and it frees nothing.
TEST(GlobalMemory, AFreedMoveableHandleStaysInvalid) {
    HGLOBAL freed = GlobalAlloc(GHND, 16);
    ASSERT_NE(freed, nullptr);
    ASSERT_EQ(GlobalFree(freed), nullptr);
    HGLOBAL later = GlobalAlloc(GHND, 16);
    ASSERT_NE(later, nullptr);
    EXPECT_NE(later, freed);
    EXPECT_EQ(GlobalLock(freed), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    IStream* stream = nullptr;
    EXPECT_EQ(CreateStreamOnHGlobal(freed, FALSE, &stream), E_INVALIDARG);
    EXPECT_EQ(GlobalFree(freed), freed);
    EXPECT_EQ(GlobalSize(later), 16u) << "the freed handle freed a later block";
    EXPECT_EQ(GlobalFree(later), nullptr);
}

TEST(ComStream, ReadsAndSeeksOverItsBlock) {
    HGLOBAL memory = GlobalAlloc(GPTR, 10);
    ASSERT_NE(memory, nullptr);
    std::memcpy(memory, "0123456789", 10);
    IStream* stream = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(memory, FALSE, &stream), S_OK);
    struct Step {
        LONGLONG move;
        DWORD origin;
        HRESULT result;
        ULONG read;  // what a read of 4 bytes then gives
        char first;
    };
    const Step steps[] = {
        {0, STREAM_SEEK_SET, S_OK, 4, '0'},  {2, STREAM_SEEK_CUR, S_OK, 4, '6'},
        {-3, STREAM_SEEK_END, S_OK, 3, '7'}, {-11, STREAM_SEEK_CUR, STG_E_INVALIDFUNCTION, 0, 0},
        {5, STREAM_SEEK_END, S_OK, 0, 0},    {-10, STREAM_SEEK_END, S_OK, 4, '0'},
        {0, 3, STG_E_INVALIDFUNCTION, 4, '4'},
    };
    for (const Step& step : steps) {
        LARGE_INTEGER move;
        move.QuadPart = step.move;
        EXPECT_EQ(stream->Seek(move, step.origin, nullptr), step.result);
        char buffer[4] = {};
        ULONG done = 99;
        EXPECT_EQ(stream->Read(buffer, 4, &done), S_OK);
        EXPECT_EQ(done, step.read);
        EXPECT_EQ(buffer[0], step.first);
    }
    EXPECT_EQ(stream->Release(), 0u);
    EXPECT_EQ(GlobalFree(memory), nullptr);

    platform::testing::failNextStreamCreations(1);
    EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), E_OUTOFMEMORY);
    EXPECT_EQ(stream, nullptr);
    EXPECT_EQ(CreateStreamOnHGlobal(memory, TRUE, &stream), E_INVALIDARG);
}

// A GlobalFree while a read copies lets the bytes go only once the copy is
// done; the reads after it find no block.
TEST(ComStream, AReadHoldsItsBlockAgainstAFreeMeanwhile) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, 64);
    ASSERT_NE(memory, nullptr);
    std::memset(GlobalLock(memory), 'a', 64);
    GlobalUnlock(memory);
    IStream* stream = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(memory, FALSE, &stream), S_OK);
    HGLOBAL later = nullptr;
    platform::testing::holdNextStreamRead([&] {
        EXPECT_EQ(GlobalFree(memory), nullptr);
        // The heap gives freed bytes to the next block of their size.
        later = GlobalAlloc(GMEM_MOVEABLE, 64);
        ASSERT_NE(later, nullptr);
        std::memset(GlobalLock(later), 'b', 64);
        GlobalUnlock(later);
    });
    char buffer[64] = {};
    ULONG done = 0;
    EXPECT_EQ(stream->Read(buffer, sizeof buffer, &done), S_OK);
    EXPECT_EQ(std::string(buffer, done), std::string(64, 'a'));
    EXPECT_EQ(stream->Read(buffer, sizeof buffer, &done), STG_E_INVALIDHANDLE);
    EXPECT_EQ(stream->Release(), 0u);
    EXPECT_EQ(GlobalFree(later), nullptr);
}

// A stream that owns its block frees it with the last Release, not before.
TEST(ComStream, OwnedBlockGoesWithTheLastRelease) {
    HGLOBAL memory = GlobalAlloc(GHND, 4);
    IStream* stream = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(memory, TRUE, &stream), S_OK);
    stream->AddRef();
    stream->Release();
    EXPECT_EQ(GlobalSize(memory), 4u);
    stream->Release();
    EXPECT_EQ(GlobalFree(memory), memory);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

}  // namespace
