#include "platform/mp3/wmreader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/mp3/mp3testing.h"
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

}  // namespace
