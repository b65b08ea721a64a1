// Real recordings decoded through the sound object's path, against the
// mpg123 command's decoding of the same bytes (AUDIO_TEST_DATA: the test
// word "Schule" cut to 5220 bytes, a multiple of the 522-byte block, to 5000
// bytes and to 400, each with its mpg123 decoding).
#include "audio/mp3decoder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "audio/audio_testenv.h"
#include "audio/directsound.h"
#include "audio/directsound_inspector.h"
#include "testsupport/ansipath.h"
#include "testsupport/testdata.h"
#include "testsupport/wholefile.h"
#include "platform/testing.h"

namespace {

using testsupport::readFile;
using testsupport::testData;

std::string decode(const std::string& mp3, bool* ok = nullptr) {
    std::vector<BYTE> pcm;
    const bool decoded = decodeMp3ToPcm(reinterpret_cast<const BYTE*>(mp3.data()),
                                        static_cast<DWORD>(mp3.size()), pcm);
    if (ok != nullptr) *ok = decoded;
    return std::string(pcm.begin(), pcm.end());
}

// Compares without printing megabytes on a mismatch.
void expectSamePcm(const std::string& actual, const std::string& expected) {
    EXPECT_EQ(actual.size(), expected.size());
    EXPECT_TRUE(actual == expected) << "the samples differ";
}

TEST(DecodeMp3, EqualsTheMpg123Command) {
    const std::string cuts = AUDIO_TEST_DATA;
    for (const std::string& stem : {testData() + "schule", testData() + "strasse",
                                    testData() + "wasser", cuts + "schule-5220",
                                    cuts + "schule-5000", cuts + "schule-400"}) {
        SCOPED_TRACE(stem);
        bool ok = false;
        expectSamePcm(decode(readFile(stem + ".mp3"), &ok), readFile(stem + ".pcm"));
        EXPECT_TRUE(ok);
    }
    // Without a duration to size it by, the buffer grows.
    platform::testing::failNextDurationQueries(1);
    expectSamePcm(decode(readFile(testData("wasser.mp3"))), readFile(testData("wasser.pcm")));
}

TEST(DecodeMp3, FailedPlatformCallsFailTheDecodeAndReleaseEverything) {
    // LeakSanitizer (make asan) checks that each road releases what it set up.
    const std::string mp3 = readFile(testData("schule.mp3"));
    using namespace platform::testing;
    const struct {
        const char* what;
        void (*inject)();
    } failures[] = {
        {"reader", [] { failNextSyncReaderCreations(1); }},
        {"header info", [] { failNextHeaderInfoQueries(1); }},
        {"global memory", [] { failNextGlobalAllocs(1); }},
        {"stream", [] { failNextStreamCreations(1); }},
        // The reader may convert too, to learn the duration: fail both.
        {"converter", [] { failNextAcmStreamOpens(2, ACMERR_NOTPOSSIBLE); }},
    };
    for (const auto& failure : failures) {
        failure.inject();
        bool ok = true;
        decode(mp3, &ok);
        EXPECT_FALSE(ok) << failure.what;
    }
    failNextAcmStreamOpens(0, 0);
    // And the next decode is whole again: the conversion header was left unprepared.
    expectSamePcm(decode(mp3), readFile(testData("schule.pcm")));
    // COM is left as it was found: initialising it now is the first time again.
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    CoUninitialize();
}

TEST(DecodeMp3, DataWithoutFramesGivesNoSound) {
    // No byte can start a frame's sync word.
    std::mt19937 random(7);
    std::string noise(20000, '\0');
    for (char& byte : noise) byte = static_cast<char>(random() % 0x7F);
    EXPECT_EQ(decode(noise), "");
    CDirectSound sound("");
    EXPECT_EQ(sound.decodeMp3(reinterpret_cast<const BYTE*>(noise.data()),
                              static_cast<DWORD>(noise.size()), nullptr),
              E_FAIL);
    EXPECT_EQ(sound.decodeMp3(nullptr, 0, nullptr), E_FAIL);
    EXPECT_EQ(sound.isReady(), 0);
}

TEST(LoadMp3File, TheSoundHoldsTheDecodedClipUntilReset) {
    const std::string file = testsupport::ansiPath(testData("strasse.mp3"));
    const std::string expected = readFile(testData("strasse.pcm"));
    CDirectSound sound("");
    CDirectSoundInspector inspect(sound);
    ASSERT_EQ(sound.loadMp3File(file.c_str(), nullptr), 1);
    expectSamePcm(std::string(reinterpret_cast<const char*>(inspect.data()), inspect.dataSize()),
                  expected);
    EXPECT_EQ(sound.getDurationMs(), static_cast<int>(expected.size() * 1000 / 176400));
    // A missing file or an empty name leaves the sound as it was.
    EXPECT_EQ(sound.loadMp3File("/no/such/file.mp3", nullptr), 0);
    EXPECT_EQ(sound.loadMp3File("", nullptr), 0);
    EXPECT_EQ(sound.isReady(), 1);
    // A file that cannot be read clears the sound, file and clip freed.
    platform::testing::failNextFileReads(1);
    EXPECT_EQ(sound.loadMp3File(file.c_str(), nullptr), 0);
    EXPECT_EQ(sound.isReady(), 0);
    EXPECT_EQ(inspect.fileBuffer(), nullptr);
    EXPECT_EQ(inspect.decodedPcmCapacity(), 0u);
}

TEST(PcmSizeForDuration, OneSecondAndAMillisecond) {
    EXPECT_EQ(pcmSizeForDuration(10000000), 176577u);
    EXPECT_EQ(pcmSizeForDuration(0), 177u);
    EXPECT_EQ(pcmSizeForDuration(0xFFFFFFFFFFFFFFFFull), 0xFFFFFFFFu);
}

}  // namespace
