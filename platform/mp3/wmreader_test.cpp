#include "platform/mp3/wmreader.h"

#include <gtest/gtest.h>
#include <mpg123.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "platform/mp3/mp3_testenv.h"
#include "platform/testing.h"

namespace {

using mp3testing::Bytes;
using mp3testing::testData;

// A reader opened on a clip, and the clip's duration as the audio library
// asks for it.
struct OpenReader {
    explicit OpenReader(const Bytes& clip) : stream(mp3testing::streamOn(clip)) {
        EXPECT_EQ(WMCreateSyncReader(nullptr, WMT_RIGHT_PLAYBACK, &reader), S_OK);
        opened = reader->OpenStream(stream);
        queried = reader->QueryInterface(IID_IWMHeaderInfo, reinterpret_cast<void**>(&info));
    }
    ~OpenReader() {
        if (info != nullptr) info->Release();
        reader->Release();
        stream->Release();
    }
    HRESULT duration(QWORD* value, LPCWSTR name = g_wszWMDuration, WORD length = 8) {
        WORD streamNumber = 0;
        WMT_ATTR_DATATYPE type = WMT_TYPE_DWORD;
        HRESULT result = info->GetAttributeByName(&streamNumber, name, &type,
                                                  reinterpret_cast<BYTE*>(value), &length);
        EXPECT_TRUE(FAILED(result) || (type == WMT_TYPE_QWORD && length == 8));
        return result;
    }

    IStream* stream;
    IWMSyncReader* reader = nullptr;
    IWMHeaderInfo* info = nullptr;
    HRESULT opened = E_FAIL;
    HRESULT queried = E_FAIL;
};

// The duration is the converted clip's length rounded up to 100 ns, so a
// buffer sized from it the audio library's way (one millisecond of
// headroom) holds the clip.
TEST(WmReader, DurationAgreesWithTheConvertedClip) {
    for (const char* stem : {"schule", "strasse", "wasser", "blocks", "notag"}) {
        SCOPED_TRACE(stem);
        OpenReader open(testData(std::string(stem) + ".mp3"));
        ASSERT_EQ(open.opened, S_OK);
        QWORD duration = 0;
        ASSERT_EQ(open.duration(&duration), S_OK);
        ULONGLONG samples = testData(std::string(stem) + ".pcm").size() / 4;
        EXPECT_EQ(duration, (samples * 10000000 + 44099) / 44100);
        double seconds = static_cast<double>(duration) / 10000000.0 + 0.001;
        EXPECT_GE(std::ceil(176400.0 * seconds), static_cast<double>(samples * 4));
    }
}

// A clip, then 100,000 random bytes, none of them 0xFF among the first
// 1,100: a frame begins with a 0xFF byte and libmpg123 gives up
// resynchronising after 1024 bytes, so the clip ends with its own last
// frame; further on, the bytes hold stray frames for a decoder that never
// gives up.
Bytes withJunk(Bytes clip, std::uint32_t seed) {
    std::mt19937 random(seed);
    for (int i = 0; i < 100000; ++i) {
        auto byte = static_cast<BYTE>(random());
        clip.push_back(i < 1100 && byte == 0xFF ? 0 : byte);
    }
    return clip;
}

// 16-bit stereo PCM at 44.1 kHz as a WAVE file.
Bytes asWave(const Bytes& pcm) {
    static const char header[] =
        "RIFF\0\0\0\0WAVEfmt \x10\0\0\0\1\0\2\0\x44\xAC\0\0\x10\xB1\2\0\4\0\x10\0data\0\0\0\0";
    Bytes wave(header, header + 44);
    for (std::size_t i = 0; i < 4; ++i) {
        wave[4 + i] = static_cast<BYTE>((36 + pcm.size()) >> (8 * i));
        wave[40 + i] = static_cast<BYTE>(pcm.size() >> (8 * i));
    }
    wave.insert(wave.end(), pcm.begin(), pcm.end());
    return wave;
}

// What libmpg123 with its own settings, as the mpg123 command uses it,
// decodes from all of data at once to 16-bit stereo at 44.1 kHz, up to
// where it gives up.
Bytes libmpg123Decodes(const Bytes& data) {
    mpg123_init();
    mpg123_handle* handle = mpg123_new(nullptr, nullptr);
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    mpg123_format_none(handle);
    mpg123_format(handle, 44100, MPG123_STEREO, MPG123_ENC_SIGNED_16);
    mpg123_open_feed(handle);
    mpg123_feed(handle, data.data(), data.size());
    Bytes block(65536), pcm;
    for (int result = MPG123_OK; result == MPG123_OK || result == MPG123_NEW_FORMAT;) {
        std::size_t done = 0;
        result = mpg123_read(handle, block.data(), block.size(), &done);
        pcm.insert(pcm.end(), block.begin(), block.begin() + static_cast<std::ptrdiff_t>(done));
    }
    mpg123_delete(handle);
    return pcm;
}

// Where libmpg123 finds no frame within its resync limit, the clip ends,
// for the conversion and the duration alike: junk after a clip adds
// nothing (an unlimited resync found stray frames in it and played them as
// loud noise), a WAVE file gives only the stray frames libmpg123 takes
// before it gives up, and nothing is said on standard error.
TEST(WmReader, ClipEndsWhereNoFrameFollows) {
    struct Case {
        std::string what;
        Bytes data;
        Bytes converted;
        Bytes clip;  // whose duration data has; none: the conversion's
    };
    std::vector<Case> cases;
    for (const char* stem : {"schule", "notag", "wasser"}) {
        Bytes clip = testData(std::string(stem) + ".mp3");
        cases.push_back({stem, withJunk(clip, 2), testData(std::string(stem) + ".pcm"), clip});
    }
    for (const char* stem : {"schule", "strasse"}) {
        Bytes wave = asWave(testData(std::string(stem) + ".pcm"));
        cases.push_back({std::string(stem) + ".wav", wave, libmpg123Decodes(wave), {}});
    }
    cases.push_back({"tone.wav", testData("tone.wav"), {}, {}});
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        ::testing::internal::CaptureStderr();
        Bytes converted = mp3testing::convert(test.data);
        OpenReader open(test.data);
        QWORD duration = 0;
        open.duration(&duration);  // none when the reader refuses the data
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(converted.size(), test.converted.size());
        EXPECT_TRUE(converted == test.converted) << "the samples differ";
        EXPECT_EQ(open.opened, converted.empty() ? ASF_E_INVALIDHEADER : S_OK);
        QWORD expected = 0;
        if (!test.clip.empty()) {
            EXPECT_EQ(OpenReader(test.clip).duration(&expected), S_OK);
        } else {
            expected = converted.size() / 4 * 10000000 / 44100;
        }
        // The clean clip's duration exactly; else within the millisecond
        // the audio library adds when it sizes its buffer by the duration.
        EXPECT_NEAR(static_cast<double>(duration), static_cast<double>(expected),
                    test.clip.empty() ? 10000.0 : 0.0);
    }
}

