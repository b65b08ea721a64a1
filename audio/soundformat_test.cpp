#include "audio/soundformat.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

WAVEFORMATEX pcmFormat(WORD channels, DWORD rate, WORD bits) {
    const WORD align = static_cast<WORD>(channels * bits / 8);
    return WAVEFORMATEX{WAVE_FORMAT_PCM, channels, rate, rate * align, align, bits, 0};
}

TEST(SoundLength, CountsSamplesAndTruncatesTheDuration) {
    const struct {
        DWORD size;
        WAVEFORMATEX format;
        DWORD samples;
        int ms;
    } cases[] = {
        {176400, pcmFormat(2, 44100, 16), 88200, 1000},
        {176399, pcmFormat(2, 44100, 16), 88199, 999},
        {0, pcmFormat(2, 44100, 16), 0, 0},
        {44100, pcmFormat(1, 44100, 8), 44100, 1000},
        // A rate of 1 takes the duration past an int: it stops there.
        {0xFFFFFFFF, pcmFormat(1, 1, 8), 0xFFFFFFFF, INT_MAX},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(soundLength(c.size, c.format).samples, c.samples) << c.size;
        EXPECT_EQ(soundLength(c.size, c.format).durationMs, c.ms) << c.size;
    }
}

TEST(SoundLength, FormatsThatWouldDivideByZeroAreNotPlayable) {
    EXPECT_TRUE(isPlayableFormat(pcmFormat(1, 8000, 8)));
    for (const WAVEFORMATEX& format :
         {pcmFormat(2, 44100, 4), pcmFormat(0, 44100, 16), pcmFormat(2, 0, 16),
          // Channels times rate wraps to 0 in 32 bits.
          pcmFormat(2, 0x80000000u, 16), WAVEFORMATEX{WAVE_FORMAT_PCM, 2, 44100, 0, 0, 16, 0}}) {
        EXPECT_FALSE(isPlayableFormat(format));
    }
}

}  // namespace
