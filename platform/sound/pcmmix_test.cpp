#include "platform/sound/pcmmix.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace platform::sound {
namespace {

TEST(ChannelGains, FollowDecibelsAndPanToTheOtherSide) {
    struct Case {
        LONG volume, pan;
        std::int32_t left, right;
    } cases[] = {
        {0, 0, kUnityGain, kUnityGain},
        {-600, 0, 32846, 32846},        // -6 dB: 10^-0.3
        {0, -2000, kUnityGain, 6554},   // left pan attenuates the right by 20 dB
        {0, 10000, 0, kUnityGain},      // full right: the left is silent
        {-5000, -5000, 207, 0},         // the sum reaches -100 dB: silence
        {-10000, 0, 0, 0},
    };
    for (const Case& c : cases) {
        ChannelGains gains = channelGains(c.volume, c.pan);
        EXPECT_EQ(gains.left, c.left) << c.volume << " " << c.pan;
        EXPECT_EQ(gains.right, c.right) << c.volume << " " << c.pan;
    }
}

MixSource source16(const std::vector<std::int16_t>& samples, WORD channels, DWORD rate, ChannelGains gains) {
    auto block = static_cast<WORD>(2 * channels);
    WAVEFORMATEX format{WAVE_FORMAT_PCM, channels, rate, rate * block, block, 16, 0};
    return {reinterpret_cast<const BYTE*>(samples.data()), static_cast<DWORD>(samples.size() / channels), format,
            gains};
}

TEST(MixSource, UnityStereoIsExactAndEndsOrWraps) {
    std::vector<std::int16_t> samples = {-32768, 32767, 1, -1, 1000, -1000};
    MixSource source = source16(samples, 2, 44100, {kUnityGain, kUnityGain});
    std::vector<std::int32_t> mix(10, 0);
    EXPECT_EQ(mixSource(mix.data(), 5, 2, 44100, source, 1, 0, false), 2u);
    EXPECT_EQ(mix, (std::vector<std::int32_t>{1, -1, 1000, -1000, 0, 0, 0, 0, 0, 0}));
    mix.assign(10, 0);
    EXPECT_EQ(mixSource(mix.data(), 5, 2, 44100, source, 1, 0, true), 5u);
    EXPECT_EQ(mix, (std::vector<std::int32_t>{1, -1, 1000, -1000, -32768, 32767, 1, -1, 1000, -1000}));
}

TEST(MixSource, ConvertsChannelsRateAndSampleSize) {
    // Mono at half the output rate: each frame twice, on both sides.
    std::vector<std::int16_t> mono = {100, -200};
    std::vector<std::int32_t> mix(8, 0);
    EXPECT_EQ(mixSource(mix.data(), 4, 2, 44100, source16(mono, 1, 22050, {kUnityGain, kUnityGain}), 0, 0, false),
              4u);
    EXPECT_EQ(mix, (std::vector<std::int32_t>{100, 100, 100, 100, -200, -200, -200, -200}));
    // Stereo into a mono output: the mean of the sides, continuing at done.
    std::vector<std::int16_t> stereo = {100, 300, -7, -9};
    mix.assign(1, 0);
    EXPECT_EQ(mixSource(mix.data(), 1, 1, 44100, source16(stereo, 2, 44100, {kUnityGain, kUnityGain}), 0, 1, false),
              1u);
    EXPECT_EQ(mix[0], -8);
    // Unsigned 8-bit samples around 128.
    BYTE bytes[] = {0, 128, 255};
    MixSource eight{bytes, 3, {WAVE_FORMAT_PCM, 1, 8000, 8000, 1, 8, 0}, {kUnityGain, kUnityGain / 2}};
    mix.assign(6, 0);
    mixSource(mix.data(), 3, 2, 8000, eight, 0, 0, false);
    EXPECT_EQ(mix, (std::vector<std::int32_t>{-32768, -16384, 0, 0, 32512, 16256}));
}

TEST(WriteSamples, SaturatesAndWritesEightOrSixteenBits) {
    std::vector<std::int32_t> mix = {70000, -70000, 256, -1};
    std::vector<std::int16_t> wide(4);
    writeSamples(mix.data(), 2, 2, 16, reinterpret_cast<BYTE*>(wide.data()));
    EXPECT_EQ(wide, (std::vector<std::int16_t>{32767, -32768, 256, -1}));
    std::vector<BYTE> narrow(4);
    writeSamples(mix.data(), 4, 1, 8, narrow.data());
    EXPECT_EQ(narrow, (std::vector<BYTE>{255, 0, 129, 127}));
}

TEST(IsMixableFormat, TakesPcmOfEightOrSixteenBitsOnly) {
    EXPECT_TRUE(isMixableFormat({WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0}));
    EXPECT_TRUE(isMixableFormat({WAVE_FORMAT_PCM, 1, 100, 100, 1, 8, 0}));
    EXPECT_FALSE(isMixableFormat({WAVE_FORMAT_PCM, 2, 44100, 176400, 2, 16, 0}));   // block align
    EXPECT_FALSE(isMixableFormat({WAVE_FORMAT_PCM, 6, 44100, 529200, 12, 16, 0}));  // channels
    EXPECT_FALSE(isMixableFormat({WAVE_FORMAT_PCM, 2, 44100, 264600, 6, 24, 0}));   // bits
    EXPECT_FALSE(isMixableFormat({WAVE_FORMAT_PCM, 2, 99, 396, 4, 16, 0}));         // rate
    EXPECT_FALSE(isMixableFormat({0x55, 2, 44100, 20000, 1, 0, 12}));               // MPEG layer 3
}

// A WAVE_FORMAT_EXTENSIBLE record: the format, then its 22-byte extension.
#pragma pack(push, 1)
struct ExtensibleFormat {
    WAVEFORMATEX format;
    WORD validBits;
    DWORD channelMask;
    BYTE subFormat[16];
};
#pragma pack(pop)

constexpr BYTE kPcmSubFormat[16] = {0x01, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};

ExtensibleFormat extensible(WORD bits, WORD extension, BYTE firstGuidByte) {
    auto block = static_cast<WORD>(2 * bits / 8);
    ExtensibleFormat result{{WAVE_FORMAT_EXTENSIBLE, 2, 44100, 44100u * block, block, bits, extension},
                            bits,
                            3,
                            {}};
    std::memcpy(result.subFormat, kPcmSubFormat, sizeof kPcmSubFormat);
    result.subFormat[0] = firstGuidByte;
    return result;
}

TEST(IsMixableFormat, TakesTheExtensibleFormatByItsPcmSubFormat) {
    struct Case {
        const char* what;
        ExtensibleFormat format;
        bool mixable;
    } cases[] = {
        {"PCM", extensible(16, 22, 0x01), true},
        {"8-bit PCM", extensible(8, 22, 0x01), true},
        {"an extension too short for its sub-format", extensible(16, 21, 0x01), false},
        {"IEEE float samples", extensible(16, 22, 0x03), false},
        {"24-bit PCM", extensible(24, 22, 0x01), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isMixableFormat(c.format.format), c.mixable) << c.what;
        if (!c.mixable) continue;
        // Kept as the plain PCM record its samples are.
        const WAVEFORMATEX kept = mixFormat(c.format.format);
        EXPECT_EQ(kept.wFormatTag, WAVE_FORMAT_PCM) << c.what;
        EXPECT_EQ(kept.cbSize, 0) << c.what;
        EXPECT_EQ(kept.wBitsPerSample, c.format.format.wBitsPerSample) << c.what;
    }
}

}  // namespace
}  // namespace platform::sound
