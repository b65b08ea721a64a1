#include "platform/sound/dsound.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "testsupport/scratchfolder.h"
#include "testsupport/wholefile.h"
#include "platform/core/time.h"
#include "platform/testing.h"
#include "platform/window/messagebox.h"

namespace {

constexpr WAVEFORMATEX kCd = {WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
constexpr DWORD kSoundCaps = DSBCAPS_STATIC | DSBCAPS_LOCSOFTWARE | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME |
                             DSBCAPS_GLOBALFOCUS | DSBCAPS_GETCURRENTPOSITION2;

std::vector<std::int16_t> clip(std::size_t frames) {
    std::vector<std::int16_t> samples(frames * 2);
    std::uint32_t state = 12345;
    for (auto& sample : samples) {
        state = state * 1103515245u + 12345u;
        sample = static_cast<std::int16_t>(state >> 16);
    }
    return samples;
}

// The device of ALSA's file plugin that writes what is played, raw, into the
// file. ALSA reads the name as a string of its argument syntax, here in
// double quotes with a backslash before each quote and backslash, and then
// the plugin expands "%" in it (%r: the rate), so each "%" is doubled: a
// path with commas, equal signs or per cent signs names no other file.
std::string filePcm(const std::string& path) {
    std::string quoted;
    for (char c : path) {
        if (c == '"' || c == '\\') quoted += '\\';
        if (c == '%') quoted += '%';
        quoted += c;
    }
    return "file:FILE=\"" + quoted + "\",FORMAT=raw";
}

// Each test plays into a raw file of its own through ALSA's file plugin.
class DirectSoundTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("AUDIODEV", filePcm(m_file).c_str(), 1); }
    void TearDown() override { platform::testing::clearSoundDevices(); }

    // A device at 44100 Hz, 16 bits, stereo, as the system sets it up.
    IDirectSound* openDevice(LPCGUID guid = nullptr) {
        IDirectSound* device = nullptr;
        EXPECT_EQ(DirectSoundCreate(guid, &device, nullptr), DS_OK);
        if (device == nullptr) return nullptr;
        EXPECT_EQ(device->SetCooperativeLevel(GetDesktopWindow(), DSSCL_PRIORITY), DS_OK);
        DSBUFFERDESC desc{};
        desc.dwSize = 36;
        desc.dwFlags = DSBCAPS_PRIMARYBUFFER;
        IDirectSoundBuffer* primary = nullptr;
        EXPECT_EQ(device->CreateSoundBuffer(&desc, &primary, nullptr), DS_OK);
        EXPECT_EQ(primary->SetFormat(&kCd), DS_OK);
        primary->Release();
        return device;
    }

