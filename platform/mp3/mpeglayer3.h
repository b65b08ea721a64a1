// The wave format record of MPEG layer-3 data: WAVEFORMATEX followed by 12
// bytes that describe the blocks the data comes in. Packed as the format
// defines it: 30 bytes.
#pragma once

#include "platform/core/types.h"
#include "platform/core/waveformat.h"

constexpr WORD WAVE_FORMAT_MPEGLAYER3 = 0x0055;
constexpr WORD MPEGLAYER3_WFX_EXTRA_BYTES = 12;

// wID
constexpr WORD MPEGLAYER3_ID_UNKNOWN = 0;
constexpr WORD MPEGLAYER3_ID_MPEG = 1;
constexpr WORD MPEGLAYER3_ID_CONSTANTFRAMESIZE = 2;

// fdwFlags: how the padding bit of the frames is set.
constexpr DWORD MPEGLAYER3_FLAG_PADDING_ISO = 0x00000000;
constexpr DWORD MPEGLAYER3_FLAG_PADDING_ON = 0x00000001;
constexpr DWORD MPEGLAYER3_FLAG_PADDING_OFF = 0x00000002;

#pragma pack(push, 1)
struct MPEGLAYER3WAVEFORMAT {
    WAVEFORMATEX wfx;
    WORD wID;
    DWORD fdwFlags;
    WORD nBlockSize;
    WORD nFramesPerBlock;
    WORD nCodecDelay;
};
#pragma pack(pop)
static_assert(sizeof(MPEGLAYER3WAVEFORMAT) == 30);

using LPMPEGLAYER3WAVEFORMAT = MPEGLAYER3WAVEFORMAT*;
