#include "platform/mp3/acm.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <new>

#include "platform/core/failurecount.h"
#include "platform/core/handletable.h"
#include "platform/mp3/mpegdecoder.h"
#include "platform/mp3/mp3controls.h"

namespace {

struct Stream {
    DWORD rate;
    WORD channels;
    WORD sourceBlockAlign;
    WORD destinationBlockAlign;
    std::unique_ptr<platform::MpegFeedDecoder> decoder;
    bool ended = false;
};

// Open streams, a kind of handle of their own, counted from 0x1000. Never
// destroyed: streams may still be closed while the process exits.
platform::HandleTable<Stream>& table() {
    static auto* instance = new platform::HandleTable<Stream>(0x1000);
    return *instance;
}

std::shared_ptr<Stream> find(HACMSTREAM handle) { return table().find(handle); }

// What a prepared header keeps of its stream: the handle's value, which no
// other stream ever has.
DWORD idOf(HACMSTREAM handle) { return static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(handle)); }

platform::FailureCount failingOpens;
std::atomic<MMRESULT> failingOpenResult{MMSYSERR_ERROR};

// Where a prepared header keeps what its preparation was for.
constexpr int kPreparedStream = 0;
constexpr int kPreparedSource = 1;
constexpr int kPreparedDestination = 2;

bool isMpegRate(DWORD rate) {
    switch (rate) {
        case 8000: case 11025: case 12000:
        case 16000: case 22050: case 24000:
        case 32000: case 44100: case 48000:
            return true;
        default:
            return false;
    }
}

// The pairs served: MPEG layer-3 to 16-bit PCM of the same rate and
// channel count, described consistently.
bool convertible(const WAVEFORMATEX& source, const WAVEFORMATEX& destination) {
    if (source.wFormatTag != WAVE_FORMAT_MPEGLAYER3 || source.cbSize < MPEGLAYER3_WFX_EXTRA_BYTES ||
        (source.nChannels != 1 && source.nChannels != 2) || !isMpegRate(source.nSamplesPerSec) ||
        source.nBlockAlign == 0) {
        return false;
    }
    DWORD blockAlign = destination.nChannels * 2u;
    return destination.wFormatTag == WAVE_FORMAT_PCM && destination.nChannels == source.nChannels &&
           destination.nSamplesPerSec == source.nSamplesPerSec &&
           destination.wBitsPerSample == 16 && destination.nBlockAlign == blockAlign &&
           destination.nAvgBytesPerSec == destination.nSamplesPerSec * blockAlign;
}

// The smallest frame of the stream's MPEG version (the lowest bit rate)
// and the samples every frame of it holds.
struct FrameBounds {
    DWORD smallestFrame;
    DWORD samplesPerFrame;
};
FrameBounds frameBounds(DWORD rate) {
    if (rate >= 32000) return {144u * 32000u / rate, 1152};
    return {72u * 8000u / rate, 576};
}

// The header's size on 32-bit Windows.
constexpr DWORD kWin32HeaderSize = 84;

bool validHeader(const ACMSTREAMHEADER* header) {
    return header != nullptr && header->cbStruct >= kWin32HeaderSize;
}

}  // namespace

