// Decodes arbitrary bytes as an MP3 clip the way the audio library does:
// the media reader's duration, then ACM conversion in 522-byte blocks into
// a destination sized by acmStreamSize. Checks what the callers rely on: no
// crash, every call succeeds, no conversion claims more than it was given,
// and the output is whole samples.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "audio/mp3decoder.h"
#include "platform/win32.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

// The clip's length by the reader in 100-ns units; -1 when unknown.
double durationUnits(const std::uint8_t* data, std::size_t size) {
    HGLOBAL memory = GlobalAlloc(GPTR, size);
    check(memory != nullptr);
    if (size != 0) std::memcpy(GlobalLock(memory), data, size);
    GlobalUnlock(memory);
    IStream* stream = nullptr;
    check(CreateStreamOnHGlobal(memory, FALSE, &stream) == S_OK);
    IWMSyncReader* reader = nullptr;
    check(WMCreateSyncReader(nullptr, WMT_RIGHT_PLAYBACK, &reader) == S_OK);
    double units = -1;
    if (reader->OpenStream(stream) == S_OK) {
        IWMHeaderInfo* info = nullptr;
        check(reader->QueryInterface(IID_IWMHeaderInfo, reinterpret_cast<void**>(&info)) == S_OK);
        WORD streamNumber = 0;
        WMT_ATTR_DATATYPE type;
        QWORD duration = 0;
        WORD length = sizeof duration;
        check(info->GetAttributeByName(&streamNumber, g_wszWMDuration, &type,
                                       reinterpret_cast<BYTE*>(&duration), &length) == S_OK);
        units = static_cast<double>(duration);
        info->Release();
        check(reader->Close() == S_OK);
    }
    reader->Release();
    stream->Release();
    GlobalFree(memory);
    return units;
}

// What the audio library's loop gets and, after it, what the stream still
// holds (damaged data of another rate can decode to more than a destination
// sized for the stream's rate takes).
std::size_t convert(const std::uint8_t* data, std::size_t size) {
    MPEGLAYER3WAVEFORMAT source = mp3SourceFormat();
    WAVEFORMATEX destination = decodedPcmFormat();
    HACMSTREAM stream = nullptr;
    check(acmStreamOpen(&stream, nullptr, &source.wfx, &destination, nullptr, 0, 0, 0) ==
          MMSYSERR_NOERROR);
    DWORD room = 0;
    check(acmStreamSize(stream, 522, &room, ACM_STREAMSIZEF_SOURCE) == MMSYSERR_NOERROR);
    std::vector<BYTE> block(522), out(room);
    ACMSTREAMHEADER header{};
    header.cbStruct = sizeof header;
    header.pbSrc = block.data();
    header.cbSrcLength = 522;
    header.pbDst = out.data();
    header.cbDstLength = room;
    check(acmStreamPrepareHeader(stream, &header, 0) == MMSYSERR_NOERROR);
    std::size_t total = 0;
    std::size_t position = 0;
    for (bool last = false; !last;) {
        std::size_t count = size - position < 522 ? size - position : 522;
        if (count != 0) std::memcpy(block.data(), data + position, count);
        position += count;
        last = count < 522;
        header.cbSrcLength = static_cast<DWORD>(count);
        DWORD flags = last ? ACM_STREAMCONVERTF_END : ACM_STREAMCONVERTF_BLOCKALIGN;
        check(acmStreamConvert(stream, &header, flags) == MMSYSERR_NOERROR);
        check(header.cbSrcLengthUsed == count);
        check(header.cbDstLengthUsed <= room && header.cbDstLengthUsed % 4 == 0);
        total += header.cbDstLengthUsed;
    }
    std::size_t kept = 0;
    header.cbSrcLength = 0;
    do {
        check(acmStreamConvert(stream, &header, ACM_STREAMCONVERTF_END) == MMSYSERR_NOERROR);
        check(header.cbDstLengthUsed % 4 == 0);
        kept += header.cbDstLengthUsed;
    } while (header.cbDstLengthUsed != 0);
    header.cbSrcLength = 522;
    check(acmStreamUnprepareHeader(stream, &header, 0) == MMSYSERR_NOERROR);
    check(acmStreamClose(stream, 0) == MMSYSERR_NOERROR);
    return total + kept;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    double duration = durationUnits(data, size);
    std::size_t total = convert(data, size);
    check(duration >= -1 && total % 4 == 0);
    return 0;
}
