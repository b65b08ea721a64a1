// The sample arithmetic of the mixer: DirectSound's volume and pan as
// channel gains, one buffer's frames added to a mix, and the mix written out
// in the output's sample format.
//
// A gain is a factor in units of 1/65536, so that the unity gain of volume 0
// and pan 0 leaves every sample exactly as it was.
#pragma once

#include <cstdint>

#include "platform/core/types.h"
#include "platform/core/waveformat.h"

namespace platform::sound {

constexpr std::int32_t kUnityGain = 1 << 16;

struct ChannelGains {
    std::int32_t left;
    std::int32_t right;
};

// volume and pan in hundredths of a decibel (-10000..0, -10000..10000): a
// positive pan attenuates the left channel by that much, a negative one the
// right. An attenuation of 100 dB or more is silence.
ChannelGains channelGains(LONG volume, LONG pan);

// The formats a buffer may hold and the output may have: PCM, 8 or 16 bits,
// one or two channels, DSBFREQUENCY_MIN..MAX, nBlockAlign matching. PCM is
// WAVE_FORMAT_PCM, or WAVE_FORMAT_EXTENSIBLE whose extension names the PCM
// sample format; that extension is read after the record, as far as cbSize
// says it reaches.
bool isMixableFormat(const WAVEFORMATEX& format);
// A mixable format as the layer keeps it: the plain PCM record, without
// extension, its nAvgBytesPerSec the rate times the block alignment.
WAVEFORMATEX mixFormat(const WAVEFORMATEX& format);

// One buffer as the mixer reads it: frames whole frames of format at data.
struct MixSource {
    const BYTE* data;
    DWORD frames;
    WAVEFORMATEX format;
    ChannelGains gains;
};

// Adds count output frames of source to mix (count × outChannels values).
// Output frame k takes source frame first + (done + k) × source rate ÷
// outRate, rounded down, where done is the number of output frames the
// source has given since it started at first; past the last frame it wraps
// when looping and ends otherwise. Returns the frames added: less than
// count when the source ended.
DWORD mixSource(std::int32_t* mix, DWORD count, WORD outChannels, DWORD outRate,
                const MixSource& source, DWORD first, std::uint64_t done, bool looping);

// Writes count frames of mix (saturated) as samples of bitsPerSample (8 or
// 16) into out, which holds count × channels × bitsPerSample / 8 bytes.
void writeSamples(const std::int32_t* mix, DWORD count, WORD channels, WORD bitsPerSample, BYTE* out);

}  // namespace platform::sound