    static IDirectSoundBuffer* sound(IDirectSound* device, const std::vector<std::int16_t>& samples,
                                     DWORD caps = kSoundCaps) {
        WAVEFORMATEX format = kCd;
        DSBUFFERDESC desc{};
        desc.dwSize = sizeof desc;
        desc.dwFlags = caps;
        desc.dwBufferBytes = static_cast<DWORD>(samples.size() * 2);
        desc.lpwfxFormat = &format;
        IDirectSoundBuffer* buffer = nullptr;
        EXPECT_EQ(device->CreateSoundBuffer(&desc, &buffer, nullptr), DS_OK);
        void* region = nullptr;
        DWORD bytes = 0;
        EXPECT_EQ(buffer->Lock(0, 0, &region, &bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
        EXPECT_EQ(bytes, desc.dwBufferBytes);
        std::memcpy(region, samples.data(), bytes);
        EXPECT_EQ(buffer->Unlock(region, bytes, nullptr, 0), DS_OK);
        return buffer;
    }

    static DWORD status(IDirectSoundBuffer* buffer) {
        DWORD flags = 0xFFFF;
        EXPECT_EQ(buffer->GetStatus(&flags), DS_OK);
        return flags;
    }

    static void waitUntilStopped(IDirectSoundBuffer* buffer) {
        for (int i = 0; i < 1000 && (status(buffer) & DSBSTATUS_PLAYING) != 0; ++i) Sleep(5);
    }

    std::vector<std::int16_t> played(const std::string& path) {
        const std::string bytes = testsupport::readFile(path);
        std::vector<std::int16_t> samples(bytes.size() / 2);
        std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
        return samples;
    }
    std::vector<std::int16_t> played() { return played(m_file); }

    testsupport::ScratchFolder m_scratch{"quill-sound-"};
    const std::string m_dir = m_scratch.path().string();
    const std::string m_file = m_scratch.path("out.raw");
};

TEST_F(DirectSoundTest, PlaysOneSoundSampleExactForItsRealDurationAndStopsAtItsEnd) {
    IDirectSound* device = openDevice();
    std::vector<std::int16_t> samples = clip(4410);  // 100 ms
    IDirectSoundBuffer* buffer = sound(device, samples);
    auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(status(buffer), DSBSTATUS_PLAYING);
    waitUntilStopped(buffer);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    EXPECT_EQ(status(buffer), 0u);
    DWORD cursor = 1;
    DWORD write = 1;
    EXPECT_EQ(buffer->GetCurrentPosition(&cursor, &write), DS_OK);
    EXPECT_EQ(cursor, 0u);
    EXPECT_EQ(write, 0u);
    buffer->Release();
    EXPECT_EQ(device->Release(), 0u);
    EXPECT_EQ(played(), samples);
}

TEST_F(DirectSoundTest, AppliesVolumeAndPanInHundredthsOfADecibel) {
    IDirectSound* device = openDevice();
    std::vector<std::int16_t> samples = clip(441);
    IDirectSoundBuffer* buffer = sound(device, samples);
    EXPECT_EQ(buffer->SetVolume(-600), DS_OK);
    EXPECT_EQ(buffer->SetPan(DSBPAN_RIGHT), DS_OK);
    EXPECT_EQ(buffer->SetVolume(-10001), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetVolume(1), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetPan(10001), DSERR_INVALIDPARAM);
    LONG volume = 0;
    LONG pan = 0;
    EXPECT_EQ(buffer->GetVolume(&volume), DS_OK);
    EXPECT_EQ(buffer->GetPan(&pan), DS_OK);
    EXPECT_EQ(volume, -600);
    EXPECT_EQ(pan, 10000);
    buffer->Play(0, 0, 0);
    waitUntilStopped(buffer);
    buffer->Release();
    device->Release();
    std::vector<std::int16_t> expected(samples.size());
    for (std::size_t i = 1; i < samples.size(); i += 2) {
        expected[i] = static_cast<std::int16_t>((samples[i] * 32846) >> 16);  // -6 dB
    }
    EXPECT_EQ(played(), expected);
}

TEST_F(DirectSoundTest, ControlsNotAskedForAreUnavailable) {
    IDirectSound* device = openDevice();
    IDirectSoundBuffer* buffer = sound(device, clip(16), DSBCAPS_STATIC);
    LONG value = 0;
    EXPECT_EQ(buffer->SetVolume(0), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(buffer->GetPan(&value), DSERR_CONTROLUNAVAIL);
    buffer->Release();
    device->Release();
}

TEST_F(DirectSoundTest, CursorFollowsTheClockAndStaysWhereStopped) {
    IDirectSound* device = openDevice();
    IDirectSoundBuffer* buffer = sound(device, clip(5 * 44100));
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(status(buffer), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    Sleep(50);
    DWORD first = 0;
    EXPECT_EQ(buffer->GetCurrentPosition(&first, nullptr), DS_OK);
    EXPECT_EQ(first % 4, 0u);
    // At least 50 ms of frames (it wraps only after five seconds).
    EXPECT_GE(first, 50u * 176400u / 1000u);
    EXPECT_EQ(buffer->Stop(), DS_OK);
    DWORD stopped = 0;
    DWORD later = 0;
    buffer->GetCurrentPosition(&stopped, nullptr);
    Sleep(20);
    buffer->GetCurrentPosition(&later, nullptr);
    EXPECT_EQ(stopped, later);
    EXPECT_GE(stopped, first);
    EXPECT_EQ(status(buffer), 0u);
    EXPECT_EQ(buffer->SetCurrentPosition(5 * 176400), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetCurrentPosition(5 * 176400 - 3), DS_OK);
    buffer->GetCurrentPosition(&later, nullptr);
    EXPECT_EQ(later, 5 * 176400 - 4);
    buffer->Release();
    device->Release();
}

// Stopped and played again from its cursor (as the sound object continues a
// sound), a buffer is heard whole and once, alone or beside another: each
// buffer is a ramp in a channel of its own, so the silence around the pauses
// can be dropped and each buffer's frames read back in order.
TEST_F(DirectSoundTest, StopAndPlayFromTheCursorPlaysEveryFrameOnce) {
    struct Step {
        DWORD afterMs;
        std::size_t buffer;
        bool stop;  // or play from the cursor
    };
    const struct {
        const char* what;
        std::size_t buffers;
        std::vector<Step> steps;
    } cases[] = {
        {"one sound paused five times",
         1,
         {{70, 0, true}, {30, 0, false}, {70, 0, true}, {30, 0, false}, {70, 0, true},
          {30, 0, false}, {70, 0, true}, {30, 0, false}, {70, 0, true}, {30, 0, false}}},
        {"two sounds paused together",
         2,
         {{70, 0, true}, {0, 1, true}, {30, 0, false}, {0, 1, false}, {70, 0, true}, {0, 1, true},
          {30, 1, false}, {0, 0, false}}},
        {"two sounds, each paused while the other plays",
         2,
         {{60, 0, true}, {25, 1, true}, {25, 0, false}, {40, 1, false}, {50, 1, true}, {15, 0, true},
          {20, 1, false}, {30, 0, false}}},
    };
    constexpr std::size_t kFrames = 22050;
    for (const auto& c : cases) {
        std::string file = m_dir + "/" + std::to_string(&c - cases) + ".raw";
        setenv("AUDIODEV", filePcm(file).c_str(), 1);
        IDirectSound* device = openDevice();
        ASSERT_NE(device, nullptr) << c.what;
        std::vector<IDirectSoundBuffer*> buffers;
        for (std::size_t b = 0; b < c.buffers; ++b) {
            // Buffer 0 counts up on the left, buffer 1 down on the right.
            std::vector<std::int16_t> ramp(kFrames * 2);
            for (std::size_t i = 0; i < kFrames; ++i) {
                ramp[2 * i + b] = static_cast<std::int16_t>(b == 0 ? i + 1 : -static_cast<int>(i + 1));
            }
            buffers.push_back(sound(device, ramp));
        }
        for (IDirectSoundBuffer* buffer : buffers) ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK) << c.what;
        // On a busy machine a sleep may outlast a sound: one that has ended
        // (its cursor back at 0) is not started again.
        std::vector<bool> ended(c.buffers);
        std::vector<DWORD> resumedAt(c.buffers);
        for (const Step& step : c.steps) {
            Sleep(step.afterMs);
            IDirectSoundBuffer* buffer = buffers[step.buffer];
            if (ended[step.buffer]) continue;
            if (step.stop) {
                ended[step.buffer] = (status(buffer) & DSBSTATUS_PLAYING) == 0;
                if (!ended[step.buffer]) {
                    EXPECT_EQ(buffer->Stop(), DS_OK) << c.what;
                }
                continue;
            }
            // As the sound object continues: a cursor past the last frame is
            // refused, and the play from there ends at once.
            DWORD cursor = 0;
            ASSERT_EQ(buffer->GetCurrentPosition(&cursor, nullptr), DS_OK) << c.what;
            ASSERT_LE(cursor, kFrames * 4) << c.what;
            ended[step.buffer] = cursor == 0 && resumedAt[step.buffer] != 0;
            if (ended[step.buffer]) continue;
            resumedAt[step.buffer] = cursor;
            buffer->SetCurrentPosition(cursor);
            EXPECT_EQ(buffer->Play(0, 0, 0), DS_OK) << c.what;
        }
        for (IDirectSoundBuffer* buffer : buffers) {
            waitUntilStopped(buffer);
            buffer->Release();
        }
        device->Release();
        std::vector<std::int16_t> samples = played(file);
        for (std::size_t b = 0; b < c.buffers; ++b) {
            std::vector<std::int16_t> heard;
            for (std::size_t i = b; i < samples.size(); i += 2) {
                if (samples[i] != 0) heard.push_back(static_cast<std::int16_t>(b == 0 ? samples[i] : -samples[i]));
            }
            std::size_t inOrder = 0;
            while (inOrder < heard.size() && heard[inOrder] == static_cast<std::int16_t>(inOrder + 1)) ++inOrder;
            EXPECT_EQ(heard.size(), kFrames) << c.what << ", buffer " << b;
            EXPECT_EQ(inOrder, kFrames) << c.what << ", buffer " << b << ": the first frame out of order";
        }
    }
}

TEST_F(DirectSoundTest, ChecksDescriptionsFormatsAndTheCooperativeLevel) {
    IDirectSound* device = nullptr;
    ASSERT_EQ(DirectSoundCreate(nullptr, &device, nullptr), DS_OK);
    DSBUFFERDESC desc{};
    desc.dwSize = 36;
    desc.dwFlags = DSBCAPS_PRIMARYBUFFER;
    IDirectSoundBuffer* primary = nullptr;
    ASSERT_EQ(device->CreateSoundBuffer(&desc, &primary, nullptr), DS_OK);
    EXPECT_EQ(primary->SetFormat(&kCd), DSERR_PRIOLEVELNEEDED);
    WAVEFORMATEX format{};
    DWORD size = 0;
    EXPECT_EQ(primary->GetFormat(&format, sizeof format, &size), DS_OK);
    EXPECT_EQ(size, 18u);
    EXPECT_EQ(format.nSamplesPerSec, 22050u);  // DirectSound's default
    EXPECT_EQ(device->SetCooperativeLevel(GetDesktopWindow(), DSSCL_PRIORITY), DS_OK);
    WAVEFORMATEX surround{WAVE_FORMAT_PCM, 6, 44100, 529200, 12, 16, 0};
    EXPECT_EQ(primary->SetFormat(&surround), DSERR_BADFORMAT);
    EXPECT_EQ(primary->SetFormat(&kCd), DS_OK);
    EXPECT_EQ(primary->GetFormat(&format, sizeof format, nullptr), DS_OK);
    EXPECT_EQ(std::memcmp(&format, &kCd, sizeof format), 0);
    primary->Release();

    IDirectSoundBuffer* buffer = reinterpret_cast<IDirectSoundBuffer*>(1);
    desc.dwSize = 20;
    EXPECT_EQ(device->CreateSoundBuffer(&desc, &buffer, nullptr), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer, nullptr);
    desc = {sizeof desc, kSoundCaps, 4, 0, &surround, {}};
    EXPECT_EQ(device->CreateSoundBuffer(&desc, &buffer, nullptr), DSERR_BADFORMAT);
    desc.lpwfxFormat = &format;
    desc.dwBufferBytes = 0;
    EXPECT_EQ(device->CreateSoundBuffer(&desc, &buffer, nullptr), DSERR_INVALIDPARAM);
    device->Release();
}

TEST_F(DirectSoundTest, NoDeviceIsNoDriver) {
    setenv("AUDIODEV", "quill_no_such_pcm", 1);
    IDirectSound* device = reinterpret_cast<IDirectSound*>(1);
    EXPECT_EQ(DirectSoundCreate(nullptr, &device, nullptr), DSERR_NODRIVER);
    EXPECT_EQ(device, nullptr);
    GUID unknown = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    EXPECT_EQ(DirectSoundCreate(&unknown, &device, nullptr), DSERR_NODRIVER);
}

TEST_F(DirectSoundTest, LastReleaseLeavesNoThreadRunning) {
    auto threads = [] { return std::distance(std::filesystem::directory_iterator("/proc/self/task"), {}); };
    auto before = threads();
    IDirectSound* device = openDevice();
    IDirectSoundBuffer* buffer = sound(device, clip(44100));
    buffer->Play(0, 0, DSBPLAY_LOOPING);
    EXPECT_EQ(threads(), before + 1);
    device->Release();
    // The joined thread's task may linger a moment in /proc after the join.
    for (int i = 0; i < 200 && threads() != before; ++i) Sleep(5);
    EXPECT_EQ(threads(), before);
    // A buffer that outlives its device is still safe to call.
    EXPECT_EQ(buffer->Stop(), DS_OK);
    buffer->Release();
}

TEST_F(DirectSoundTest, CreateAnswersAGivenResultForTheNextCalls) {
    platform::testing::failNextSoundCreates(DSERR_ALLOCATED, 2);
    IDirectSound* device = nullptr;
    EXPECT_EQ(DirectSoundCreate(nullptr, &device, nullptr), DSERR_ALLOCATED);
    EXPECT_EQ(DirectSoundCreate(nullptr, &device, nullptr), DSERR_ALLOCATED);
    ASSERT_EQ(DirectSoundCreate(nullptr, &device, nullptr), DS_OK);
    device->Release();
}

TEST_F(DirectSoundTest, ALostBufferRefusesLockAndPlayUntilRestored) {
    IDirectSound* device = openDevice();
    IDirectSoundBuffer* buffer = sound(device, clip(64));
    platform::testing::loseNextSoundBuffer();
    EXPECT_EQ(buffer->Play(0, 0, 0), DSERR_BUFFERLOST);
    EXPECT_EQ(status(buffer), DSBSTATUS_BUFFERLOST);
    void* region = nullptr;
    DWORD bytes = 0;
    EXPECT_EQ(buffer->Lock(0, 0, &region, &bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DSERR_BUFFERLOST);
    EXPECT_EQ(buffer->Restore(), DS_OK);
    EXPECT_EQ(status(buffer), 0u);
    ASSERT_EQ(buffer->Lock(0, 0, &region, &bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
    EXPECT_EQ(std::vector<BYTE>(static_cast<BYTE*>(region), static_cast<BYTE*>(region) + bytes),
              std::vector<BYTE>(256, 0));
    buffer->Unlock(region, bytes, nullptr, 0);
    EXPECT_EQ(buffer->Play(0, 0, 0), DS_OK);
    buffer->Release();
    device->Release();
}

struct Listed {
    bool hasGuid;
    GUID guid;
    std::string description;
    std::string module;
};

BOOL CALLBACK collect(LPGUID guid, LPCSTR description, LPCSTR module, LPVOID context) {
    auto* list = static_cast<std::vector<Listed>*>(context);
    list->push_back({guid != nullptr, guid != nullptr ? *guid : GUID{}, description, module});
    return list->size() < 2;
}

TEST_F(DirectSoundTest, GivenDevicesAreListedAndOpenedByTheirGuid) {
    // Every character ALSA or its file plugin would read.
    std::string other = m_dir + "/other,FORMAT=wav %r \"\\'.raw";
    platform::testing::setSoundDevices(
        {{"", "Primary Sound Driver"}, {filePcm(other), "Speakers (USB Audio)"}, {"null", "Third"}});
    std::vector<Listed> list;
    ASSERT_EQ(DirectSoundEnumerateA(collect, &list), DS_OK);
    ASSERT_EQ(list.size(), 2u);  // the callback ended the list
    EXPECT_FALSE(list[0].hasGuid);
    EXPECT_TRUE(list[1].hasGuid);
    EXPECT_EQ(list[1].description, "Speakers (USB Audio)");
    std::vector<std::int16_t> samples = clip(100);
    IDirectSound* device = openDevice(&list[1].guid);
    IDirectSoundBuffer* buffer = sound(device, samples);
    buffer->Play(0, 0, 0);
    waitUntilStopped(buffer);
    buffer->Release();
    device->Release();
    EXPECT_EQ(played(other), samples);
    EXPECT_FALSE(std::filesystem::exists(m_file));
}

TEST_F(DirectSoundTest, AlsaDevicesAreListedDefaultFirstAndOpenByGuid) {
    std::vector<Listed> list;
    ASSERT_EQ(DirectSoundEnumerateA(
                  [](LPGUID guid, LPCSTR description, LPCSTR module, LPVOID context) -> BOOL {
                      static_cast<std::vector<Listed>*>(context)->push_back(
                          {guid != nullptr, guid != nullptr ? *guid : GUID{}, description, module});
                      return TRUE;
                  },
                  &list),
              DS_OK);
    ASSERT_FALSE(list.empty());
    EXPECT_FALSE(list[0].hasGuid);
    EXPECT_EQ(list[0].description, "Primary Sound Driver");
    for (const Listed& device : list) {
        if (device.module != "null") continue;
        ASSERT_TRUE(device.hasGuid);
        IDirectSound* opened = nullptr;
        EXPECT_EQ(DirectSoundCreate(&device.guid, &opened, nullptr), DS_OK);
        if (opened != nullptr) opened->Release();
        return;
    }
    GTEST_SKIP() << "ALSA lists no null device here";
}

}  // namespace
