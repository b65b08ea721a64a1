// Numeric helpers: uniform random numbers from the C runtime's generator,
// gaussian ones from a table of normal quantiles, logarithms that take zero
// and negative arguments, decibels, the sigmoid and byte order.
//
// The gaussian table and the generator are process-wide and unlocked:
// initialising, freeing and drawing must not run on two threads at once.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <ctime>

#include "platform/win32.h"

// The largest value of the C runtime's rand: on Windows the runtime's own;
// elsewhere our layer's, which stands in for it (the C library's RAND_MAX
// belongs to another generator).
constexpr std::int32_t RANDOM_MAX = QUILL_RAND_MAX;

// Seed 0 takes the low 32 bits of the current time modulo 32767.
void seedRandom(std::int32_t seed);
std::time_t currentTime(std::time_t* value = nullptr);
// 0 ... n - 1; 0 for n = 0.
std::uint32_t randomInt(std::uint32_t n);
// [0, 1)
double random01();
// [-x, x], both ends included.
double randomSymmetric(double x);

// Logarithms of the absolute value; 0 counts as 1e-7.
double safeLn(double x);
double safeLog10(double x);
// 20 log10(b / a). Over a reference of 0 there is no division: b = 0
// gives the floor of safeLog10 (-140 dB), any other b its mirror (+140 dB).
double ratioToDecibel(double a, double b);
double sigmoid(double x);

// The x whose upper-tail probability under the standard normal distribution
// is p, 0 < p <= 0.5 (Abramowitz and Stegun 26.2.23).
double inverseNormal(double p);
// 1 when the table of 1001 normal quantiles is ready, 0 when it could not be
// allocated. Before it is ready, and for an index outside 0 ... 1000, the
// readers answer 0.0.
int initGaussTable();
double gaussTableAt(int index);
double gaussRandom();
void freeGaussTable();

std::int32_t readBigEndian32(const void* bytes);
std::int32_t readNative32(const void* bytes);
std::int32_t byteSwap32(std::int32_t value);
std::int16_t readBigEndian16(const void* bytes);
std::int16_t readNative16(const void* bytes);
std::int16_t byteSwap16(std::int16_t value);
