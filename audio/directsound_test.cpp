// The sound object on ALSA's null device: the shared device, create 4 and
// create 3, device choice, the buffer and playback control, and the roads
// where the platform refuses (a busy device, a lost buffer).
#include "audio/directsound.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <limits>
#include <thread>

#include "audio/audio_testenv.h"
#include "audio/directsound_inspector.h"
#include "platform/testing.h"

namespace {

using Clock = std::chrono::steady_clock;

// 16-bit stereo at 44100 Hz: a quiet ramp, so that no byte is a chance match.
std::vector<BYTE> pcm(size_t bytes) {
    std::vector<BYTE> data(bytes);
    for (size_t i = 0; i < bytes; ++i) data[i] = static_cast<BYTE>(i % 251);
    return data;
}

WAVEFORMATEX stereo16() { return decodedPcmFormat(); }

void expectContains(const std::vector<std::string>& lines, const std::string& line) {
    EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
}

class MessageBoxes {
public:
    MessageBoxes() { platform::testing::recordMessageBoxes(true); }
    ~MessageBoxes() { platform::testing::recordMessageBoxes(false); }
    std::vector<std::string> texts() const {
        std::vector<std::string> shown;
        for (const auto& box : platform::testing::shownMessageBoxes()) {
            EXPECT_EQ(box.caption, "ERROR");
            EXPECT_EQ(box.type, MB_OK);
            shown.push_back(box.text);
        }
        return shown;
    }
};

TEST(CDirectSound, CountsItsInstancesAndSharesOneDevice) {
    {
        TraceLog log;
        { CDirectSound sound(""); }
        EXPECT_EQ(log.lines(), (std::vector<std::string>{
                                   "mark 1000 : m_dwInstances =          1",
                                   "CDirectSound::destroy 000",
                                   "CDirectSound::destroy END",
                                   "mark 1110 : m_dwInstances =          1",
                                   "mark 1120 : m_dwInstances =          0",
                               }));
    }
    std::vector<BYTE> data = pcm(4000);
    WAVEFORMATEX format = stereo16();
    auto first = std::make_unique<CDirectSound>("");
    ASSERT_EQ(first->create(data.data(), &format, 4000, nullptr), 1);
    IDirectSound* device = CDirectSoundInspector::device();
    ASSERT_NE(device, nullptr);
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
    WAVEFORMATEX format = stereo16();
    TraceLog log;
    CDirectSound sound("");
    ASSERT_EQ(sound.create(data.data(), &format, 176400, nullptr), 1);
    EXPECT_EQ(sound.getDurationMs(), 1000);
    EXPECT_EQ(sound.isReady(), 1);
    const std::vector<std::string> lines = log.lines();
    for (const char* line : {
             "DSound Error [mark 4010]: NO ERROR",
             "CDirectSound:: create 4 PrimBuffer SampleRate: 44100",
             "CDirectSound:: create 4 NbSamples: 88200",
             "CDirectSound:: create 4 Duration: 1000 ms",
             "CDirectSound:: create 4 END 1",
         }) {
        expectContains(lines, line);
    }
    // A format that would divide by zero is refused.
    WAVEFORMATEX bad = stereo16();
    bad.wBitsPerSample = 4;
    EXPECT_EQ(sound.create(data.data(), &bad, 176400, nullptr), 0);
    expectContains(log.lines(), "CDirectSound:: create 4 END 2");
}

TEST(CDirectSound, ABusyDeviceIsAskedTenTimesThenABoxIsShown) {
    const std::string tone = readBinaryFile(testData() + "tone.wav");
    const auto* image = reinterpret_cast<const BYTE*>(tone.data());
    MessageBoxes boxes;
    TraceLog log;
    CDirectSound sound("");
    platform::testing::failNextSoundCreates(DSERR_ALLOCATED, 10);
    const auto start = Clock::now();
    EXPECT_EQ(sound.create(image, nullptr, static_cast<DWORD>(tone.size())), 0);
    // Nine waits of 500 ms between the ten tries.
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(4500));
    EXPECT_EQ(log.count("DSound Error [mark 3010]: DSERR_ALLOCATED"), 10);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Fehler bei Create DirectSoundPuffer 00"});

