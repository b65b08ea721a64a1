// The C runtime's random numbers with the Windows runtime's generator.
//
// rand and srand keep their standard names and declarations (<cstdlib>), but
// within our programs and libraries they are the Windows runtime's linear
// congruential generator: the same sequence for the same seed as there,
// values 0 to 32767, one state per thread, seeded with 1 until srand is
// called. Our definitions are hidden, so the C library's own rand stays what
// it is for everyone else in the process (the JVM among them).
#pragma once

#include <cstdlib>

// The largest value our rand gives: the Windows runtime's RAND_MAX, which
// the C library's RAND_MAX is not.
constexpr int QUILL_RAND_MAX = 32767;
