#include "audio/mp3decoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "audio/directsound.h"

namespace {

MPEGLAYER3WAVEFORMAT sourceFormat = mp3SourceFormat();
WAVEFORMATEX destinationFormat = decodedPcmFormat();

// Reused by every decode.
BYTE sourceBlock[mp3BlockSize];
ACMSTREAMHEADER streamHeader;

// 100-ns units a second.
constexpr double durationUnitsPerSecond = 10000000.0;
// How far the duration is trusted when it sizes the buffer up front: no MP3
// expands by more than this, so a lying header cannot ask for gigabytes.
constexpr ULONGLONG maximumExpansion = 256;

// Everything one decode sets up, released in reverse order whatever road
// the decode takes.
struct DecodeSetup {
    bool comInitialised = false;
    IWMSyncReader* reader = nullptr;
    IWMHeaderInfo* headerInfo = nullptr;
    HGLOBAL global = nullptr;
    IStream* stream = nullptr;
    HACMSTREAM converter = nullptr;
    HLOCAL destination = nullptr;
    bool prepared = false;

    void releaseReader() {
        if (headerInfo != nullptr) {
            headerInfo->Release();
            headerInfo = nullptr;
        }
        if (reader != nullptr) {
            reader->Release();
            reader = nullptr;
        }
    }

    ~DecodeSetup() {
        if (prepared) {
            // Unprepared with the length it was prepared with, or the next
            // decode's prepare would find it still prepared.
            streamHeader.cbSrcLength = mp3BlockSize;
            acmStreamUnprepareHeader(converter, &streamHeader, 0);
        }
        if (destination != nullptr) {
            LocalFree(destination);
        }
        if (converter != nullptr) {
            acmStreamClose(converter, 0);
        }
        releaseReader();
        if (stream != nullptr) {
            stream->Release();
        }
        if (global != nullptr) {
            GlobalFree(global);
        }
        if (comInitialised) {
            CoUninitialize();
        }
    }
};

// The clip's duration in 100-ns units as the media reader reads it from the
// stream; 0 when it cannot tell.
ULONGLONG readDuration(DecodeSetup& setup, bool& failed) {
    failed = false;
    if (setup.reader->OpenStream(setup.stream) != S_OK) {
        return 0;
    }
    if (setup.reader->QueryInterface(IID_IWMHeaderInfo, reinterpret_cast<void**>(&setup.headerInfo)) !=
            S_OK ||
        setup.headerInfo == nullptr) {
        setup.headerInfo = nullptr;
        failed = true;
        return 0;
    }
    WORD streamNumber = 0;
    WMT_ATTR_DATATYPE type = WMT_TYPE_QWORD;
    ULONGLONG duration = 0;
    WORD length = sizeof duration;
    if (setup.headerInfo->GetAttributeByName(&streamNumber, L"Duration", &type,
                                             reinterpret_cast<BYTE*>(&duration), &length) != S_OK ||
        length != sizeof duration) {
        return 0;
    }
    return duration;
}

bool append(std::vector<BYTE>& pcm, const BYTE* bytes, DWORD count) {
    if (count > 0xFFFFFFFFu - pcm.size()) {
        return false;  // more than a sound's 32-bit size can count
    }
    pcm.insert(pcm.end(), bytes, bytes + count);
    return true;
}

}  // namespace

DWORD pcmSizeForDuration(ULONGLONG duration) {
    const double seconds = static_cast<double>(duration) / durationUnitsPerSecond + 0.001;
    const double bytes = std::ceil(destinationFormat.nAvgBytesPerSec * seconds);
    return bytes >= 4294967295.0 ? 0xFFFFFFFFu : static_cast<DWORD>(bytes);
}

bool decodeMp3ToPcm(const BYTE* bytes, DWORD count, std::vector<BYTE>& pcm) {
    pcm.clear();
    DecodeSetup setup;
    setup.comInitialised = SUCCEEDED(CoInitialize(nullptr));
    if (WMCreateSyncReader(nullptr, WMT_RIGHT_PLAYBACK, &setup.reader) != S_OK ||
        setup.reader == nullptr) {
        setup.reader = nullptr;
        return false;
    }
    setup.global = GlobalAlloc(GPTR, count);
    if (setup.global == nullptr) {
        return false;
    }
    void* copy = GlobalLock(setup.global);
    if (copy == nullptr) {
        return false;
    }
    if (count > 0) {
        std::memcpy(copy, bytes, count);
    }
    GlobalUnlock(setup.global);
    if (CreateStreamOnHGlobal(setup.global, FALSE, &setup.stream) != S_OK || setup.stream == nullptr) {
        setup.stream = nullptr;
        return false;
    }

    bool failed = false;
    const ULONGLONG duration = readDuration(setup, failed);
    setup.releaseReader();
    if (failed) {
        return false;
    }
    const ULONGLONG trusted = static_cast<ULONGLONG>(count) * maximumExpansion + 4096;
    pcm.reserve(static_cast<size_t>(std::min<ULONGLONG>(pcmSizeForDuration(duration), trusted)));

    if (acmStreamOpen(&setup.converter, nullptr, &sourceFormat.wfx, &destinationFormat, nullptr, 0,
                      0, 0) != 0) {
        setup.converter = nullptr;
        return false;
    }
    DWORD destinationSize = 0;
    if (acmStreamSize(setup.converter, mp3BlockSize, &destinationSize, ACM_STREAMSIZEF_SOURCE) != 0 ||
        destinationSize == 0) {
        return false;
    }
    setup.destination = LocalAlloc(LPTR, destinationSize);
    if (setup.destination == nullptr) {
        return false;
    }
    std::memset(&streamHeader, 0, sizeof streamHeader);
    streamHeader.cbStruct = sizeof streamHeader;
    streamHeader.pbSrc = sourceBlock;
    streamHeader.cbSrcLength = mp3BlockSize;
    streamHeader.pbDst = static_cast<BYTE*>(setup.destination);
    streamHeader.cbDstLength = destinationSize;
    if (acmStreamPrepareHeader(setup.converter, &streamHeader, 0) != 0) {
        return false;
    }
    setup.prepared = true;

    LARGE_INTEGER start;
    start.QuadPart = 0;
    if (setup.stream->Seek(start, STREAM_SEEK_SET, nullptr) != S_OK) {
        return false;
    }
    bool last = false;
    while (!last) {
        ULONG read = 0;
        if (FAILED(setup.stream->Read(sourceBlock, mp3BlockSize, &read)) || read > mp3BlockSize) {
            return false;
        }
        DWORD flags = ACM_STREAMCONVERTF_BLOCKALIGN;
        if (read < mp3BlockSize) {
            streamHeader.cbSrcLength = read;
            flags = ACM_STREAMCONVERTF_END;
            last = true;
        }
        // At the end the converter may still hold more than one destination
        // block: ask again, with nothing new, until it comes back short.
        for (;;) {
            if (acmStreamConvert(setup.converter, &streamHeader, flags) != 0) {
                return false;
            }
            const DWORD produced = std::min(streamHeader.cbDstLengthUsed, destinationSize);
            if (!append(pcm, streamHeader.pbDst, produced)) {
                return false;
            }
            if (!last || produced < destinationSize) {
                break;
            }
            streamHeader.cbSrcLength = 0;
        }
    }
    return true;
}
