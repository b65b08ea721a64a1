#include "platform/mp3/acm.h"

#include <gtest/gtest.h>

#include <string>

#include "audio/mp3decoder.h"
#include "platform/core/handle.h"
#include "platform/mp3/mp3_testenv.h"
#include "platform/testing.h"

namespace {

using mp3testing::Bytes;
using mp3testing::convert;
using mp3testing::testData;

// What the converter gives must be, sample for sample, what the mpg123
// command decodes (gapless) from the same file: whether the last block is
// short or empty ("blocks" is a multiple of 522 bytes long), with or without
// the LAME header that names the cuts ("notag" has none), whatever the
// blocks, and however small the destination.
TEST(Acm, ConvertsToWhatMpg123Decodes) {
    for (const char* stem : {"schule", "strasse", "wasser", "blocks", "notag"}) {
        SCOPED_TRACE(stem);
        Bytes clip = testData(std::string(stem) + ".mp3");
        Bytes expected = testData(std::string(stem) + ".pcm");
        ASSERT_EQ(clip.size() % 522 == 0, std::string(stem) == "blocks");
        EXPECT_EQ(convert(clip), expected);
        EXPECT_EQ(convert(clip, 522, 1000), expected);
        EXPECT_EQ(convert(clip, static_cast<DWORD>(clip.size()), 3 * 4608 + 4), expected);
        EXPECT_EQ(convert(clip, 17), expected);
    }
}

TEST(Acm, ShortCorruptOrTruncatedDataConvertsCleanly) {
    Bytes clip = testData("schule.mp3");
    Bytes expected = testData("schule.pcm");
    Bytes noise(20000);
    for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<BYTE>(i * 7919 >> 3);
    EXPECT_TRUE(convert(Bytes(clip.begin(), clip.begin() + 400)).empty());
    EXPECT_TRUE(convert(Bytes(20000, 0)).empty());
    EXPECT_TRUE(convert(noise).empty());
    // A clip cut short converts to the beginning of the whole; junk after
    // the clip adds nothing.
    Bytes half = convert(Bytes(clip.begin(), clip.begin() + clip.size() / 2));
    ASSERT_GT(half.size(), expected.size() / 4);
    ASSERT_LT(half.size(), expected.size());
    EXPECT_TRUE(std::equal(half.begin(), half.end(), expected.begin()));
    clip.insert(clip.end(), noise.begin(), noise.end());
    EXPECT_EQ(convert(clip), expected);
}

TEST(Acm, OpensOnlyLayer3ToPcmOfItsRateAndChannels) {
    using Change = void (*)(MPEGLAYER3WAVEFORMAT&, WAVEFORMATEX&);
    const Change refused[] = {
        [](MPEGLAYER3WAVEFORMAT& s, WAVEFORMATEX&) { s.wfx.wFormatTag = WAVE_FORMAT_PCM; },
        [](MPEGLAYER3WAVEFORMAT& s, WAVEFORMATEX&) { s.wfx.cbSize = 0; },
        [](MPEGLAYER3WAVEFORMAT& s, WAVEFORMATEX&) { s.wfx.nSamplesPerSec = 44000; },
        [](MPEGLAYER3WAVEFORMAT&, WAVEFORMATEX& d) { d.nSamplesPerSec = 22050; },
        [](MPEGLAYER3WAVEFORMAT&, WAVEFORMATEX& d) { d.wBitsPerSample = 8; },
        [](MPEGLAYER3WAVEFORMAT&, WAVEFORMATEX& d) { d.nAvgBytesPerSec = 0; },
    };
    for (Change change : refused) {
        MPEGLAYER3WAVEFORMAT source = mp3SourceFormat();
        WAVEFORMATEX destination = decodedPcmFormat();
        change(source, destination);
        HACMSTREAM stream = reinterpret_cast<HACMSTREAM>(1);
        EXPECT_EQ(acmStreamOpen(&stream, nullptr, &source.wfx, &destination, nullptr, 0, 0, 0),
                  ACMERR_NOTPOSSIBLE);
        EXPECT_EQ(stream, nullptr);
    }
    MPEGLAYER3WAVEFORMAT mp3 = mp3SourceFormat();
    WAVEFORMATEX pcm = decodedPcmFormat();
    HACMSTREAM stream = nullptr;
    EXPECT_EQ(acmStreamOpen(nullptr, nullptr, &mp3.wfx, &pcm, nullptr, 0, 0,
                            ACM_STREAMOPENF_QUERY),
              MMSYSERR_NOERROR);
    platform::testing::failNextAcmStreamOpens(1, MMSYSERR_NOMEM);
    EXPECT_EQ(acmStreamOpen(&stream, nullptr, &mp3.wfx, &pcm, nullptr, 0, 0, 0), MMSYSERR_NOMEM);
    ASSERT_EQ(acmStreamOpen(&stream, nullptr, &mp3.wfx, &pcm, nullptr, 0, 0, 0),
              MMSYSERR_NOERROR);
    // One 522-byte block holds at most five of the smallest frames and
    // completes one begun before: six frames of 1152 samples.
    DWORD size = 0;
    EXPECT_EQ(acmStreamSize(stream, 522, &size, ACM_STREAMSIZEF_SOURCE), MMSYSERR_NOERROR);
    EXPECT_EQ(size, 6u * 1152 * 4);
    EXPECT_EQ(acmStreamClose(stream, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(acmStreamClose(stream, 0), MMSYSERR_INVALHANDLE);
}

// A header belongs to the stream that prepared it, for the lengths it was
// prepared with: unpreparing with other lengths is refused and leaves it
// prepared, so preparing it again on a new stream does nothing and that
// stream will not convert with it.
TEST(Acm, HeaderKeepsItsPreparation) {
    MPEGLAYER3WAVEFORMAT mp3 = mp3SourceFormat();
    WAVEFORMATEX pcm = decodedPcmFormat();
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
    ASSERT_EQ(acmStreamPrepareHeader(first, &header, 0), MMSYSERR_NOERROR);
    header.cbSrcLength = 523;
    EXPECT_EQ(acmStreamConvert(first, &header, 0), MMSYSERR_INVALPARAM);
    header.cbSrcLength = 100;
    EXPECT_EQ(acmStreamConvert(first, &header, ACM_STREAMCONVERTF_END), MMSYSERR_NOERROR);
    EXPECT_EQ(acmStreamUnprepareHeader(first, &header, 0), MMSYSERR_INVALPARAM);
    EXPECT_EQ(acmStreamPrepareHeader(second, &header, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(acmStreamConvert(second, &header, 0), ACMERR_UNPREPARED);

    header.cbSrcLength = 522;
    EXPECT_EQ(acmStreamUnprepareHeader(first, &header, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(acmStreamPrepareHeader(second, &header, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(acmStreamConvert(second, &header, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(acmStreamUnprepareHeader(second, &header, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(acmStreamClose(first, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(acmStreamClose(second, 0), MMSYSERR_NOERROR);
}

// A stream's handle is a kind of its own, which CloseHandle does not know;
// a close that is refused leaves the stream open.
TEST(Acm, StreamHandlesAreTheirOwnKind) {
    MPEGLAYER3WAVEFORMAT mp3 = mp3SourceFormat();
    WAVEFORMATEX pcm = decodedPcmFormat();
    HACMSTREAM stream = nullptr;
    ASSERT_EQ(acmStreamOpen(&stream, nullptr, &mp3.wfx, &pcm, nullptr, 0, 0, 0), MMSYSERR_NOERROR);
    EXPECT_FALSE(CloseHandle(stream));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(acmStreamClose(stream, 1), MMSYSERR_INVALFLAG);
    EXPECT_EQ(acmStreamClose(stream, 0), MMSYSERR_NOERROR);
}

}  // namespace
