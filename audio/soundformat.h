// What a sound's format allows: whether it can be played, and how long a
// number of data bytes lasts in it.
#pragma once

#include "platform/win32.h"

// At least 8 bits per sample, at least one channel, a rate and a block
// alignment: the least a format needs before its duration or a position in
// it can be computed.
bool isPlayableFormat(const WAVEFORMATEX& format);

struct SoundLength {
    DWORD samples;   // sample values over all channels
    int durationMs;  // truncated toward zero
};
// For a playable format: samples = size / (bits / 8), and the duration of
// that many samples over channels x rate (a 32-bit product), in milliseconds.
SoundLength soundLength(DWORD size, const WAVEFORMATEX& format);
