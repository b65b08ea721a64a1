#include "platform/mp3/wmreader.h"

#include <cstring>
#include <cwchar>
#include <new>

#include "platform/core/failurecount.h"
#include "platform/mp3/mpegdecoder.h"
#include "platform/mp3/mp3controls.h"

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

// samples ÷ rate in 100-ns units, rounded up.
QWORD durationOf(ULONGLONG samples, DWORD rate) {
    ULONGLONG perSecond = rate;
    ULONGLONG seconds = samples / perSecond;
    ULONGLONG rest = samples % perSecond;
    return seconds * kUnitsPerSecond + (rest * kUnitsPerSecond + perSecond - 1) / perSecond;
}

class SyncReader final
    : public platform::ComObjectOf<platform::ComInterface<IWMSyncReader, IID_IWMSyncReader>,
                                   platform::ComInterface<IWMHeaderInfo, IID_IWMHeaderInfo>> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object != nullptr && iid == IID_IWMHeaderInfo && failingHeaderQueries.take()) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        return ComObjectOf::QueryInterface(iid, object);
    }

    HRESULT STDMETHODCALLTYPE OpenStream(IStream* stream) override {
        if (stream == nullptr) return E_INVALIDARG;
        if (m_stream != nullptr) return ASF_E_INVALIDSTATE;
        ULONGLONG samples = 0;
        long rate = 0;
        if (!platform::mpegClipLength(stream, &samples, &rate)) return ASF_E_INVALIDHEADER;
        m_duration = durationOf(samples, static_cast<DWORD>(rate));
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
    ~SyncReader() override {
        if (m_stream != nullptr) m_stream->Release();
    }

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
