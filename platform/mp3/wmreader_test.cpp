#include "platform/mp3/wmreader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/mp3/mp3testing.h"
#include "platform/testing.h"

namespace {

using mp3testing::Bytes;
using mp3testing::testData;

// The reader and its header information, opened on a clip.
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
    HRESULT duration(QWORD* value) {
        WORD streamNumber = 0;
        WMT_ATTR_DATATYPE type = WMT_TYPE_DWORD;
        WORD length = sizeof *value;
        HRESULT result = info->GetAttributeByName(&streamNumber, g_wszWMDuration, &type,
                                                  reinterpret_cast<BYTE*>(value), &length);
        if (SUCCEEDED(result)) {
            EXPECT_EQ(type, WMT_TYPE_QWORD);
            EXPECT_EQ(length, sizeof *value);
        }
        return result;
    }

    IStream* stream;
    IWMSyncReader* reader = nullptr;
    IWMHeaderInfo* info = nullptr;
    HRESULT opened = E_FAIL;
    HRESULT queried = E_FAIL;
};

// A buffer sized from the duration the way the audio library sizes it
// (one millisecond of headroom) holds the whole decoded clip, and the
// duration is the decoded length rounded up to 100 ns.
TEST(WmReader, DurationAgreesWithTheDecodedClip) {
    for (const char* stem : {"schule", "strasse", "wasser", "blocks"}) {
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

TEST(WmReader, AnswersOnlyTheDurationOfAnOpenClip) {
    OpenReader open(testData("schule.mp3"));
    ASSERT_EQ(open.opened, S_OK);
    WORD streamNumber = 0;
    WMT_ATTR_DATATYPE type;
    BYTE value[8];
    WORD length = 0;
    EXPECT_EQ(open.info->GetAttributeByName(&streamNumber, g_wszWMDuration, &type, nullptr,
                                            &length),
              S_OK);
    EXPECT_EQ(length, 8);
    length = 7;
    EXPECT_EQ(open.info->GetAttributeByName(&streamNumber, L"Duration", &type, value, &length),
              ASF_E_BUFFERTOOSMALL);
    EXPECT_EQ(length, 8);
    EXPECT_EQ(open.info->GetAttributeByName(&streamNumber, L"Title", &type, value, &length),
              ASF_E_NOTFOUND);
    streamNumber = 1;
    EXPECT_EQ(open.info->GetAttributeByName(&streamNumber, L"Duration", &type, value, &length),
              ASF_E_NOTFOUND);
    EXPECT_EQ(open.reader->OpenStream(open.stream), ASF_E_INVALIDSTATE);
    EXPECT_EQ(open.reader->Close(), S_OK);
    EXPECT_EQ(open.reader->Close(), ASF_E_INVALIDSTATE);
    QWORD duration = 0;
    EXPECT_EQ(open.duration(&duration), ASF_E_INVALIDSTATE);
}

TEST(WmReader, RefusesDataWithoutMpegAudio) {
    for (const Bytes& data : {Bytes(), Bytes(5000, 0), Bytes(5000, 0xFF)}) {
        OpenReader open(data);
        EXPECT_EQ(open.opened, ASF_E_INVALIDHEADER);
        QWORD duration = 0;
        EXPECT_EQ(open.duration(&duration), ASF_E_INVALIDSTATE);
    }
}

// The reader holds the stream while it is open: the caller may let go.
TEST(WmReader, HoldsItsStream) {
    IWMSyncReader* reader = nullptr;
    ASSERT_EQ(WMCreateSyncReader(nullptr, WMT_RIGHT_PLAYBACK, &reader), S_OK);
    IStream* stream = mp3testing::streamOn(testData("wasser.mp3"));
    ASSERT_EQ(reader->OpenStream(stream), S_OK);
    EXPECT_EQ(stream->Release(), 1u);
    EXPECT_EQ(reader->Release(), 0u);
}

TEST(WmReader, FailsWhereTheTestsSaySo) {
    IWMSyncReader* reader = reinterpret_cast<IWMSyncReader*>(8);
    platform::testing::failNextSyncReaderCreations(1);
    EXPECT_EQ(WMCreateSyncReader(nullptr, WMT_RIGHT_PLAYBACK, &reader), E_OUTOFMEMORY);
    EXPECT_EQ(reader, nullptr);

    platform::testing::failNextHeaderInfoQueries(1);
    {
        OpenReader open(testData("schule.mp3"));
        EXPECT_EQ(open.queried, E_NOINTERFACE);
        EXPECT_EQ(open.info, nullptr);
        EXPECT_EQ(open.reader->QueryInterface(IID_IWMHeaderInfo,
                                              reinterpret_cast<void**>(&open.info)),
                  S_OK);
        platform::testing::failNextDurationQueries(1);
        QWORD duration = 0;
        EXPECT_EQ(open.duration(&duration), ASF_E_NOTFOUND);
        EXPECT_EQ(open.duration(&duration), S_OK);
    }
}

}  // namespace