    // No driver twice, then the device: the third try loads the sound.
    platform::testing::failNextSoundCreates(DSERR_NODRIVER, 2);
    EXPECT_EQ(sound.create(image, nullptr, static_cast<DWORD>(tone.size())), 1);
    EXPECT_EQ(log.count("DSound Error [mark 3010]: DSERR_NODRIVER"), 2);
    EXPECT_EQ(log.count("DSound Error [mark 3010]: NO ERROR"), 1);
    EXPECT_EQ(sound.getDurationMs(), 100);
}

TEST(CDirectSound, ALostBufferIsRestoredAndRefilled) {
    std::vector<BYTE> data = pcm(17640);
    WAVEFORMATEX format = stereo16();
    TraceLog log;
    CDirectSound sound("");
    platform::testing::loseNextSoundBuffer();
    ASSERT_EQ(sound.create(data.data(), &format, 17640, nullptr), 1);
    const std::vector<std::string> lines = log.lines();
    expectContains(lines, "DSound Error [mark  210]: DSERR_BUFFERLOST");
    expectContains(lines, "DSound Error [mark  220]: NO ERROR");
    expectContains(lines, "DSound Error [mark  230]: NO ERROR");
    expectContains(lines, "CDirectSound::SetSoundData ENd 1");
    // Refilled: the buffer holds the sound, not the silence of the restore.
    CDirectSoundInspector inspect(sound);
    void* region = nullptr;
    DWORD regionSize = 0;
    ASSERT_EQ(inspect.secondaryBuffer()->Lock(0, 0, &region, &regionSize, nullptr, nullptr,
                                              DSBLOCK_ENTIREBUFFER),
              S_OK);
    ASSERT_EQ(regionSize, data.size());
    EXPECT_EQ(std::memcmp(region, data.data(), data.size()), 0);
    inspect.secondaryBuffer()->Unlock(region, regionSize, nullptr, 0);

    platform::testing::loseNextSoundBuffer();
    sound.play(0, 1);
    EXPECT_EQ(log.count("CDirectSound::play 011"), 1);
    EXPECT_EQ(log.count("CDirectSound::play 012"), 1);
    EXPECT_EQ(sound.isPlaying(), 1);
    sound.stop();
    EXPECT_EQ(sound.isPlaying(), 0);
}

TEST(CDirectSound, PanAndVolumeBoundsAndUnits) {
    std::vector<BYTE> data = pcm(4000);
    WAVEFORMATEX format = stereo16();
    CDirectSound sound("");
    {
        TraceLog log;
        // Without a buffer there is nothing to ask.
        EXPECT_EQ(sound.getPan(), 0);
        EXPECT_EQ(sound.getVolume(), 0.0);
        EXPECT_EQ(log.lines(), (std::vector<std::string>{
                                   "CDirectSound::getPan 000", "CDirectSound::getPan 010",
                                   "CDirectSound::getVolume 000", "CDirectSound::getVolume 010"}));
    }
    ASSERT_EQ(sound.create(data.data(), &format, 4000, nullptr), 1);
    struct PanCase {
        LONG pan;
        LONG after;
    };
    for (const PanCase& c : {PanCase{-10000, -10000}, PanCase{10000, 10000},
                             PanCase{10001, 10000}, PanCase{-10001, 10000}, PanCase{0, 0}}) {
        sound.setPan(c.pan);
        EXPECT_EQ(sound.getPan(), c.after) << c.pan;
    }
    struct VolumeCase {
        double volume;
        double after;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const VolumeCase& c : {VolumeCase{-12.345, -12.34}, VolumeCase{0.5, -12.34},
                                VolumeCase{0.0, 0.0}, VolumeCase{-100.0, -100.0},
                                VolumeCase{nan, -100.0}, VolumeCase{-1e300, -100.0}}) {
        sound.setVolume(c.volume);
        EXPECT_DOUBLE_EQ(sound.getVolume(), c.after) << c.volume;
    }
}

