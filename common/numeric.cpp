#include "common/numeric.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/win32.h"

namespace {

constexpr int kGaussEntries = 1001;
constexpr double kLogFloor = 1e-7;

double* GaussTable = nullptr;
int gaussTableReady = 0;

}  // namespace

void seedRandom(std::int32_t seed) {
    auto value = static_cast<std::uint32_t>(seed);
    if (value == 0) {
        auto now = static_cast<std::uint32_t>(currentTime(nullptr));
        value = now % static_cast<std::uint32_t>(RANDOM_MAX);
    }
    srand(value);
}

std::time_t currentTime(std::time_t* value) { return std::time(value); }

std::uint32_t randomInt(std::uint32_t n) {
    return static_cast<std::uint32_t>(rand() / (RANDOM_MAX + 1.0) * static_cast<double>(n));
}

double random01() { return rand() / (RANDOM_MAX + 1.0); }

double randomSymmetric(double x) {
    return (rand() / static_cast<double>(RANDOM_MAX) - 0.5) * (2.0 * x);
}

double safeLn(double x) {
    if (x == 0) return std::log(kLogFloor);
    return std::log(x > 0 ? x : -x);
}

double safeLog10(double x) {
    if (x == 0) return std::log10(kLogFloor);
    return std::log10(x > 0 ? x : -x);
}

double ratioToDecibel(double a, double b) {
    // b / 0 is endlessly loud unless b is silent too: the floor's mirror
    // stands for it.
    if (a == 0) return (b == 0 ? 20.0 : -20.0) * safeLog10(0);
    return 20.0 * safeLog10(b / a);
}

double sigmoid(double x) { return 1.0 / (std::exp(-x) + 1.0); }

double inverseNormal(double p) {
    constexpr double c0 = 2.515517, c1 = 0.802853, c2 = 0.010328;
    constexpr double d1 = 1.432788, d2 = 0.189269, d3 = 0.001308;
    double t = std::sqrt(std::log(1.0 / (p * p)));
    return t - (c0 + c1 * t + c2 * t * t) / (1.0 + d1 * t + d2 * t * t + d3 * t * t * t);
}

int initGaussTable() {
    if (gaussTableReady != 0) return 1;
    GaussTable = static_cast<double*>(std::calloc(kGaussEntries, sizeof(double)));
    if (GaussTable == nullptr) {
        std::fputs("ALLOCATING MEMORY FOR GAUSS RANDOMS FAILED", stderr);
        return 0;
    }
    for (int i = 0; i < 500; ++i) {
        double x = inverseNormal((2.0 * i + 1.0) / 2002.0);
        GaussTable[1000 - i] = x;
        GaussTable[i] = -x;
    }
    gaussTableReady = 1;
    return 1;
}

double gaussTableAt(int index) {
    if (gaussTableReady == 0 || index < 0 || index >= kGaussEntries) return 0.0;
    return GaussTable[index];
}

double gaussRandom() { return gaussTableAt(static_cast<int>(randomInt(kGaussEntries))); }

void freeGaussTable() {
    if (gaussTableReady == 0) return;
    std::free(GaussTable);
    GaussTable = nullptr;
    gaussTableReady = 0;
}

std::int32_t readBigEndian32(const void* bytes) {
    const auto* b = static_cast<const unsigned char*>(bytes);
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(b[0]) << 24) |
                                     (static_cast<std::uint32_t>(b[1]) << 16) |
                                     (static_cast<std::uint32_t>(b[2]) << 8) | b[3]);
}

std::int32_t readNative32(const void* bytes) {
    std::int32_t value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

std::int32_t byteSwap32(std::int32_t value) {
    auto v = static_cast<std::uint32_t>(value);
    return static_cast<std::int32_t>((v << 24) | ((v & 0xFF00u) << 8) | ((v >> 8) & 0xFF00u) |
                                     (v >> 24));
}

std::int16_t readBigEndian16(const void* bytes) {
    const auto* b = static_cast<const unsigned char*>(bytes);
    return static_cast<std::int16_t>((b[0] << 8) | b[1]);
}

std::int16_t readNative16(const void* bytes) {
    std::int16_t value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

std::int16_t byteSwap16(std::int16_t value) {
    auto v = static_cast<std::uint16_t>(value);
    return static_cast<std::int16_t>(((v & 0xFFu) << 8) | (v >> 8));
}
