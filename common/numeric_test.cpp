#include "common/numeric.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Numeric, UniformDrawsFollowTheRuntimesSequence) {
    seedRandom(1);  // 41, 18467, 6334 ...
    EXPECT_EQ(randomInt(32768), 41u);
    EXPECT_DOUBLE_EQ(random01(), 18467 / 32768.0);
    EXPECT_DOUBLE_EQ(randomSymmetric(2.0), (6334 / 32767.0 - 0.5) * 4.0);
    for (int i = 0; i < 200; ++i) {
        ASSERT_EQ(randomInt(1), 0u);
        ASSERT_EQ(randomInt(0), 0u);
        ASSERT_LT(randomInt(7), 7u);
    }
}

TEST(Numeric, LogarithmsAndDecibelsTakeZeroAndNegatives) {
    EXPECT_NEAR(safeLn(0), -16.1181, 1e-4);
    EXPECT_DOUBLE_EQ(safeLn(-std::exp(1.0)), 1.0);
    EXPECT_DOUBLE_EQ(safeLog10(0), -7.0);
    EXPECT_DOUBLE_EQ(ratioToDecibel(1, 10), 20.0);
    EXPECT_NEAR(ratioToDecibel(2, 1), -6.0206, 1e-4);
    // Against a zero reference only silence is at the floor; any other b is
    // as far above it.
    const double zeroReference[][2] = {{0, -140.0}, {1, 140.0}, {-1e-9, 140.0}};
    for (const auto& c : zeroReference) {
        EXPECT_DOUBLE_EQ(ratioToDecibel(0, c[0]), c[1]) << c[0];
    }
    EXPECT_DOUBLE_EQ(sigmoid(0), 0.5);
}

TEST(Numeric, GaussTableIsAntisymmetricAndSafeBeforeItExists) {
    freeGaussTable();
    EXPECT_EQ(gaussTableAt(1000), 0.0);
    EXPECT_EQ(gaussRandom(), 0.0);
    ASSERT_EQ(initGaussTable(), 1);
    EXPECT_EQ(gaussTableAt(500), 0.0);
    EXPECT_NEAR(gaussTableAt(1000), 3.2910, 1e-4);
    for (int k = 0; k <= 1000; ++k) {
        ASSERT_EQ(gaussTableAt(k), -gaussTableAt(1000 - k)) << k;
        if (k > 0) {
            ASSERT_LT(gaussTableAt(k - 1), gaussTableAt(k)) << k;
        }
    }
    EXPECT_EQ(gaussTableAt(-1), 0.0);
    EXPECT_EQ(gaussTableAt(1001), 0.0);
    EXPECT_EQ(initGaussTable(), 1);
    freeGaussTable();
    EXPECT_EQ(gaussTableAt(1000), 0.0);
    EXPECT_EQ(initGaussTable(), 1);
    EXPECT_NEAR(gaussTableAt(0), -3.2910, 1e-4);
    freeGaussTable();
}

TEST(Numeric, ByteOrder) {
    const unsigned char bytes[] = {0, 0, 1, 2};
    EXPECT_EQ(readBigEndian32(bytes), 258);
    EXPECT_EQ(readNative32(bytes), 33619968);
    EXPECT_EQ(byteSwap32(258), 33619968);
    const unsigned char pair[] = {1, 2};
    EXPECT_EQ(readBigEndian16(pair), 258);
    EXPECT_EQ(readNative16(pair), 513);
    EXPECT_EQ(byteSwap16(258), 513);
    EXPECT_EQ(byteSwap16(static_cast<std::int16_t>(0x80FF)), static_cast<std::int16_t>(0xFF80));
}
