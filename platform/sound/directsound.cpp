// The device object and DirectSoundCreate.

#include <atomic>
#include <new>

#include "platform/core/failurecount.h"
#include "platform/sound/buffers.h"
#include "platform/sound/devices.h"
#include "platform/sound/dsound.h"
#include "platform/sound/mixer.h"
#include "platform/sound/soundcontrols.h"

// {279AFA83-4981-11CE-A521-0020AF0BE560}
const IID IID_IDirectSound = {0x279AFA83, 0x4981, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
// {279AFA85-4981-11CE-A521-0020AF0BE560}
const IID IID_IDirectSoundBuffer = {0x279AFA85, 0x4981, 0x11CE,
                                    {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
// {DEF00000-9C6D-47ED-AAF1-4DDA8F2B5C03}
const GUID DSDEVID_DefaultPlayback = {0xDEF00000, 0x9C6D, 0x47ED,
                                      {0xAA, 0xF1, 0x4D, 0xDA, 0x8F, 0x2B, 0x5C, 0x03}};

namespace platform::sound {

namespace {

// The size of DSBUFFERDESC in 32-bit code, which code written for Windows
// may put in dwSize as a number.
constexpr DWORD kWin32DescriptionSize = 36;

// Calls still to refuse, and their answer (platform/testing.h).
platform::FailureCount failingCreates;
std::atomic<HRESULT> failingCreateResult{DSERR_GENERIC};

class DirectSoundDevice final : public ComObject<IDirectSound, IID_IDirectSound> {
public:
    explicit DirectSoundDevice(std::shared_ptr<Mixer> mixer) : m_mixer(std::move(mixer)) {}

    HRESULT STDMETHODCALLTYPE CreateSoundBuffer(LPCDSBUFFERDESC desc, LPDIRECTSOUNDBUFFER* buffer,
                                                LPUNKNOWN outer) override {
        if (buffer == nullptr) return DSERR_INVALIDPARAM;
        *buffer = nullptr;
        if (outer != nullptr) return DSERR_NOAGGREGATION;
        if (desc == nullptr || (desc->dwSize != sizeof(DSBUFFERDESC) && desc->dwSize != kWin32DescriptionSize)) {
            return DSERR_INVALIDPARAM;
        }
        if ((desc->dwFlags & DSBCAPS_PRIMARYBUFFER) != 0) {
            if (desc->dwBufferBytes != 0 || desc->lpwfxFormat != nullptr) return DSERR_INVALIDPARAM;
            return createPrimaryBuffer(m_mixer, buffer);
        }
        if (desc->lpwfxFormat == nullptr) return DSERR_INVALIDPARAM;
        return createSecondaryBuffer(m_mixer, desc->dwFlags, desc->dwBufferBytes, *desc->lpwfxFormat, buffer);
    }

    HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD level) override {
        if (window == nullptr || level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY) return DSERR_INVALIDPARAM;
        std::lock_guard<std::mutex> guard(m_mixer->lock());
        m_mixer->setCooperativeLevel(level);
        return DS_OK;
    }

private:
    ~DirectSoundDevice() override { m_mixer->shutdown(); }

    std::shared_ptr<Mixer> m_mixer;
};

}  // namespace

}  // namespace platform::sound

HRESULT WINAPI DirectSoundCreate(LPCGUID device, LPDIRECTSOUND* out, LPUNKNOWN outer) {
    if (out == nullptr) return DSERR_INVALIDPARAM;
    *out = nullptr;
    if (outer != nullptr) return DSERR_NOAGGREGATION;
    if (platform::sound::failingCreates.take()) return platform::sound::failingCreateResult.load();
    std::string pcm;
    if (!platform::sound::pcmOfDevice(device, &pcm)) return DSERR_NODRIVER;
    std::shared_ptr<platform::sound::Mixer> mixer;
    HRESULT result = platform::sound::Mixer::open(pcm, &mixer);
    if (result != DS_OK) return result;
    auto* object = new (std::nothrow) platform::sound::DirectSoundDevice(mixer);
    if (object == nullptr) {
        mixer->shutdown();
        return DSERR_OUTOFMEMORY;
    }
    *out = object;
    return DS_OK;
}

namespace platform::testing {

void failNextSoundCreates(HRESULT result, int count) {
    sound::failingCreateResult.store(result);
    sound::failingCreates.set(count);
}

}  // namespace platform::testing
