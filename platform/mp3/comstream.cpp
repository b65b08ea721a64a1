#include "platform/mp3/comstream.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <utility>

#include "platform/core/failurecount.h"
#include "platform/core/heldcall.h"
#include "platform/mp3/globalmemory.h"
#include "platform/mp3/mp3controls.h"

// {0C733A30-2A1C-11CE-ADE5-00AA0044773D}
const IID IID_ISequentialStream = {
    0x0C733A30, 0x2A1C, 0x11CE, {0xAD, 0xE5, 0x00, 0xAA, 0x00, 0x44, 0x77, 0x3D}};
// {0000000C-0000-0000-C000-000000000046}
const IID IID_IStream = {0x0000000C, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

namespace {

platform::FailureCount failingCreations;
// What a test runs while the next read holds its block.
platform::HeldCall heldRead;

class GlobalStream final
    : public platform::ComObjectOf<platform::ComInterface<IStream, IID_IStream, IID_ISequentialStream>> {
public:
    GlobalStream(HGLOBAL memory, bool deleteOnRelease)
        : m_memory(memory), m_deleteOnRelease(deleteOnRelease) {}

    HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG size, ULONG* done) override {
        if (done != nullptr) *done = 0;
        if (buffer == nullptr) return STG_E_INVALIDPOINTER;
        // The block is looked at on every read: its owner may have freed it.
        // Held for the copy, it outlives a GlobalFree in another thread.
        SIZE_T length = 0;
        std::shared_ptr<const BYTE> bytes = platform::holdGlobalBlock(m_memory, length);
        if (!bytes) return STG_E_INVALIDHANDLE;
        heldRead.run();
        ULONG count = 0;
        if (m_position < length) {
            count = static_cast<ULONG>(std::min<ULONGLONG>(size, length - m_position));
            std::memcpy(buffer, bytes.get() + m_position, count);
            m_position += count;
        }
        if (done != nullptr) *done = count;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin,
                                   ULARGE_INTEGER* position) override {
        ULONGLONG base = 0;
        switch (origin) {
            case STREAM_SEEK_SET: base = 0; break;
            case STREAM_SEEK_CUR: base = m_position; break;
            case STREAM_SEEK_END: base = GlobalSize(m_memory); break;
            default: return STG_E_INVALIDFUNCTION;
        }
        LONGLONG offset = move.QuadPart;
        ULONGLONG target = 0;
        if (offset < 0) {
            ULONGLONG back = static_cast<ULONGLONG>(-(offset + 1)) + 1;
            if (back > base) return STG_E_INVALIDFUNCTION;
            target = base - back;
        } else {
            ULONGLONG forward = static_cast<ULONGLONG>(offset);
            if (forward > std::numeric_limits<ULONGLONG>::max() - base) {
                return STG_E_INVALIDFUNCTION;
            }
            target = base + forward;
        }
        m_position = target;
        if (position != nullptr) position->QuadPart = m_position;
        return S_OK;
    }

private:
    ~GlobalStream() override {
        if (m_deleteOnRelease) GlobalFree(m_memory);
    }

    HGLOBAL m_memory;
    bool m_deleteOnRelease;
    ULONGLONG m_position = 0;
};

}  // namespace

HRESULT CreateStreamOnHGlobal(HGLOBAL memory, BOOL deleteOnRelease, LPSTREAM* stream) {
    if (stream == nullptr) return E_INVALIDARG;
    *stream = nullptr;
    if (failingCreations.take()) return E_OUTOFMEMORY;
    bool made = false;
    if (memory == nullptr) {
        memory = GlobalAlloc(GMEM_MOVEABLE, 0);
        if (memory == nullptr) return E_OUTOFMEMORY;
        made = true;
    } else if (GlobalLock(memory) == nullptr) {
        return E_INVALIDARG;
    } else {
        GlobalUnlock(memory);
    }
    auto* created = new (std::nothrow) GlobalStream(memory, deleteOnRelease != FALSE);
    if (created == nullptr) {
        if (made) GlobalFree(memory);
        return E_OUTOFMEMORY;
    }
    *stream = created;
    return S_OK;
}

namespace platform::testing {

void failNextStreamCreations(int count) { failingCreations.set(count); }

void holdNextStreamRead(std::function<void()> whileReading) {
    heldRead.set(std::move(whileReading));
}

}  // namespace platform::testing
