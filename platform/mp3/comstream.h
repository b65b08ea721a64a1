// COM streams on global memory, as far as the system reads them: a stream
// over a global block (globalmemory.h) with its own position, read and
// moved with Read and Seek.
//
// The stream reads the block as it is when read: the block must stay
// allocated while the stream lives, unless the stream owns it
// (deleteOnRelease), in which case the last Release frees it. A read holds
// the block while it copies, so a GlobalFree in another thread meanwhile
// lets the bytes go only once the copy is done.
#pragma once

#include "platform/core/com.h"
#include "platform/core/types.h"

constexpr HRESULT STG_E_INVALIDFUNCTION = quillHresult(0x80030001u);
constexpr HRESULT STG_E_INVALIDPOINTER = quillHresult(0x80030009u);
constexpr HRESULT STG_E_INVALIDHANDLE = quillHresult(0x80030006u);

// Seek origins.
constexpr DWORD STREAM_SEEK_SET = 0;
constexpr DWORD STREAM_SEEK_CUR = 1;
constexpr DWORD STREAM_SEEK_END = 2;

class ISequentialStream : public IUnknown {
public:
    // Copies up to size bytes from the position on and moves the position
    // past them; fewer (S_OK all the same) at the end of the stream. *done,
    // when given, gets the count.
    virtual HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG size, ULONG* done) = 0;

protected:
    ~ISequentialStream() = default;
};

class IStream : public ISequentialStream {
public:
    // Moves the position relative to the origin; a position before the
    // start is STG_E_INVALIDFUNCTION and leaves it where it was. Past the end
    // is allowed (reads there give nothing). *position, when given, gets the
    // new position.
    virtual HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin,
                                           ULARGE_INTEGER* position) = 0;

protected:
    ~IStream() = default;
};
using LPSTREAM = IStream*;

extern const IID IID_ISequentialStream;
extern const IID IID_IStream;

// A stream over the whole of a global block, positioned at its start. A
// null block makes a new moveable block of 0 bytes for the stream. On
// failure *stream is null: E_INVALIDARG for a block this layer did not hand
// out, E_OUTOFMEMORY when there is no memory.
STDAPI CreateStreamOnHGlobal(HGLOBAL memory, BOOL deleteOnRelease, LPSTREAM* stream);
