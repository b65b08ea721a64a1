// The wave format record shared by DirectSound, the compression manager and
// the WAVE files of the system. Packed as the format defines it: 18 bytes,
// the size of the "fmt " chunk of a WAVE file with an extra-size field.
#pragma once

#include "platform/core/types.h"

constexpr WORD WAVE_FORMAT_PCM = 1;
// A format record followed by cbSize bytes of extension, of which the first
// 22 are the valid bits per sample, the channel mask and the GUID of the
// sample format.
constexpr WORD WAVE_FORMAT_EXTENSIBLE = 0xFFFE;

#pragma pack(push, 1)
struct WAVEFORMATEX {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
    WORD wBitsPerSample;
    WORD cbSize;
};
// The older record without cbSize: the 16-byte "fmt " chunk.
struct WAVEFORMAT {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
};
struct PCMWAVEFORMAT {
    WAVEFORMAT wf;
    WORD wBitsPerSample;
};
#pragma pack(pop)
static_assert(sizeof(WAVEFORMATEX) == 18);
static_assert(sizeof(PCMWAVEFORMAT) == 16);

using LPWAVEFORMATEX = WAVEFORMATEX*;
using LPCWAVEFORMATEX = const WAVEFORMATEX*;
