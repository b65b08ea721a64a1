#include "audio/soundformat.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

WAVEFORMATEX format(WORD channels, DWORD rate, WORD bits) {
    const WORD align = static_cast<WORD>(channels * bits / 8);
    return WAVEFORMATEX{WAVE_FORMAT_PCM, channels, rate, rate * align, align, bits, 0};
}

TEST(SoundLength, CountsSamplesAndTruncatesTheDuration) {
    struct Case {
        DWORD size;
        WAVEFORMATEX format;
        DWORD samples;
        int ms;
    };
    const Case cases[] = {
        {176400, format(2, 44100, 16), 88200, 1000},
        {176399, format(2, 44100, 16), 88199, 999},
        {0, format(2, 44100, 16), 0, 0},
        {44100, format(1, 44100, 8), 44100, 1000},
        {3, format(1, 8000, 16), 1, 0},
        // A rate of 1 takes the duration past an int: it stops there.
        {0xFFFFFFFF, format(1, 1, 8), 0xFFFFFFFF, INT_MAX},
    };
    for (const Case& c : cases) {
        const SoundLength length = soundLength(c.size, c.format);
        EXPECT_EQ(length.samples, c.samples) << c.size;
        EXPECT_EQ(length.durationMs, c.ms) << c.size;
    }
}

TEST(SoundLength, FormatsThatWouldDivideByZeroAreNotPlayable) {
    EXPECT_TRUE(isPlayableFormat(format(2, 44100, 16)));
    EXPECT_TRUE(isPlayableFormat(format(1, 8000, 8)));
    EXPECT_FALSE(isPlayableFormat(format(2, 44100, 4)));
    EXPECT_FALSE(isPlayableFormat(format(2, 44100, 0)));
    EXPECT_FALSE(isPlayableFormat(format(0, 44100, 16)));
    EXPECT_FALSE(isPlayableFormat(format(2, 0, 16)));
    WAVEFORMATEX noAlign = format(2, 44100, 16);
    noAlign.nBlockAlign = 0;
    EXPECT_FALSE(isPlayableFormat(noAlign));
    // Channels times rate wraps to 0 in 32 bits.
    EXPECT_FALSE(isPlayableFormat(format(2, 0x80000000u, 16)));
    EXPECT_EQ(soundLength(100, format(2, 44100, 0)).durationMs, 0);
}

}  // namespace
