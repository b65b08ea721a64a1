#include "platform/mp3/mp3_testenv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "audio/mp3decoder.h"
#include "testsupport/testdata.h"
#include "testsupport/wholefile.h"

namespace mp3testing {

Bytes testData(const std::string& name) {
    return testsupport::readBytes(testsupport::testData(name));
}

Bytes convert(const Bytes& clip, DWORD blockSize, DWORD destinationSize) {
    MPEGLAYER3WAVEFORMAT source = mp3SourceFormat();
    WAVEFORMATEX destination = decodedPcmFormat();
    HACMSTREAM stream = nullptr;
    EXPECT_EQ(acmStreamOpen(&stream, nullptr, &source.wfx, &destination, nullptr, 0, 0, 0),
              MMSYSERR_NOERROR);
    DWORD room = destinationSize;
    if (room == 0) {
        EXPECT_EQ(acmStreamSize(stream, blockSize, &room, ACM_STREAMSIZEF_SOURCE),
                  MMSYSERR_NOERROR);
    }
    Bytes block(blockSize), out(room), pcm;
    ACMSTREAMHEADER header{};
    header.cbStruct = sizeof header;
    header.pbSrc = block.data();
    header.cbSrcLength = blockSize;
    header.pbDst = out.data();
    header.cbDstLength = room;
    EXPECT_EQ(acmStreamPrepareHeader(stream, &header, 0), MMSYSERR_NOERROR);
    std::size_t position = 0;
    for (bool last = false; !last;) {
        std::size_t count = std::min<std::size_t>(blockSize, clip.size() - position);
        std::copy_n(clip.begin() + static_cast<std::ptrdiff_t>(position), count, block.begin());
        position += count;
        last = count < blockSize;
        header.cbSrcLength = static_cast<DWORD>(count);
        DWORD flags = last ? ACM_STREAMCONVERTF_END : ACM_STREAMCONVERTF_BLOCKALIGN;
        EXPECT_EQ(acmStreamConvert(stream, &header, flags), MMSYSERR_NOERROR);
        EXPECT_EQ(header.cbSrcLengthUsed, count);
        EXPECT_LE(header.cbDstLengthUsed, room);
        pcm.insert(pcm.end(), out.begin(), out.begin() + header.cbDstLengthUsed);
    }
    while (destinationSize != 0) {
        header.cbSrcLength = 0;
        EXPECT_EQ(acmStreamConvert(stream, &header, ACM_STREAMCONVERTF_END), MMSYSERR_NOERROR);
        if (header.cbDstLengthUsed == 0) break;
        pcm.insert(pcm.end(), out.begin(), out.begin() + header.cbDstLengthUsed);
    }
    header.cbSrcLength = blockSize;
    EXPECT_EQ(acmStreamUnprepareHeader(stream, &header, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(acmStreamClose(stream, 0), MMSYSERR_NOERROR);
    return pcm;
}

IStream* streamOn(const Bytes& bytes) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (memory == nullptr) throw std::runtime_error("no global memory");
    if (!bytes.empty()) std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
    GlobalUnlock(memory);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        GlobalFree(memory);
        throw std::runtime_error("no stream");
    }
    return stream;
}

}  // namespace mp3testing
