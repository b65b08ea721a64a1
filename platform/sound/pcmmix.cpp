#include "platform/sound/pcmmix.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/sound/dsound.h"

namespace platform::sound {

namespace {

// attenuation in hundredths of a decibel, 0 or below.
std::int32_t gainOf(LONG attenuation) {
    if (attenuation <= DSBVOLUME_MIN) return 0;
    double factor = std::pow(10.0, static_cast<double>(attenuation) / 2000.0);
    return static_cast<std::int32_t>(std::lround(factor * kUnityGain));
}

std::int32_t sampleAt(const BYTE* frame, WORD bits, WORD channel) {
    if (bits == 8) return (static_cast<std::int32_t>(frame[channel]) - 128) * 256;
    std::int16_t value;
    std::memcpy(&value, frame + 2 * channel, sizeof value);
    return value;
}

std::int32_t scaled(std::int64_t sample, std::int32_t gain) { return static_cast<std::int32_t>((sample * gain) >> 16); }

// The extension of WAVE_FORMAT_EXTENSIBLE: 2 bytes of valid bits, 4 of
// channel mask, then the sample format's GUID, KSDATAFORMAT_SUBTYPE_PCM
// {00000001-0000-0010-8000-00aa00389b71} for PCM.
constexpr WORD kExtensionSize = 22;
constexpr std::size_t kSubFormatOffset = 6;
constexpr BYTE kPcmSubFormat[16] = {0x01, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};

bool holdsPcm(const WAVEFORMATEX& format) {
    if (format.wFormatTag == WAVE_FORMAT_PCM) return true;
    if (format.wFormatTag != WAVE_FORMAT_EXTENSIBLE || format.cbSize < kExtensionSize) return false;
    // The caller's cbSize is its word for how many bytes follow the record.
    const BYTE* extension = reinterpret_cast<const BYTE*>(&format) + sizeof(WAVEFORMATEX);
    return std::memcmp(extension + kSubFormatOffset, kPcmSubFormat, sizeof kPcmSubFormat) == 0;
}

}  // namespace

ChannelGains channelGains(LONG volume, LONG pan) {
    LONG left = volume - std::max<LONG>(pan, 0);
    LONG right = volume + std::min<LONG>(pan, 0);
    return {gainOf(left), gainOf(right)};
}

bool isMixableFormat(const WAVEFORMATEX& format) {
    return holdsPcm(format) && (format.nChannels == 1 || format.nChannels == 2) &&
           (format.wBitsPerSample == 8 || format.wBitsPerSample == 16) &&
           format.nBlockAlign == format.nChannels * format.wBitsPerSample / 8 &&
           format.nSamplesPerSec >= DSBFREQUENCY_MIN && format.nSamplesPerSec <= DSBFREQUENCY_MAX;
}

WAVEFORMATEX mixFormat(const WAVEFORMATEX& format) {
    WAVEFORMATEX result = format;
    result.wFormatTag = WAVE_FORMAT_PCM;
    result.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    result.cbSize = 0;
    return result;
}

DWORD mixSource(std::int32_t* mix, DWORD count, WORD outChannels, DWORD outRate, const MixSource& source,
                DWORD first, std::uint64_t done, bool looping) {
    const WAVEFORMATEX& format = source.format;
    if (source.frames == 0 || outRate == 0) return 0;
    for (DWORD k = 0; k < count; ++k) {
        std::uint64_t frame = first + (done + k) * format.nSamplesPerSec / outRate;
        if (frame >= source.frames) {
            if (!looping) return k;
            frame %= source.frames;
        }
        const BYTE* at = source.data + frame * format.nBlockAlign;
        std::int32_t left = sampleAt(at, format.wBitsPerSample, 0);
        std::int32_t right = format.nChannels == 2 ? sampleAt(at, format.wBitsPerSample, 1) : left;
        std::int32_t* out = mix + static_cast<std::size_t>(k) * outChannels;
        if (outChannels == 2) {
            out[0] += scaled(left, source.gains.left);
            out[1] += scaled(right, source.gains.right);
        } else {
            std::int64_t both = static_cast<std::int64_t>(left) * source.gains.left +
                                static_cast<std::int64_t>(right) * source.gains.right;
            out[0] += static_cast<std::int32_t>(both >> 17);
        }
    }
    return count;
}

void writeSamples(const std::int32_t* mix, DWORD count, WORD channels, WORD bitsPerSample, BYTE* out) {
    std::size_t values = static_cast<std::size_t>(count) * channels;
    for (std::size_t i = 0; i < values; ++i) {
        auto sample = static_cast<std::int16_t>(std::clamp<std::int32_t>(mix[i], -32768, 32767));
        if (bitsPerSample == 8) {
            out[i] = static_cast<BYTE>((sample >> 8) + 128);
        } else {
            std::memcpy(out + 2 * i, &sample, sizeof sample);
        }
    }
}

}  // namespace platform::sound
