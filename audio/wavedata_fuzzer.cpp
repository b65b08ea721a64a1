// RIFF/WAVE images from outside: the walk must stay inside the bytes it is
// given, whatever the sizes in the image say, and so must DirectSound when
// it reads the format the walk found.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "audio/directsound.h"
#include "testsupport/environment.h"

namespace {

// ALSA's null device needs no sound card.
IDirectSound* nullDevice() {
    static IDirectSound* const device = [] {
        testsupport::setEnv("AUDIODEV", "null");
        IDirectSound* opened = nullptr;
        return DirectSoundCreate(nullptr, &opened, nullptr) == DS_OK ? opened : nullptr;
    }();
    return device;
}

// The format in a block of exactly the size its cbSize claims, so that
// reading an extension past what the walk kept is a read past the block.
void createBuffer(const WAVEFORMATEX& format) {
    IDirectSound* device = nullDevice();
    if (device == nullptr) {
        return;
    }
    std::vector<BYTE> exact(sizeof(WAVEFORMATEX) + format.cbSize);
    std::memcpy(exact.data(), &format, exact.size());
    DSBUFFERDESC description;
    std::memset(&description, 0, sizeof description);
    description.dwSize = sizeof description;
    description.dwFlags = DSBCAPS_STATIC | DSBCAPS_LOCSOFTWARE;
    description.dwBufferBytes = 4096;
    description.lpwfxFormat = reinterpret_cast<WAVEFORMATEX*>(exact.data());
    IDirectSoundBuffer* buffer = nullptr;
    if (device->CreateSoundBuffer(&description, &buffer, nullptr) == DS_OK) {
        buffer->Release();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    // An exact-size copy, so that a read past the end is a read past the block.
    std::vector<BYTE> image(bytes, bytes + size);
    static CDirectSound sound("");
    WAVEFORMATEX* format = nullptr;
    BYTE* data = nullptr;
    DWORD dataSize = 0;
    if (sound.GetWaveData(image.data(), static_cast<DWORD>(image.size()), &format, &data,
                          &dataSize)) {
        // What it found must be readable: touch its last bytes.
        volatile BYTE sink = static_cast<BYTE>(format->wFormatTag & 0xFF);
        if (dataSize > 0) {
            sink = data[dataSize - 1];
        }
        (void)sink;
        createBuffer(*format);
    }
    return 0;
}