TEST(WmReader, AnswersOnlyTheDurationOfAnOpenClip) {
    OpenReader open(testData("schule.mp3"));
    ASSERT_EQ(open.opened, S_OK);
    QWORD duration = 0;
    EXPECT_EQ(open.duration(&duration, L"Duration", 7), ASF_E_BUFFERTOOSMALL);
    EXPECT_EQ(open.duration(&duration, L"Title"), ASF_E_NOTFOUND);
    EXPECT_EQ(open.reader->OpenStream(open.stream), ASF_E_INVALIDSTATE);
    platform::testing::failNextDurationQueries(1);
    EXPECT_EQ(open.duration(&duration), ASF_E_NOTFOUND);
    EXPECT_EQ(open.duration(&duration), S_OK);
    EXPECT_EQ(open.reader->Close(), S_OK);
    EXPECT_EQ(open.duration(&duration), ASF_E_INVALIDSTATE);
    for (const Bytes& data : {Bytes(), Bytes(5000, 0), Bytes(5000, 0xFF)}) {
        EXPECT_EQ(OpenReader(data).opened, ASF_E_INVALIDHEADER);
    }
}

TEST(WmReader, FailsWhereTheTestsSaySo) {
    IWMSyncReader* reader = reinterpret_cast<IWMSyncReader*>(8);
    platform::testing::failNextSyncReaderCreations(1);
    EXPECT_EQ(WMCreateSyncReader(nullptr, WMT_RIGHT_PLAYBACK, &reader), E_OUTOFMEMORY);
    EXPECT_EQ(reader, nullptr);
    platform::testing::failNextHeaderInfoQueries(1);
    OpenReader open(testData("schule.mp3"));
    EXPECT_EQ(open.queried, E_NOINTERFACE);
    EXPECT_EQ(open.info, nullptr);
}

// The reader holds its stream until its last Release, through whichever
// interface, and then lets go of it.
TEST(WmReader, LetsGoOfItsStreamWithItsLastRelease) {
    IStream* stream = mp3testing::streamOn(testData("schule.mp3"));
    IWMSyncReader* reader = nullptr;
    ASSERT_EQ(WMCreateSyncReader(nullptr, WMT_RIGHT_PLAYBACK, &reader), S_OK);
    ASSERT_EQ(reader->OpenStream(stream), S_OK);
    IWMHeaderInfo* info = nullptr;
    ASSERT_EQ(reader->QueryInterface(IID_IWMHeaderInfo, reinterpret_cast<void**>(&info)), S_OK);
    reader->Release();
    EXPECT_EQ(stream->AddRef(), 3u);
    info->Release();
    EXPECT_EQ(stream->Release(), 1u);
    EXPECT_EQ(stream->Release(), 0u);
}

}  // namespace
