// The RIFF/WAVE walk. Every read is checked against the end of the image
// (where the caller knows it) and against the RIFF size, so neither a lying
// chunk size nor a truncated image reaches past the bytes that are there.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "audio/directsound.h"
#include "common/logger.h"
#include "platform/core/littleendian.h"

namespace {

bool isTag(const BYTE* bytes, const char* tag) { return std::memcmp(bytes, tag, 4) == 0; }

// The first 14 bytes of a format are all a "fmt " chunk has to hold.
constexpr std::uint32_t minimumFormatSize = 14;
constexpr std::uint32_t formatSizeWithoutBits = 16;

}  // namespace

int CDirectSound::GetWaveData(const BYTE* image, DWORD imageSize, WAVEFORMATEX** format,
                              BYTE** data, DWORD* size) {
    logPrint(soundTraceLevel, "CDirectSound::GetWaveData 000\n");
    *format = nullptr;
    *data = nullptr;
    *size = 0;
    if (image == nullptr || imageSize < 12 || !isTag(image, "RIFF")) {
        logPrint(soundTraceLevel, "CDirectSound::GetWaveData END 6\n");
        return 0;
    }
    if (!isTag(image + 8, "WAVE")) {
        logPrint(soundTraceLevel, "CDirectSound::GetWaveData END 5\n");
        return 0;
    }
    const std::uint64_t end = std::min<std::uint64_t>(8u + std::uint64_t{readLittle32(image + 4)},
                                                      imageSize);
    WAVEFORMATEX* foundFormat = nullptr;
    std::uint64_t position = 12;
    while (position < end && end - position >= 8) {
        const BYTE* chunk = image + position;
        const std::uint32_t chunkSize = readLittle32(chunk + 4);
        const std::uint64_t dataStart = position + 8;
        const std::uint64_t remaining = end - dataStart;
        if (isTag(chunk, "fmt ") && foundFormat == nullptr) {
            if (chunkSize < minimumFormatSize || chunkSize > remaining) {
                logPrint(soundTraceLevel, "CDirectSound::GetWaveData END 4\n");
                *data = nullptr;
                *size = 0;
                return 0;
            }
            std::memset(&m_waveFormat, 0, sizeof m_waveFormat);
            std::memcpy(&m_waveFormat, chunk + 8,
                        std::min<std::size_t>(chunkSize, sizeof m_waveFormat));
            WAVEFORMATEX& owned = m_waveFormat.format;
            if (chunkSize < formatSizeWithoutBits && owned.wFormatTag == WAVE_FORMAT_PCM &&
                owned.nChannels != 0) {
                // The old format record implies the sample size by its block alignment.
                owned.wBitsPerSample = static_cast<WORD>(owned.nBlockAlign * 8u / owned.nChannels);
            }
            // The extension goes no further than what was copied.
            const std::size_t extension =
                std::min<std::size_t>(chunkSize, sizeof m_waveFormat) -
                std::min<std::size_t>(chunkSize, sizeof(WAVEFORMATEX));
            owned.cbSize = static_cast<WORD>(std::min<std::size_t>(owned.cbSize, extension));
            foundFormat = &owned;
            *format = foundFormat;
            if (*data != nullptr && *size != 0) {
                logPrint(soundTraceLevel, "CDirectSound::GetWaveData END 3\n");
                return 1;
            }
        } else if (isTag(chunk, "data")) {
            *data = const_cast<BYTE*>(chunk + 8);
            *size = static_cast<DWORD>(std::min<std::uint64_t>(chunkSize, remaining));
            if (foundFormat != nullptr) {
                logPrint(soundTraceLevel, "CDirectSound::GetWaveData END 2\n");
                return 1;
            }
        }
        if (chunkSize >= remaining) {
            break;
        }
        position = dataStart + chunkSize + (chunkSize & 1u);
    }
    logPrint(soundTraceLevel, "CDirectSound::GetWaveData END 1\n");
    *format = nullptr;
    *data = nullptr;
    *size = 0;
    return 0;
}
