// The sound object on ALSA's null device: the shared device, create 4 and
// create 3, device choice, the buffer and playback control, and the roads
// where the platform refuses (a busy device, a lost buffer).
#include "audio/directsound.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <limits>
#include <thread>

#include "audio/audio_testenv.h"
#include "audio/directsound_inspector.h"
#include "audio/mp3decoder.h"
#include "testsupport/ansipath.h"
#include "testsupport/testdata.h"
#include "testsupport/wholefile.h"
#include "platform/testing.h"

namespace {

using testsupport::readFile;
using testsupport::testData;

using Clock = std::chrono::steady_clock;

// 16-bit stereo at 44100 Hz: a ramp, so that no byte is a chance match.
std::vector<BYTE> pcm(size_t bytes) {
    std::vector<BYTE> data(bytes);
    for (size_t i = 0; i < bytes; ++i) data[i] = static_cast<BYTE>(i % 251);
    return data;
}

WAVEFORMATEX format = decodedPcmFormat();

int createFromImage(CDirectSound& sound, const std::string& image) {
    return sound.create(reinterpret_cast<const BYTE*>(image.data()), nullptr,
                        static_cast<DWORD>(image.size()));
}

TEST(CDirectSound, CountsItsInstancesAndSharesOneDevice) {
    {
        TraceLog log;
        { CDirectSound sound(""); }
        EXPECT_EQ(log.count("mark 1000 : m_dwInstances =          1"), 1);
        EXPECT_EQ(log.count("mark 1110 : m_dwInstances =          1"), 1);
        EXPECT_EQ(log.count("mark 1120 : m_dwInstances =          0"), 1);
    }
    std::vector<BYTE> data = pcm(4000);
    auto first = std::make_unique<CDirectSound>("");
    ASSERT_EQ(first->create(data.data(), &format, 4000, nullptr), 1);
    IDirectSound* device = CDirectSoundInspector::device();
    {
        CDirectSound second("");
        ASSERT_EQ(second.create(data.data(), &format, 4000, nullptr), 1);
        EXPECT_EQ(CDirectSoundInspector::device(), device);
    }
    EXPECT_EQ(CDirectSoundInspector::device(), device);
    first.reset();
    EXPECT_EQ(CDirectSoundInspector::device(), nullptr);
    EXPECT_EQ(CDirectSoundInspector::primaryBuffer(), nullptr);
}

TEST(CDirectSound, CreateFromPcmTracesTheFormatAndTheDuration) {
    std::vector<BYTE> data = pcm(176400);
    TraceLog log;
    CDirectSound sound("");
    ASSERT_EQ(sound.create(data.data(), &format, 176400, nullptr), 1);
    EXPECT_EQ(sound.getDurationMs(), 1000);
    EXPECT_EQ(log.count("DSound Error [mark 4010]: NO ERROR"), 1);
    EXPECT_EQ(log.count("CDirectSound:: create 4 PrimBuffer SampleRate: 44100"), 1);
    EXPECT_EQ(log.count("CDirectSound:: create 4 NbSamples: 88200"), 1);
    EXPECT_EQ(log.count("CDirectSound:: create 4 Duration: 1000 ms"), 1);
    // A format that would divide by zero is refused.
    WAVEFORMATEX bad = format;
    bad.wBitsPerSample = 4;
    EXPECT_EQ(sound.create(data.data(), &bad, 176400, nullptr), 0);
    EXPECT_EQ(log.count("CDirectSound:: create 4 END 2"), 1);
}

TEST(CDirectSound, ARefusedFormatLeavesNoSoundBehind) {
    std::vector<BYTE> data = pcm(4000);
    WAVEFORMATEX fourBits = format;
    fourBits.wBitsPerSample = 4;
    WAVEFORMATEX unaligned = format;
    unaligned.nBlockAlign = 0;
    std::string unalignedImage = readFile(testData("tone.wav"));
    ASSERT_GT(unalignedImage.size(), 33u);
    unalignedImage[32] = unalignedImage[33] = '\0';  // the "fmt " chunk's block alignment
    const struct {
        const char* what;
        std::function<int(CDirectSound&)> create;
    } cases[] = {
        {"PCM of 4 bits",
         [&](CDirectSound& s) { return s.create(data.data(), &fourBits, 4000, nullptr); }},
        {"PCM without block alignment",
         [&](CDirectSound& s) { return s.create(data.data(), &unaligned, 4000, nullptr); }},
        {"WAVE without block alignment",
         [&](CDirectSound& s) { return createFromImage(s, unalignedImage); }},
    };
    for (const auto& c : cases) {
        CDirectSound sound("");
        ASSERT_EQ(sound.create(data.data(), &format, 4000, nullptr), 1) << c.what;
        sound.play(0, 1);
        EXPECT_EQ(c.create(sound), 0) << c.what;
        // The old buffer with the new format would divide by its block alignment.
        ASSERT_EQ(sound.isReady(), 0) << c.what;
        sound.continueSound();
        EXPECT_EQ(sound.isPlaying(), 0) << c.what;
    }
}

TEST(CDirectSound, ABusyDeviceIsAskedTenTimesThenABoxIsShown) {
    const std::string tone = readFile(testData("tone.wav"));
    platform::testing::recordMessageBoxes(true);
    TraceLog log;
    CDirectSound sound("");
    platform::testing::failNextSoundCreates(DSERR_ALLOCATED, 10);
    platform::testing::recordSleeps(true);
    EXPECT_EQ(createFromImage(sound, tone), 0);
    // Nine waits of 500 ms between the ten tries.
    EXPECT_EQ(platform::testing::recordedSleeps(), std::vector<DWORD>(9, 500));
    EXPECT_EQ(log.count("DSound Error [mark 3010]: DSERR_ALLOCATED"), 10);
    const auto boxes = platform::testing::shownMessageBoxes();
    platform::testing::recordMessageBoxes(false);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Fehler bei Create DirectSoundPuffer 00");
    EXPECT_EQ(boxes[0].caption, "ERROR");

    // No driver twice, then the device: the third try loads the sound.
    platform::testing::recordSleeps(true);
    platform::testing::failNextSoundCreates(DSERR_NODRIVER, 2);
    EXPECT_EQ(createFromImage(sound, tone), 1);
    EXPECT_EQ(platform::testing::recordedSleeps(), std::vector<DWORD>(2, 500));
    platform::testing::recordSleeps(false);
    EXPECT_EQ(log.count("DSound Error [mark 3010]: DSERR_NODRIVER"), 2);
    EXPECT_EQ(sound.getDurationMs(), 100);
}

TEST(CDirectSound, ALostBufferIsRestoredAndRefilled) {
    std::vector<BYTE> data = pcm(17640);
    TraceLog log;
    CDirectSound sound("");
    platform::testing::loseNextSoundBuffer();
    ASSERT_EQ(sound.create(data.data(), &format, 17640, nullptr), 1);
    EXPECT_EQ(log.count("DSound Error [mark  210]: DSERR_BUFFERLOST"), 1);
    EXPECT_EQ(log.count("DSound Error [mark  220]: NO ERROR"), 1);
    // Refilled: the buffer holds the sound, not the silence of the restore.
    IDirectSoundBuffer* buffer = CDirectSoundInspector(sound).secondaryBuffer();
    void* region = nullptr;
    DWORD size = 0;
    ASSERT_EQ(buffer->Lock(0, 0, &region, &size, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), S_OK);
    EXPECT_TRUE(size == data.size() && std::memcmp(region, data.data(), size) == 0);
    buffer->Unlock(region, size, nullptr, 0);

    platform::testing::loseNextSoundBuffer();
    sound.play(0, 1);
    EXPECT_EQ(log.count("CDirectSound::play 012"), 1);
    EXPECT_EQ(sound.isPlaying(), 1);
}

TEST(CDirectSound, PanAndVolumeBoundsAndUnits) {
    std::vector<BYTE> data = pcm(4000);
    CDirectSound sound("");
    // Without a buffer there is nothing to ask.
    EXPECT_EQ(sound.getPan(), 0);
    EXPECT_EQ(sound.getVolume(), 0.0);
    ASSERT_EQ(sound.create(data.data(), &format, 4000, nullptr), 1);
    const LONG pans[][2] = {{-10000, -10000}, {10000, 10000}, {10001, 10000}, {-10001, 10000}};
    for (const auto& pan : pans) {
        sound.setPan(pan[0]);
        EXPECT_EQ(sound.getPan(), pan[1]) << pan[0];
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double volumes[][2] = {{-12.345, -12.34}, {0.5, -12.34}, {0.0, 0.0},
                                 {-100.0, -100.0},  {nan, -100.0}, {-1e300, -100.0}};
    for (const auto& volume : volumes) {
        sound.setVolume(volume[0]);
        EXPECT_DOUBLE_EQ(sound.getVolume(), volume[1]) << volume[0];
    }
}

TEST(CDirectSound, PlaysPausesAndContinues) {
    // Two seconds, so that a pause lands inside the clip.
    std::vector<BYTE> data = pcm(352800);
    CDirectSound sound("");
    sound.play(0, 0);
    EXPECT_EQ(sound.isPlaying(), 0);
    ASSERT_EQ(sound.create(data.data(), &format, 352800, nullptr), 1);
    sound.play(44100, 1);
    EXPECT_EQ(sound.isPlaying(), 1);
    sound.pause();
    EXPECT_EQ(sound.isPlaying(), 0);
    DWORD cursor = 0;
    DWORD writeCursor = 0;
    CDirectSoundInspector(sound).secondaryBuffer()->GetCurrentPosition(&cursor, &writeCursor);
    EXPECT_GE(cursor, 176400u);
    // Continued, the sound no longer loops: it ends by itself.
    sound.continueSound();
    EXPECT_EQ(sound.isPlaying(), 1);
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (sound.isPlaying() && Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(sound.isPlaying(), 0);
}

TEST(CDirectSound, CopiesNoMoreThanTheBufferHolds) {
    std::vector<BYTE> data = pcm(4000);
    CDirectSound sound("");
    ASSERT_EQ(sound.create(data.data(), &format, 400, nullptr), 1);
    // AddressSanitizer (make asan) sees a copy past the 400-byte buffer.
    EXPECT_EQ(sound.SetSoundData(data.data(), 4000), 1);
    // A second buffer replaces the first (LeakSanitizer sees one left behind).
    EXPECT_EQ(sound.CreateSoundBuffer(&format), 1);
}

TEST(CDirectSound, ChoosesTheDeviceByItsDescription) {
    platform::testing::setSoundDevices({{"nosuchpcm", "Speakers (HDMI)"},
                                        {"null", "Speakers (USB Audio)"}});
    // The default device does not open here: only the chosen one can.
    setenv("AUDIODEV", "nosuchpcm", 1);
    TraceLog log;
    CDirectSound sound("Speakers (USB");
    EXPECT_EQ(createFromImage(sound, readFile(testData("tone.wav"))), 1);
    EXPECT_EQ(log.count("CDirectSound::create(): Found device by name [ 1] : Speakers (USB Audio)"),
              1);
    setenv("AUDIODEV", "null", 1);
    platform::testing::clearSoundDevices();
}

TEST(CDirectSound, WaveSoundsFromFilesAndResources) {
    CDirectSound sound("");
    // The folder as the library's callers name it.
    const std::string data = testsupport::ansiPath(testData());
    ASSERT_EQ(sound.loadWaveFile((data + "tone.wav").c_str(), nullptr), 1);
    EXPECT_EQ(sound.getDurationMs(), 100);
    EXPECT_EQ(sound.loadWaveFile("/no/such/tone.wav", nullptr), 0);
    EXPECT_EQ(sound.isReady(), 1);
    EXPECT_EQ(sound.loadWaveFile((data + "schule.mp3").c_str(), nullptr), 0);
    EXPECT_EQ(sound.isReady(), 0);

    // The tone in the extensible format with the PCM sample format.
    const std::string tone = readFile(testData("tone.wav"));
    ASSERT_GT(tone.size(), 36u);
    const std::string extension("\x16\x00\x10\x00\x03\x00\x00\x00"
                                "\x01\x00\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71",
                                24);
    std::string extensible = tone.substr(0, 16) + std::string("\x28\x00\x00\x00\xFE\xFF", 6) +
                             tone.substr(22, 14) + extension + tone.substr(36);
    extensible[4] = static_cast<char>(extensible[4] + 24);  // the RIFF size
    EXPECT_EQ(createFromImage(sound, extensible), 1);
    EXPECT_EQ(sound.getDurationMs(), 100);

    HMODULE library = LoadLibraryA((data + "gnu/aud_de_de_mc_02.dll").c_str());
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(sound.loadWave("BEGRUESSUNG", library, nullptr), 1);
    sound.reset();
    EXPECT_EQ(sound.createWave(WORD{1000}, library, nullptr), 1);
    EXPECT_EQ(sound.loadWave(MAKEINTRESOURCEA(1702), library, nullptr), 0);
    FreeLibrary(library);
}

}  // namespace