MMRESULT acmStreamOpen(LPHACMSTREAM stream, HACMDRIVER had, LPWAVEFORMATEX source,
                       LPWAVEFORMATEX destination, LPWAVEFILTER filter, DWORD_PTR, DWORD_PTR,
                       DWORD flags) {
    if (stream != nullptr) *stream = nullptr;
    bool query = (flags & ACM_STREAMOPENF_QUERY) != 0;
    if ((flags & ~(ACM_STREAMOPENF_QUERY | ACM_STREAMOPENF_ASYNC | ACM_STREAMOPENF_NONREALTIME)) != 0) {
        return MMSYSERR_INVALFLAG;
    }
    if ((stream == nullptr && !query) || source == nullptr || destination == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    if (had != nullptr) return MMSYSERR_INVALHANDLE;
    if ((flags & ACM_STREAMOPENF_ASYNC) != 0) return MMSYSERR_NOTSUPPORTED;
    if (failingOpens.take()) return failingOpenResult.load();
    if (filter != nullptr || !convertible(*source, *destination)) return ACMERR_NOTPOSSIBLE;
    if (query) return MMSYSERR_NOERROR;

    auto opened = std::shared_ptr<Stream>(new (std::nothrow) Stream{});
    if (!opened) return MMSYSERR_NOMEM;
    opened->rate = source->nSamplesPerSec;
    opened->channels = source->nChannels;
    opened->sourceBlockAlign = source->nBlockAlign;
    opened->destinationBlockAlign = destination->nBlockAlign;
    opened->decoder = platform::MpegFeedDecoder::create(opened->rate, opened->channels);
    if (!opened->decoder) return MMSYSERR_NOMEM;

    HANDLE handle = table().add(std::move(opened));
    if (handle == nullptr) return MMSYSERR_NOMEM;
    *stream = static_cast<HACMSTREAM>(handle);
    return MMSYSERR_NOERROR;
}

MMRESULT acmStreamSize(HACMSTREAM handle, DWORD size, LPDWORD answer, DWORD flags) {
    std::shared_ptr<Stream> stream = find(handle);
    if (!stream) return MMSYSERR_INVALHANDLE;
    if (answer == nullptr) return MMSYSERR_INVALPARAM;
    *answer = 0;
    FrameBounds bounds = frameBounds(stream->rate);
    ULONGLONG frameBytes = ULONGLONG{bounds.samplesPerFrame} * stream->destinationBlockAlign;
    ULONGLONG result = 0;
    switch (flags) {
        case ACM_STREAMSIZEF_SOURCE:
            // Every smallest frame that can complete in the source, and the
            // one that earlier source began.
            if (size != 0) result = (size / bounds.smallestFrame + 1) * frameBytes;
            break;
        case ACM_STREAMSIZEF_DESTINATION: {
            ULONGLONG frames = size / frameBytes;
            if (frames != 0) result = frames * bounds.smallestFrame - 1;
            result -= result % stream->sourceBlockAlign;
            break;
        }
        default:
            return MMSYSERR_INVALFLAG;
    }
    if (result > 0xFFFFFFFFu) return ACMERR_NOTPOSSIBLE;
    *answer = static_cast<DWORD>(result);
    return MMSYSERR_NOERROR;
}

MMRESULT acmStreamPrepareHeader(HACMSTREAM handle, LPACMSTREAMHEADER header, DWORD flags) {
    std::shared_ptr<Stream> stream = find(handle);
    if (!stream) return MMSYSERR_INVALHANDLE;
    if (flags != 0) return MMSYSERR_INVALFLAG;
    if (!validHeader(header) || header->pbSrc == nullptr || header->pbDst == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    if ((header->fdwStatus & ACMSTREAMHEADER_STATUSF_PREPARED) != 0) return MMSYSERR_NOERROR;
    header->fdwStatus = ACMSTREAMHEADER_STATUSF_PREPARED;
    header->dwReservedDriver[kPreparedStream] = idOf(handle);
    header->dwReservedDriver[kPreparedSource] = header->cbSrcLength;
    header->dwReservedDriver[kPreparedDestination] = header->cbDstLength;
    return MMSYSERR_NOERROR;
}

MMRESULT acmStreamConvert(HACMSTREAM handle, LPACMSTREAMHEADER header, DWORD flags) {
    std::shared_ptr<Stream> stream = find(handle);
    if (!stream) return MMSYSERR_INVALHANDLE;
    if ((flags & ~(ACM_STREAMCONVERTF_BLOCKALIGN | ACM_STREAMCONVERTF_START |
                   ACM_STREAMCONVERTF_END)) != 0) {
        return MMSYSERR_INVALFLAG;
    }
    if (!validHeader(header)) return MMSYSERR_INVALPARAM;
    if ((header->fdwStatus & ACMSTREAMHEADER_STATUSF_PREPARED) == 0 ||
        header->dwReservedDriver[kPreparedStream] != idOf(handle)) {
        return ACMERR_UNPREPARED;
    }
    if (header->cbSrcLength > header->dwReservedDriver[kPreparedSource] ||
        header->cbDstLength > header->dwReservedDriver[kPreparedDestination] ||
        (header->pbSrc == nullptr && header->cbSrcLength != 0) ||
        (header->pbDst == nullptr && header->cbDstLength != 0)) {
        return MMSYSERR_INVALPARAM;
    }
    header->fdwStatus &= ~ACMSTREAMHEADER_STATUSF_DONE;
    header->cbSrcLengthUsed = 0;
    header->cbDstLengthUsed = 0;

    if ((flags & ACM_STREAMCONVERTF_START) != 0) {
        stream->ended = false;
        if (!stream->decoder->restart()) return MMSYSERR_NOMEM;
    }
    DWORD used = header->cbSrcLength;
    if ((flags & ACM_STREAMCONVERTF_BLOCKALIGN) != 0) used -= used % stream->sourceBlockAlign;
    DWORD room = header->cbDstLength - header->cbDstLength % stream->destinationBlockAlign;

    MMRESULT result = MMSYSERR_NOERROR;
    std::size_t written = 0;
    // After the clip's end (gapless: its last encoded sample) whatever
    // follows, a tag or junk, is taken and converts to nothing.
    if (!stream->ended && !stream->decoder->feed(header->pbSrc, used)) {
        result = MMSYSERR_NOMEM;
    } else if (!stream->ended) {
        switch (stream->decoder->decode(header->pbDst, room, &written)) {
            case platform::MpegFeedDecoder::Status::kEnd: stream->ended = true; break;
            case platform::MpegFeedDecoder::Status::kError: result = MMSYSERR_ERROR; break;
            default: break;
        }
    }
    header->cbSrcLengthUsed = used;
    header->cbDstLengthUsed = static_cast<DWORD>(written);
    header->fdwStatus |= ACMSTREAMHEADER_STATUSF_DONE;
    return result;
}

MMRESULT acmStreamUnprepareHeader(HACMSTREAM handle, LPACMSTREAMHEADER header, DWORD flags) {
    std::shared_ptr<Stream> stream = find(handle);
    if (!stream) return MMSYSERR_INVALHANDLE;
    if (flags != 0) return MMSYSERR_INVALFLAG;
    if (!validHeader(header)) return MMSYSERR_INVALPARAM;
    if ((header->fdwStatus & ACMSTREAMHEADER_STATUSF_PREPARED) == 0) return ACMERR_UNPREPARED;
    if (header->dwReservedDriver[kPreparedStream] != idOf(handle) ||
        header->cbSrcLength != header->dwReservedDriver[kPreparedSource] ||
        header->cbDstLength != header->dwReservedDriver[kPreparedDestination]) {
        return MMSYSERR_INVALPARAM;
    }
    header->fdwStatus &= ~ACMSTREAMHEADER_STATUSF_PREPARED;
    std::fill(std::begin(header->dwReservedDriver), std::end(header->dwReservedDriver), 0u);
    return MMSYSERR_NOERROR;
}

MMRESULT acmStreamClose(HACMSTREAM handle, DWORD flags) {
    if (!find(handle)) return MMSYSERR_INVALHANDLE;
    if (flags != 0) return MMSYSERR_INVALFLAG;
    // The decoder goes here, outside the table's lock, unless a conversion
    // still holds the stream.
    if (table().remove(handle) == nullptr) return MMSYSERR_INVALHANDLE;
    return MMSYSERR_NOERROR;
}

namespace platform::testing {

void failNextAcmStreamOpens(int count, UINT result) {
    failingOpenResult.store(result);
    failingOpens.set(count);
}

}  // namespace platform::testing
