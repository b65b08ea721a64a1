#include "platform/sound/dsound.h"

#include "platform/testing.h"

// {279AFA83-4981-11CE-A521-0020AF0BE560}
const IID IID_IDirectSound = {0x279AFA83, 0x4981, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
// {279AFA85-4981-11CE-A521-0020AF0BE560}
const IID IID_IDirectSoundBuffer = {0x279AFA85, 0x4981, 0x11CE,
                                    {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
// {DEF00000-9C6D-47ED-AAF1-4DDA8F2B5C03}
const GUID DSDEVID_DefaultPlayback = {0xDEF00000, 0x9C6D, 0x47ED,
                                      {0xAA, 0xF1, 0x4D, 0xDA, 0x8F, 0x2B, 0x5C, 0x03}};

HRESULT WINAPI DirectSoundCreate(LPCGUID, LPDIRECTSOUND* out, LPUNKNOWN) {
    if (out != nullptr) *out = nullptr;
    return DSERR_NODRIVER;
}

HRESULT WINAPI DirectSoundEnumerateA(LPDSENUMCALLBACKA callback, LPVOID context) {
    if (callback == nullptr) return DSERR_INVALIDPARAM;
    callback(nullptr, "Primary Sound Driver", "", context);
    return DS_OK;
}

namespace platform::testing {
void failNextSoundCreates(HRESULT, int) {}
void loseNextSoundBuffer() {}
void setSoundDevices(std::vector<SoundDevice>) {}
void clearSoundDevices() {}
}  // namespace platform::testing
