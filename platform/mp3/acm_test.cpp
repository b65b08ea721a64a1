#include "platform/mp3/acm.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/mp3/mp3testing.h"
#include "platform/testing.h"

namespace {

using mp3testing::Bytes;
using mp3testing::convert;
using mp3testing::testData;

struct Recording {
    const char* stem;
    bool blockMultiple;  // the clip's length is a multiple of 522
};

class AcmRecording : public testing::TestWithParam<Recording> {};

// What the converter gives must be, sample for sample, what the mpg123
// command decodes (gapless) from the same file, whether the last block is
// short or empty, and however small the destination.
TEST_P(AcmRecording, ConvertsToWhatMpg123Decodes) {
    Bytes clip = testData(std::string(GetParam().stem) + ".mp3");
    Bytes expected = testData(std::string(GetParam().stem) + ".pcm");
    ASSERT_EQ(clip.size() % 522 == 0, GetParam().blockMultiple);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(convert(clip), expected);
    EXPECT_EQ(convert(clip, 522, 1000), expected);
    EXPECT_EQ(convert(clip, static_cast<DWORD>(clip.size()), 4608 * 3 + 4), expected);
    EXPECT_EQ(convert(clip, 17), expected);
}

INSTANTIATE_TEST_SUITE_P(Recordings, AcmRecording,
                         testing::Values(Recording{"schule", false}, Recording{"strasse", false},
                                         Recording{"wasser", false}, Recording{"blocks", true}),
                         [](const testing::TestParamInfo<Recording>& recording) {
                             return std::string(recording.param.stem);
                         });

TEST(Acm, ShortCorruptOrTruncatedDataConvertsCleanly) {
    Bytes clip = testData("schule.mp3");
    Bytes expected = testData("schule.pcm");
    EXPECT_TRUE(convert(Bytes(clip.begin(), clip.begin() + 400)).empty());
    EXPECT_TRUE(convert(Bytes(20000, 0)).empty());
    Bytes noise(20000);
    for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<BYTE>(i * 7919 >> 3);
    EXPECT_TRUE(convert(noise).empty());
    // A clip cut short decodes to the beginning of the whole.
    Bytes half = convert(Bytes(clip.begin(), clip.begin() + clip.size() / 2));
    ASSERT_GT(half.size(), expected.size() / 4);
    ASSERT_LT(half.size(), expected.size());
    EXPECT_TRUE(std::equal(half.begin(), half.end(), expected.begin()));
    // Junk and a tag after the clip add nothing.
    Bytes trailed = clip;
    trailed.insert(trailed.end(), noise.begin(), noise.end());
    EXPECT_EQ(convert(trailed), expected);
}

TEST(Acm, OpensOnlyLayer3ToMatchingPcm) {
    MPEGLAYER3WAVEFORMAT mp3 = mp3testing::mp3Format();
    WAVEFORMATEX pcm = mp3testing::pcmFormat();
    HACMSTREAM stream = nullptr;
    EXPECT_EQ(acmStreamOpen(nullptr, nullptr, &mp3.wfx, &pcm, nullptr, 0, 0,
                            ACM_STREAMOPENF_QUERY),
              MMSYSERR_NOERROR);
    struct Case {
        void (*change)(MPEGLAYER3WAVEFORMAT&, WAVEFORMATEX&);
        MMRESULT result;
    };
    const Case cases[] = {
        {[](MPEGLAYER3WAVEFORMAT& s, WAVEFORMATEX&) { s.wfx.wFormatTag = WAVE_FORMAT_PCM; },
         ACMERR_NOTPOSSIBLE},
        {[](MPEGLAYER3WAVEFORMAT& s, WAVEFORMATEX&) { s.wfx.cbSize = 0; }, ACMERR_NOTPOSSIBLE},
        {[](MPEGLAYER3WAVEFORMAT& s, WAVEFORMATEX&) { s.wfx.nSamplesPerSec = 44000; },
         ACMERR_NOTPOSSIBLE},
        {[](MPEGLAYER3WAVEFORMAT&, WAVEFORMATEX& d) { d.nSamplesPerSec = 22050; },
         ACMERR_NOTPOSSIBLE},
        {[](MPEGLAYER3WAVEFORMAT&, WAVEFORMATEX& d) { d.wBitsPerSample = 8; }, ACMERR_NOTPOSSIBLE},
        {[](MPEGLAYER3WAVEFORMAT&, WAVEFORMATEX& d) { d.nAvgBytesPerSec = 0; },
         ACMERR_NOTPOSSIBLE},
        {[](MPEGLAYER3WAVEFORMAT&, WAVEFORMATEX&) {}, MMSYSERR_NOERROR},
    };
    for (const Case& c : cases) {
        MPEGLAYER3WAVEFORMAT source = mp3;
        WAVEFORMATEX destination = pcm;
        c.change(source, destination);
        stream = reinterpret_cast<HACMSTREAM>(1);
        MMRESULT result =
            acmStreamOpen(&stream, nullptr, &source.wfx, &destination, nullptr, 0, 0, 0);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(stream == nullptr, result != MMSYSERR_NOERROR);
        if (stream != nullptr) {
            EXPECT_EQ(acmStreamClose(stream, 0), MMSYSERR_NOERROR);
        }
    }
    EXPECT_EQ(acmStreamOpen(&stream, reinterpret_cast<HACMDRIVER>(8), &mp3.wfx, &pcm, nullptr, 0,
                            0, 0),
              MMSYSERR_INVALHANDLE);
    EXPECT_EQ(acmStreamOpen(&stream, nullptr, &mp3.wfx, nullptr, nullptr, 0, 0, 0),
              MMSYSERR_INVALPARAM);

    platform::testing::failNextAcmStreamOpens(1, MMSYSERR_NOMEM);
    EXPECT_EQ(acmStreamOpen(&stream, nullptr, &mp3.wfx, &pcm, nullptr, 0, 0, 0), MMSYSERR_NOMEM);
    EXPECT_EQ(stream, nullptr);
    ASSERT_EQ(acmStreamOpen(&stream, nullptr, &mp3.wfx, &pcm, nullptr, 0, 0, 0),
              MMSYSERR_NOERROR);
    EXPECT_EQ(acmStreamClose(stream, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(acmStreamClose(stream, 0), MMSYSERR_INVALHANDLE);
}

// The sizes a caller allocates by: one 522-byte block can hold five of
// the smallest frames and complete one begun before, each 1152 samples.
TEST(Acm, SizesBoundTheOutput) {
    MPEGLAYER3WAVEFORMAT mp3 = mp3testing::mp3Format();
    WAVEFORMATEX pcm = mp3testing::pcmFormat();
    HACMSTREAM stream = nullptr;
    ASSERT_EQ(acmStreamOpen(&stream, nullptr, &mp3.wfx, &pcm, nullptr, 0, 0, 0),
              MMSYSERR_NOERROR);
    DWORD size = 1;
    EXPECT_EQ(acmStreamSize(stream, 522, &size, ACM_STREAMSIZEF_SOURCE), MMSYSERR_NOERROR);
    EXPECT_EQ(size, 6u * 1152 * 4);
    EXPECT_EQ(acmStreamSize(stream, 0, &size, ACM_STREAMSIZEF_SOURCE), MMSYSERR_NOERROR);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(acmStreamSize(stream, 6u * 1152 * 4, &size, ACM_STREAMSIZEF_DESTINATION),
              MMSYSERR_NOERROR);
    DWORD back = 0;
    EXPECT_EQ(acmStreamSize(stream, size, &back, ACM_STREAMSIZEF_SOURCE), MMSYSERR_NOERROR);
    EXPECT_LE(back, 6u * 1152 * 4);
    EXPECT_EQ(acmStreamSize(stream, 0xFFFFFFFF, &size, ACM_STREAMSIZEF_SOURCE),
              ACMERR_NOTPOSSIBLE);
    EXPECT_EQ(acmStreamSize(stream, 522, &size, 7), MMSYSERR_INVALFLAG);
    EXPECT_EQ(acmStreamClose(stream, 0), MMSYSERR_NOERROR);
}

// A header belongs to the stream that prepared it, for the lengths it was
// prepared with: unpreparing with other lengths is refused and leaves it
// prepared, so preparing it again on a new stream does nothing and that
// stream refuses to convert with it.
TEST(Acm, HeaderKeepsItsPreparation) {
    MPEGLAYER3WAVEFORMAT mp3 = mp3testing::mp3Format();
    WAVEFORMATEX pcm = mp3testing::pcmFormat();
    HACMSTREAM first = nullptr;
    HACMSTREAM second = nullptr;
    ASSERT_EQ(acmStreamOpen(&first, nullptr, &mp3.wfx, &pcm, nullptr, 0, 0, 0), MMSYSERR_NOERROR);
    ASSERT_EQ(acmStreamOpen(&second, nullptr, &mp3.wfx, &pcm, nullptr, 0, 0, 0), MMSYSERR_NOERROR);
    Bytes source(522), destination(4608);
    ACMSTREAMHEADER header{};
    header.cbStruct = sizeof header;
    header.pbSrc = source.data();
    header.cbSrcLength = 522;
    header.pbDst = destination.data();
    header.cbDstLength = 4608;
    EXPECT_EQ(acmStreamConvert(first, &header, 0), ACMERR_UNPREPARED);
    header.cbStruct = 84;
    EXPECT_EQ(acmStreamPrepareHeader(first, &header, 0), MMSYSERR_INVALPARAM);
    header.cbStruct = sizeof header;
    ASSERT_EQ(acmStreamPrepareHeader(first, &header, 0), MMSYSERR_NOERROR);
    EXPECT_TRUE(header.fdwStatus & ACMSTREAMHEADER_STATUSF_PREPARED);

    header.cbSrcLength = 523;
    EXPECT_EQ(acmStreamConvert(first, &header, 0), MMSYSERR_INVALPARAM);
    header.cbSrcLength = 100;
    EXPECT_EQ(acmStreamConvert(first, &header, ACM_STREAMCONVERTF_END), MMSYSERR_NOERROR);
    EXPECT_TRUE(header.fdwStatus & ACMSTREAMHEADER_STATUSF_DONE);
    EXPECT_EQ(acmStreamUnprepareHeader(first, &header, 0), MMSYSERR_INVALPARAM);
    EXPECT_TRUE(header.fdwStatus & ACMSTREAMHEADER_STATUSF_PREPARED);
    EXPECT_EQ(acmStreamPrepareHeader(second, &header, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(acmStreamConvert(second, &header, 0), ACMERR_UNPREPARED);
    EXPECT_EQ(acmStreamUnprepareHeader(second, &header, 0), MMSYSERR_INVALPARAM);

    header.cbSrcLength = 522;
    EXPECT_EQ(acmStreamUnprepareHeader(first, &header, 0), MMSYSERR_NOERROR);
    EXPECT_FALSE(header.fdwStatus & ACMSTREAMHEADER_STATUSF_PREPARED);
    EXPECT_EQ(acmStreamUnprepareHeader(first, &header, 0), ACMERR_UNPREPARED);
    EXPECT_EQ(acmStreamPrepareHeader(second, &header, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(acmStreamConvert(second, &header, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(acmStreamUnprepareHeader(second, &header, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(acmStreamClose(first, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(acmStreamClose(second, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(acmStreamConvert(first, &header, 0), MMSYSERR_INVALHANDLE);
}

// START forgets a clip half converted: the next one converts whole.
TEST(Acm, StartBeginsANewClip) {
    Bytes schule = testData("schule.mp3");
    Bytes wasser = testData("wasser.mp3");
    MPEGLAYER3WAVEFORMAT mp3 = mp3testing::mp3Format();
    WAVEFORMATEX pcm = mp3testing::pcmFormat();
    HACMSTREAM stream = nullptr;
    ASSERT_EQ(acmStreamOpen(&stream, nullptr, &mp3.wfx, &pcm, nullptr, 0, 0, 0), MMSYSERR_NOERROR);
    Bytes out(1 << 20);
    ACMSTREAMHEADER header{};
    header.cbStruct = sizeof header;
    header.pbSrc = schule.data();
    header.cbSrcLength = static_cast<DWORD>(schule.size());
    header.pbDst = out.data();
    header.cbDstLength = static_cast<DWORD>(out.size());
    ASSERT_EQ(acmStreamPrepareHeader(stream, &header, 0), MMSYSERR_NOERROR);
    header.cbSrcLength = static_cast<DWORD>(schule.size() / 2);
    ASSERT_EQ(acmStreamConvert(stream, &header, ACM_STREAMCONVERTF_BLOCKALIGN), MMSYSERR_NOERROR);
    EXPECT_GT(header.cbDstLengthUsed, 0u);
    ASSERT_LT(wasser.size(), schule.size());
    header.pbSrc = wasser.data();
    header.cbSrcLength = static_cast<DWORD>(wasser.size());
    ASSERT_EQ(acmStreamConvert(stream, &header, ACM_STREAMCONVERTF_START | ACM_STREAMCONVERTF_END),
              MMSYSERR_NOERROR);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + header.cbDstLengthUsed), testData("wasser.pcm"));
    header.cbSrcLength = static_cast<DWORD>(schule.size());
    EXPECT_EQ(acmStreamUnprepareHeader(stream, &header, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(acmStreamClose(stream, 0), MMSYSERR_NOERROR);
}

}  // namespace
