#include "platform/mp3/wmreader.h"

#include <atomic>
#include <cstring>
#include <cwchar>
#include <new>
#include <vector>

#include "platform/mp3/failurecount.h"
#include "platform/mp3/acm.h"
#include "platform/testing.h"

// {96406BDA-2B2B-11D3-B36B-00C04F6108FF}
const IID IID_IWMHeaderInfo = {
    0x96406BDA, 0x2B2B, 0x11D3, {0xB3, 0x6B, 0x00, 0xC0, 0x4F, 0x61, 0x08, 0xFF}};
// {9397F121-7705-4DC9-B049-98B698188414}
const IID IID_IWMSyncReader = {
    0x9397F121, 0x7705, 0x4DC9, {0xB0, 0x49, 0x98, 0xB6, 0x98, 0x18, 0x84, 0x14}};

namespace {

platform::FailureCount failingReaders;
platform::FailureCount failingHeaderQueries;
platform::FailureCount failingDurations;

constexpr ULONGLONG kUnitsPerSecond = 10000000;
constexpr DWORD kRate = 44100;

// samples ÷ rate in 100-ns units, rounded up.
QWORD durationOf(ULONGLONG samples, DWORD rate) {
    ULONGLONG perSecond = rate;
    ULONGLONG seconds = samples / perSecond;
    ULONGLONG rest = samples % perSecond;
    return seconds * kUnitsPerSecond + (rest * kUnitsPerSecond + perSecond - 1) / perSecond;
}

// The samples per channel that the clip in the stream converts to through
// ACM, converted the way the audio library converts: 44.1 kHz stereo, in
// blocks of 522 bytes, into a destination sized by acmStreamSize. Damaged
// data may convert differently when fed otherwise, so this is the one way
// to a count that agrees. Any output left after the last block is counted
// too. False when the stream cannot be read or holds no MPEG audio.
bool convertedSamples(IStream* stream, ULONGLONG* samples) {
    constexpr DWORD kBlock = 522;
    *samples = 0;
    LARGE_INTEGER start;
    start.QuadPart = 0;
    if (FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr))) return false;
    MPEGLAYER3WAVEFORMAT source{};
    source.wfx = {WAVE_FORMAT_MPEGLAYER3, 2, kRate, 16384, 1, 0, MPEGLAYER3_WFX_EXTRA_BYTES};
    source.wID = MPEGLAYER3_ID_MPEG;
    source.fdwFlags = MPEGLAYER3_FLAG_PADDING_OFF;
    source.nBlockSize = kBlock;
    source.nFramesPerBlock = 1;
    WAVEFORMATEX destination = {WAVE_FORMAT_PCM, 2, kRate, kRate * 4, 4, 16, 0};
    HACMSTREAM converter = nullptr;
    if (acmStreamOpen(&converter, nullptr, &source.wfx, &destination, nullptr, 0, 0, 0) !=
        MMSYSERR_NOERROR) {
        return false;
    }
    DWORD room = 0;
    bool read = acmStreamSize(converter, kBlock, &room, ACM_STREAMSIZEF_SOURCE) == MMSYSERR_NOERROR;
    std::vector<BYTE> block(kBlock), out(room);
    ACMSTREAMHEADER header{};
    header.cbStruct = sizeof header;
    header.pbSrc = block.data();
    header.cbSrcLength = kBlock;
    header.pbDst = out.data();
    header.cbDstLength = room;
    read = read && acmStreamPrepareHeader(converter, &header, 0) == MMSYSERR_NOERROR;
    ULONGLONG bytes = 0;
    for (bool last = false; read && !last;) {
        ULONG count = 0;
        read = SUCCEEDED(stream->Read(block.data(), kBlock, &count));
        last = count < kBlock;
        header.cbSrcLength = count;
        DWORD flags = last ? ACM_STREAMCONVERTF_END : ACM_STREAMCONVERTF_BLOCKALIGN;
        read = read && acmStreamConvert(converter, &header, flags) == MMSYSERR_NOERROR;
        bytes += header.cbDstLengthUsed;
    }
    for (header.cbSrcLength = 0; read && header.cbDstLengthUsed != 0;) {
        read = acmStreamConvert(converter, &header, ACM_STREAMCONVERTF_END) == MMSYSERR_NOERROR;
        bytes += header.cbDstLengthUsed;
    }
    header.cbSrcLength = kBlock;
    acmStreamUnprepareHeader(converter, &header, 0);
    acmStreamClose(converter, 0);
    *samples = bytes / 4;
    return read && *samples != 0;
}

class SyncReader final : public IWMSyncReader, public IWMHeaderInfo {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (iid == IID_IUnknown || iid == IID_IWMSyncReader) {
            *object = static_cast<IWMSyncReader*>(this);
        } else if (iid == IID_IWMHeaderInfo && !failingHeaderQueries.take()) {
            *object = static_cast<IWMHeaderInfo*>(this);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --m_references;
        if (left == 0) {
            if (m_stream != nullptr) m_stream->Release();
            delete this;
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE OpenStream(IStream* stream) override {
        if (stream == nullptr) return E_INVALIDARG;
        if (m_stream != nullptr) return ASF_E_INVALIDSTATE;
        ULONGLONG samples = 0;
        if (!convertedSamples(stream, &samples)) return ASF_E_INVALIDHEADER;
        m_duration = durationOf(samples, kRate);
        stream->AddRef();
        m_stream = stream;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Close() override {
        if (m_stream == nullptr) return ASF_E_INVALIDSTATE;
        m_stream->Release();
        m_stream = nullptr;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetAttributeByName(WORD* streamNumber, LPCWSTR name,
                                                 WMT_ATTR_DATATYPE* type, BYTE* value,
                                                 WORD* length) override {
        if (streamNumber == nullptr || name == nullptr || type == nullptr || length == nullptr) {
            return E_INVALIDARG;
        }
        if (m_stream == nullptr) return ASF_E_INVALIDSTATE;
        if (*streamNumber != 0 || std::wcscmp(name, g_wszWMDuration) != 0 ||
            failingDurations.take()) {
            return ASF_E_NOTFOUND;
        }
        *type = WMT_TYPE_QWORD;
        WORD needed = sizeof(QWORD);
        if (value != nullptr && *length < needed) {
            *length = needed;
            return ASF_E_BUFFERTOOSMALL;
        }
        *length = needed;
        if (value != nullptr) std::memcpy(value, &m_duration, sizeof m_duration);
        return S_OK;
    }

private:
    ~SyncReader() = default;

    std::atomic<ULONG> m_references{1};
    IStream* m_stream = nullptr;
    QWORD m_duration = 0;
};

}  // namespace

HRESULT WMCreateSyncReader(IUnknown*, DWORD, IWMSyncReader** reader) {
    if (reader == nullptr) return E_POINTER;
    *reader = nullptr;
    if (failingReaders.take()) return E_OUTOFMEMORY;
    auto* created = new (std::nothrow) SyncReader;
    if (created == nullptr) return E_OUTOFMEMORY;
    *reader = created;
    return S_OK;
}

namespace platform::testing {

void failNextSyncReaderCreations(int count) { failingReaders.set(count); }
void failNextHeaderInfoQueries(int count) { failingHeaderQueries.set(count); }
void failNextDurationQueries(int count) { failingDurations.set(count); }

}  // namespace platform::testing
