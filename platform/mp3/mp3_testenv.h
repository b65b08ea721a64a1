// Helpers of the MP3 tests: the recordings made by the build, and the
// conversion loop the audio library uses (its formats are the library's:
// audio/mp3decoder.h).
#pragma once

#include <string>
#include <vector>

#include "platform/win32.h"

namespace mp3testing {

using Bytes = std::vector<BYTE>;

// A file of the build's test data (QUILL_TEST_DATA), whole.
Bytes testData(const std::string& name);

// Converts clip through one stream the audio library's way: blocks of
// blockSize bytes with ACM_STREAMCONVERTF_BLOCKALIGN, the rest (possibly
// nothing) with ACM_STREAMCONVERTF_END, the destination sized by
// acmStreamSize unless destinationSize is given; then, with a destination
// given, conversions of no source until nothing more comes. Every call
// must succeed (checked with GoogleTest assertions).
Bytes convert(const Bytes& clip, DWORD blockSize = 522, DWORD destinationSize = 0);

// A stream over a new global block holding bytes; the stream owns the
// block.
IStream* streamOn(const Bytes& bytes);

}  // namespace mp3testing
