// The primary buffer: the device's output format. Its samples are the
// mixer's, so it cannot be locked, and it has no cursor, volume or pan of
// its own here.

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/sound/buffers.h"

namespace platform::sound {

namespace {

class PrimaryBuffer final : public ComObject<IDirectSoundBuffer, IID_IDirectSoundBuffer> {
public:
    explicit PrimaryBuffer(std::shared_ptr<Mixer> mixer) : m_mixer(std::move(mixer)) {}

    HRESULT STDMETHODCALLTYPE GetCurrentPosition(LPDWORD, LPDWORD) override { return DSERR_UNSUPPORTED; }

    HRESULT STDMETHODCALLTYPE GetFormat(LPWAVEFORMATEX format, DWORD sizeAllocated, LPDWORD sizeWritten) override {
        if (format == nullptr) {
            if (sizeWritten == nullptr) return DSERR_INVALIDPARAM;
            *sizeWritten = sizeof(WAVEFORMATEX);
            return DS_OK;
        }
        if (sizeAllocated < sizeof(PCMWAVEFORMAT)) return DSERR_INVALIDPARAM;
        WAVEFORMATEX current;
        {
            std::lock_guard<std::mutex> guard(m_mixer->lock());
            current = m_mixer->outputFormat();
        }
        DWORD size = std::min<DWORD>(sizeAllocated, sizeof(WAVEFORMATEX));
        std::memcpy(format, &current, size);
        if (sizeWritten != nullptr) *sizeWritten = size;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE GetVolume(LPLONG) override { return DSERR_CONTROLUNAVAIL; }
    HRESULT STDMETHODCALLTYPE GetPan(LPLONG) override { return DSERR_CONTROLUNAVAIL; }

    // Playing while any sound of the device is being mixed.
    HRESULT STDMETHODCALLTYPE GetStatus(LPDWORD status) override {
        if (status == nullptr) return DSERR_INVALIDPARAM;
        std::lock_guard<std::mutex> guard(m_mixer->lock());
        *status = m_mixer->anyMixing() ? DSBSTATUS_PLAYING | DSBSTATUS_LOOPING : 0;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE Lock(DWORD, DWORD, LPVOID*, LPDWORD, LPVOID*, LPDWORD, DWORD) override {
        std::lock_guard<std::mutex> guard(m_mixer->lock());
        return m_mixer->cooperativeLevel() < DSSCL_WRITEPRIMARY ? DSERR_PRIOLEVELNEEDED : DSERR_UNSUPPORTED;
    }

    // The mixer runs whenever a sound plays.
    HRESULT STDMETHODCALLTYPE Play(DWORD, DWORD, DWORD) override { return DS_OK; }
    HRESULT STDMETHODCALLTYPE Stop() override { return DS_OK; }

    HRESULT STDMETHODCALLTYPE SetCurrentPosition(DWORD) override { return DSERR_INVALIDCALL; }

    HRESULT STDMETHODCALLTYPE SetFormat(LPCWAVEFORMATEX format) override {
        if (format == nullptr) return DSERR_INVALIDPARAM;
        {
            std::lock_guard<std::mutex> guard(m_mixer->lock());
            if (m_mixer->cooperativeLevel() < DSSCL_PRIORITY) return DSERR_PRIOLEVELNEEDED;
        }
        return m_mixer->setOutputFormat(*format);
    }

    HRESULT STDMETHODCALLTYPE SetVolume(LONG) override { return DSERR_CONTROLUNAVAIL; }
    HRESULT STDMETHODCALLTYPE SetPan(LONG) override { return DSERR_CONTROLUNAVAIL; }
    HRESULT STDMETHODCALLTYPE Unlock(LPVOID, DWORD, LPVOID, DWORD) override { return DSERR_INVALIDCALL; }
    HRESULT STDMETHODCALLTYPE Restore() override { return DS_OK; }

private:
    ~PrimaryBuffer() override = default;

    std::shared_ptr<Mixer> m_mixer;
};

}  // namespace

HRESULT createPrimaryBuffer(const std::shared_ptr<Mixer>& mixer, LPDIRECTSOUNDBUFFER* out) {
    auto* buffer = new (std::nothrow) PrimaryBuffer(mixer);
    if (buffer == nullptr) return DSERR_OUTOFMEMORY;
    *out = buffer;
    return DS_OK;
}

}  // namespace platform::sound
