// MP3 data to one buffer of 16-bit stereo PCM at 44100 Hz.
//
// The media reader tells the clip's duration, which sizes the buffer (plus a
// millisecond of headroom); the compression manager converts the MP3 bytes
// in blocks of 522 bytes. The buffer grows when the conversion gives more
// than the duration promised, or when there is no duration to go by, so no
// clip loses its end. The working storage is process-wide: decodes must not
// overlap.
#pragma once

#include <vector>

#include "platform/win32.h"

// MPEG layer-3 blocks the conversion reads at a time (160 kbit/s at 44100 Hz).
constexpr DWORD mp3BlockSize = 522;

// Replaces pcm with the decoded samples. False, with everything that was set
// up released, when a platform service fails or the data does not convert;
// pcm may then hold the beginning of the clip.
bool decodeMp3ToPcm(const BYTE* bytes, DWORD count, std::vector<BYTE>& pcm);

// The PCM bytes the duration promises: 176400 bytes a second, plus 1 ms.
// A Duration of 10 000 000 (one second, in 100-ns units) gives 176577.
DWORD pcmSizeForDuration(ULONGLONG duration);
