// The Windows Media synchronous reader, as far as the system asks it for a
// clip's length: a reader opened on a COM stream of MPEG audio answers the
// file attribute "Duration" (stream number 0) as a QWORD of 100-ns units.
//
// The duration counts the samples that the Audio Compression Manager
// (acm.h) converts the same data to, both gapless, as the mpg123 command
// decodes it: samples ÷ rate, rounded up to the next 100 ns, so a buffer
// sized from it holds the converted clip. The reader scans the frames
// rather than decoding them, which is what keeps it cheap; on damaged data
// the count and the conversion may differ by a frame or two either way, so
// callers let their buffer grow.
//
// The reader reads the stream while OpenStream runs and holds a reference
// to it until Close or the last Release.
#pragma once

#include "platform/core/com.h"
#include "platform/core/types.h"
#include "platform/mp3/comstream.h"

using QWORD = ULONGLONG;

// Results of the format SDK.
constexpr HRESULT ASF_E_BUFFERTOOSMALL = quillHresult(0xC00D07D1u);
constexpr HRESULT ASF_E_INVALIDHEADER = quillHresult(0xC00D07E2u);
constexpr HRESULT ASF_E_NOTFOUND = quillHresult(0xC00D07F0u);
constexpr HRESULT ASF_E_INVALIDSTATE = quillHresult(0xC00D07F5u);

// Rights asked for when the reader is made.
constexpr DWORD WMT_RIGHT_PLAYBACK = 0x00000001;

enum WMT_ATTR_DATATYPE {
    WMT_TYPE_DWORD = 0,
    WMT_TYPE_STRING = 1,
    WMT_TYPE_BINARY = 2,
    WMT_TYPE_BOOL = 3,
    WMT_TYPE_QWORD = 4,
    WMT_TYPE_WORD = 5,
    WMT_TYPE_GUID = 6,
};

// The name of the duration attribute.
inline constexpr const WCHAR* g_wszWMDuration = L"Duration";

class IWMHeaderInfo : public IUnknown {
public:
    // The attribute named name of stream *streamNumber (0: the whole file).
    // With a null value, only *length is set to the size the value needs;
    // with a *length too small, ASF_E_BUFFERTOOSMALL and the size needed in
    // *length. An attribute the file does not have is ASF_E_NOTFOUND; a
    // reader that is not open is ASF_E_INVALIDSTATE.
    virtual HRESULT STDMETHODCALLTYPE GetAttributeByName(WORD* streamNumber, LPCWSTR name,
                                                         WMT_ATTR_DATATYPE* type, BYTE* value,
                                                         WORD* length) = 0;

protected:
    ~IWMHeaderInfo() = default;
};

class IWMSyncReader : public IUnknown {
public:
    // Reads the stream from its start. Data without MPEG audio frames is
    // ASF_E_INVALIDHEADER; a reader that is already open is
    // ASF_E_INVALIDSTATE.
    virtual HRESULT STDMETHODCALLTYPE OpenStream(IStream* stream) = 0;
    // Lets go of the stream; the attributes are gone with it. Closing a
    // reader that is not open is ASF_E_INVALIDSTATE.
    virtual HRESULT STDMETHODCALLTYPE Close() = 0;

protected:
    ~IWMSyncReader() = default;
};

extern const IID IID_IWMHeaderInfo;
extern const IID IID_IWMSyncReader;

// A new reader, not open; the certificate is ignored. E_POINTER for a null
// out-pointer, E_OUTOFMEMORY when no reader can be made.
STDAPI WMCreateSyncReader(IUnknown* certificate, DWORD rights, IWMSyncReader** reader);
