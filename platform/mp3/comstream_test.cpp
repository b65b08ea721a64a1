#include "platform/mp3/comstream.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/mp3/globalmemory.h"
#include "platform/testing.h"

namespace {

TEST(GlobalMemory, FixedAndMoveableBlocks) {
    HGLOBAL fixed = GlobalAlloc(GPTR, 10);
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(GlobalLock(fixed), fixed);
    EXPECT_EQ(GlobalSize(fixed), 10u);
    EXPECT_EQ(static_cast<BYTE*>(fixed)[9], 0);
    SetLastError(ERROR_INVALID_HANDLE);
    EXPECT_FALSE(GlobalUnlock(fixed));
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);

    HGLOBAL moveable = GlobalAlloc(GHND, 0);
    ASSERT_NE(moveable, nullptr);
    void* address = GlobalLock(moveable);
    ASSERT_NE(address, nullptr);
    EXPECT_NE(address, moveable);
    EXPECT_EQ(GlobalLock(moveable), address);
    EXPECT_TRUE(GlobalUnlock(moveable));
    EXPECT_FALSE(GlobalUnlock(moveable));
    EXPECT_FALSE(GlobalUnlock(moveable));
    EXPECT_EQ(GetLastError(), ERROR_NOT_LOCKED);
    EXPECT_EQ(GlobalSize(moveable), 0u);

    EXPECT_EQ(GlobalFree(fixed), nullptr);
    EXPECT_EQ(GlobalFree(moveable), nullptr);
    for (HGLOBAL stale : {fixed, moveable}) {
        EXPECT_EQ(GlobalLock(stale), nullptr);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
        EXPECT_EQ(GlobalFree(stale), stale);
    }
    EXPECT_EQ(GlobalFree(nullptr), nullptr);
    EXPECT_EQ(GlobalAlloc(0x0100, 4), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    platform::testing::failNextGlobalAllocs(1);
    EXPECT_EQ(GlobalAlloc(GPTR, 4), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
    HGLOBAL again = GlobalAlloc(GPTR, 4);
    EXPECT_NE(again, nullptr);
    GlobalFree(again);
}

struct Step {
    LONGLONG move;
    DWORD origin;
    HRESULT result;
    ULONGLONG position;  // after the seek
    ULONG read;          // bytes a read of 4 then gives
};

TEST(ComStream, ReadsAndSeeksOverItsBlock) {
    HGLOBAL memory = GlobalAlloc(GPTR, 10);
    ASSERT_NE(memory, nullptr);
    std::memcpy(memory, "0123456789", 10);
    IStream* stream = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(memory, FALSE, &stream), S_OK);
    const Step steps[] = {
        {0, STREAM_SEEK_SET, S_OK, 0, 4},
        {2, STREAM_SEEK_CUR, S_OK, 6, 4},
        {-3, STREAM_SEEK_END, S_OK, 7, 3},
        {-11, STREAM_SEEK_CUR, STG_E_INVALIDFUNCTION, 10, 0},
        {5, STREAM_SEEK_END, S_OK, 15, 0},
        {-10, STREAM_SEEK_END, S_OK, 0, 4},
        {0, 3, STG_E_INVALIDFUNCTION, 4, 4},
    };
    for (const Step& step : steps) {
        LARGE_INTEGER move;
        move.QuadPart = step.move;
        ULARGE_INTEGER position;
        position.QuadPart = 99;
        EXPECT_EQ(stream->Seek(move, step.origin, &position), step.result);
        if (SUCCEEDED(step.result)) {
            EXPECT_EQ(position.QuadPart, step.position);
        }
        char buffer[4] = {};
        ULONG done = 99;
        EXPECT_EQ(stream->Read(buffer, 4, &done), S_OK);
        EXPECT_EQ(done, step.read);
        move.QuadPart = 0;
        stream->Seek(move, STREAM_SEEK_CUR, &position);
        EXPECT_EQ(position.QuadPart, step.position + step.read);
    }
    IStream* other = nullptr;
    EXPECT_EQ(stream->QueryInterface(IID_ISequentialStream, reinterpret_cast<void**>(&other)),
              S_OK);
    EXPECT_EQ(other->Release(), 1u);
    EXPECT_EQ(stream->Release(), 0u);
    EXPECT_EQ(GlobalSize(memory), 10u);
    GlobalFree(memory);
}

TEST(ComStream, CreationFailsCleanly) {
    IStream* stream = reinterpret_cast<IStream*>(8);
    EXPECT_EQ(CreateStreamOnHGlobal(reinterpret_cast<HGLOBAL>(8), FALSE, &stream), E_INVALIDARG);
    EXPECT_EQ(stream, nullptr);
    platform::testing::failNextStreamCreations(1);
    HGLOBAL memory = GlobalAlloc(GPTR, 4);
    EXPECT_EQ(CreateStreamOnHGlobal(memory, TRUE, &stream), E_OUTOFMEMORY);
    EXPECT_EQ(stream, nullptr);
    EXPECT_EQ(GlobalFree(memory), nullptr);
    // A stream that owns its block frees it with the last reference.
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
    char byte;
    ULONG done = 1;
    EXPECT_EQ(stream->Read(&byte, 1, &done), S_OK);
    EXPECT_EQ(done, 0u);
    stream->Release();
}

}  // namespace