TEST(CDirectSound, PlaysStopsAndContinues) {
    // Two seconds, so that a pause lands inside the clip.
    std::vector<BYTE> data = pcm(352800);
    WAVEFORMATEX format = stereo16();
    CDirectSound sound("");
    {
        TraceLog log;
        sound.play(0, 0);
        EXPECT_EQ(log.lines(), (std::vector<std::string>{"CDirectSound::play 000",
                                                         "CDirectSound::play END 1"}));
        EXPECT_EQ(sound.isPlaying(), 0);
    }
    ASSERT_EQ(sound.create(data.data(), &format, 352800, nullptr), 1);
    CDirectSoundInspector inspect(sound);
    DWORD cursor = 0;
    DWORD writeCursor = 0;
    sound.play(44100, 1);
    EXPECT_EQ(sound.isPlaying(), 1);
    sound.pause();
    EXPECT_EQ(sound.isPlaying(), 0);
    inspect.secondaryBuffer()->GetCurrentPosition(&cursor, &writeCursor);
    EXPECT_GE(cursor, 176400u);
    const DWORD paused = cursor;
    sound.continueSound();
    EXPECT_EQ(sound.isPlaying(), 1);
    sound.stop();
    inspect.secondaryBuffer()->GetCurrentPosition(&cursor, &writeCursor);
    EXPECT_GE(cursor, paused);

    // Continued, the sound no longer loops: it ends by itself.
    sound.continueSound();
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (sound.isPlaying() && Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(sound.isPlaying(), 0);
}

TEST(CDirectSound, CopiesNoMoreThanTheBufferHolds) {
    std::vector<BYTE> data = pcm(4000);
    WAVEFORMATEX format = stereo16();
    CDirectSound sound("");
    ASSERT_EQ(sound.create(data.data(), &format, 400, nullptr), 1);
    // AddressSanitizer (make asan) sees a copy past the 400-byte buffer.
    EXPECT_EQ(sound.SetSoundData(data.data(), 4000), 1);
    // A second buffer replaces the first (LeakSanitizer sees one left behind).
    EXPECT_EQ(sound.CreateSoundBuffer(&format), 1);
    EXPECT_EQ(sound.SetSoundData(data.data(), 400), 1);
}

TEST(CDirectSound, ChoosesTheDeviceByItsDescription) {
    const std::string tone = readBinaryFile(testData() + "tone.wav");
    platform::testing::setSoundDevices({{"nosuchpcm", "Speakers (HDMI)"},
                                        {"null", "Speakers (USB Audio)"}});
    // The default device does not open here: only the chosen one can.
    setenv("AUDIODEV", "nosuchpcm", 1);
    TraceLog log;
    CDirectSound sound("Speakers (USB");
    EXPECT_EQ(sound.create(reinterpret_cast<const BYTE*>(tone.data()), nullptr,
                           static_cast<DWORD>(tone.size())),
              1);
    expectContains(log.lines(),
                   "CDirectSound::create(): Found device by name [ 1] : Speakers (USB Audio)");
    setenv("AUDIODEV", "null", 1);
    platform::testing::clearSoundDevices();
}

TEST(CDirectSound, WaveSoundsFromFilesAndResources) {
    CDirectSound sound("");
    CDirectSoundInspector inspect(sound);
    ASSERT_EQ(sound.loadWaveFile((testData() + "tone.wav").c_str(), nullptr), 1);
    EXPECT_EQ(sound.getDurationMs(), 100);
    EXPECT_EQ(inspect.format()->nSamplesPerSec, 44100u);
    EXPECT_EQ(sound.loadWaveFile("/no/such/tone.wav", nullptr), 0);
    EXPECT_EQ(sound.isReady(), 1);
    EXPECT_EQ(sound.loadWaveFile((testData() + "schule.mp3").c_str(), nullptr), 0);
    EXPECT_EQ(sound.isReady(), 0);

    HMODULE library = LoadLibraryA((testData() + "gnu/aud_de_de_mc_02.dll").c_str());
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(sound.loadWave("BEGRUESSUNG", library, nullptr), 1);
    sound.reset();
    EXPECT_EQ(sound.createWave(WORD{1000}, library, nullptr), 1);
    EXPECT_EQ(sound.loadWave(MAKEINTRESOURCEA(1702), library, nullptr), 0);
    FreeLibrary(library);
}

}  // namespace
