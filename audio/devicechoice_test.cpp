#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

#include "audio/directsound.h"

namespace {

// Allocations this thread may still make before the next one fails; -1: any.
thread_local int allocationsLeft = -1;

}  // namespace

// The program's allocator, so that a test can run memory out at will. All
// the single-object forms are replaced, as a sanitizer holds the blocks of
// one form freed by another for a fault.
void* operator new(std::size_t size) {
    if (allocationsLeft == 0) throw std::bad_alloc();
    if (allocationsLeft > 0) --allocationsLeft;
    if (void* block = std::malloc(size != 0 ? size : 1)) return block;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
// Kept out of line: inlined, GCC takes free on a block of operator new for
// a mismatch, not knowing that this operator new is malloc.
[[gnu::noinline]] void operator delete(void* block) noexcept { std::free(block); }
[[gnu::noinline]] void operator delete(void* block, std::size_t) noexcept { std::free(block); }
[[gnu::noinline]] void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}

namespace {

TEST(ChooseAudioDevice, ByBeginningEitherWayWithCase) {
    std::vector<AudioDeviceInfo> devices;
    GUID guid{};
    for (const char* description : {"Default", "Speakers (USB Audio)", "Speakers (HDMI)"}) {
        ++guid.Data1;
        enumAudioDeviceCallback(&guid, description, "module", &devices);
    }
    const std::pair<const char*, int> cases[] = {
        {"Speakers", 1}, {"Speakers (USB Audio) 2", 1}, {"Speakers (H", 2},
        {"speakers", -1}, {"Headphones", -1},           {"Def", 0},
    };
    for (const auto& [name, index] : cases) {
        EXPECT_EQ(chooseAudioDevice(name, devices), index) << name;
    }
    EXPECT_EQ(devices[2].m_pGuid->Data1, 3u);
}

// DirectSound calls the callback from C: running out of memory at any of
// its allocations ends the enumeration instead of throwing through it.
TEST(EnumAudioDeviceCallback, EndsTheEnumerationWhenMemoryRunsOut) {
    std::vector<AudioDeviceInfo> devices;
    GUID guid{};
    const std::string description(100, 'd');  // longer than a string holds in place
    BOOL more = FALSE;
    for (int allowed = 0; allowed < 10 && !more; ++allowed) {
        bool threw = false;
        allocationsLeft = allowed;
        try {
            more = enumAudioDeviceCallback(&guid, description.c_str(), "module", &devices);
        } catch (...) {
            threw = true;
        }
        allocationsLeft = -1;
        ASSERT_FALSE(threw) << allowed;
        EXPECT_EQ(devices.size(), more ? 1u : 0u) << allowed;
    }
    EXPECT_TRUE(more);
}

}  // namespace
