// RIFF/WAVE images from outside: the walk must stay inside the bytes it is
// given, whatever the sizes in the image say.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "audio/directsound.h"

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
    }
    return 0;
}
