// MP3 data from outside (recording libraries and files) through the whole
// decode: reader, stream, converter and the growing PCM buffer.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio/mp3decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    std::vector<BYTE> mp3(bytes, bytes + size);
    std::vector<BYTE> pcm;
    decodeMp3ToPcm(mp3.data(), static_cast<DWORD>(mp3.size()), pcm);
    return 0;
}
