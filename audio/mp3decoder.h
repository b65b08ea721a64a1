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

// The two ends of the conversion. Defined here, so that the platform layer's
// tests, benchmark and fuzz target of the conversion open it with the very
// formats this library opens it with, without linking the library.
//
// The source as the recordings are made: MPEG-1 layer 3, stereo, 44100 Hz,
// blocks of mp3BlockSize bytes.
inline MPEGLAYER3WAVEFORMAT mp3SourceFormat() {
    MPEGLAYER3WAVEFORMAT format{};
    format.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    format.wfx.nChannels = 2;
    format.wfx.nSamplesPerSec = 44100;
    format.wfx.nAvgBytesPerSec = 16384;
    format.wfx.nBlockAlign = 1;
    format.wfx.wBitsPerSample = 0;
    format.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
    format.wID = MPEGLAYER3_ID_MPEG;
    format.fdwFlags = MPEGLAYER3_FLAG_PADDING_OFF;
    format.nBlockSize = static_cast<WORD>(mp3BlockSize);
    format.nFramesPerBlock = 1;
    format.nCodecDelay = 1393;
    return format;
}

// The format of the decoded recordings: PCM, 2 channels, 44100 Hz, 16 bits.
inline const WAVEFORMATEX& decodedPcmFormat() {
    static const WAVEFORMATEX format = {WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
    return format;
}

// Replaces pcm with the decoded samples. False, with everything that was set
// up released, when a platform service fails or the data does not convert;
// pcm may then hold the beginning of the clip.
bool decodeMp3ToPcm(const BYTE* bytes, DWORD count, std::vector<BYTE>& pcm);

// The PCM bytes the duration promises: 176400 bytes a second, plus 1 ms.
// A Duration of 10 000 000 (one second, in 100-ns units) gives 176577.
DWORD pcmSizeForDuration(ULONGLONG duration);
