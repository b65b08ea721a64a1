// The Audio Compression Manager as far as the system converts with it: a
// conversion stream from MPEG layer-3 data (MPEGLAYER3WAVEFORMAT) to 16-bit
// PCM of the same rate and channel count, fed block by block.
//
// The decoder is libmpg123, gapless: the encoder's delay and padding, where
// the data's LAME header names them, are cut, so a clip converts to exactly
// the samples that were encoded, as the Windows Media reader's Duration
// (wmreader.h) counts them. Any other pair of formats is ACMERR_NOTPOSSIBLE.
//
// A conversion takes the whole source given and writes what fits into the
// destination; decoded output that does not fit is kept by the stream and
// written first by the next conversion, so nothing is lost as long as the
// caller goes on converting (with no source, if need be) until a
// conversion uses nothing of its destination. acmStreamSize answers a
// destination large enough for what the given source decodes to when its
// frames are of the source format's rate, so a caller that sizes its
// destination by it has nothing kept back after the last block of such a
// clip. (Damaged data that switches to another rate is resampled to the
// stream's, and its small frames can give more, which is then kept.)
//
// Streams are synchronous. One stream must not be used by two threads at
// once; different streams are independent.
#pragma once

#include "platform/core/types.h"
#include "platform/core/waveformat.h"
#include "platform/mp3/mpeglayer3.h"

using MMRESULT = UINT;

QUILL_DECLARE_HANDLE(HACMSTREAM);
QUILL_DECLARE_HANDLE(HACMDRIVER);
using LPHACMSTREAM = HACMSTREAM*;

// Results.
constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_ERROR = 1;
constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
constexpr MMRESULT MMSYSERR_NOMEM = 7;
constexpr MMRESULT MMSYSERR_NOTSUPPORTED = 8;
constexpr MMRESULT MMSYSERR_INVALFLAG = 10;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
constexpr MMRESULT ACMERR_BASE = 512;
constexpr MMRESULT ACMERR_NOTPOSSIBLE = ACMERR_BASE + 0;
constexpr MMRESULT ACMERR_BUSY = ACMERR_BASE + 1;
constexpr MMRESULT ACMERR_UNPREPARED = ACMERR_BASE + 2;
constexpr MMRESULT ACMERR_CANCELED = ACMERR_BASE + 3;

// acmStreamOpen flags. Only a query and the (meaningless here) non-real-time
// hint are served; a callback is not.
constexpr DWORD ACM_STREAMOPENF_QUERY = 0x00000001;
constexpr DWORD ACM_STREAMOPENF_ASYNC = 0x00000002;
constexpr DWORD ACM_STREAMOPENF_NONREALTIME = 0x00000004;

// acmStreamSize flags: which side the given size is of.
constexpr DWORD ACM_STREAMSIZEF_SOURCE = 0x00000000;
constexpr DWORD ACM_STREAMSIZEF_DESTINATION = 0x00000001;

// acmStreamConvert flags. START forgets everything converted before (a new
// clip); END marks the last source of a clip.
constexpr DWORD ACM_STREAMCONVERTF_BLOCKALIGN = 0x00000004;
constexpr DWORD ACM_STREAMCONVERTF_START = 0x00000010;
constexpr DWORD ACM_STREAMCONVERTF_END = 0x00000020;

// ACMSTREAMHEADER.fdwStatus
constexpr DWORD ACMSTREAMHEADER_STATUSF_DONE = 0x00010000;
constexpr DWORD ACMSTREAMHEADER_STATUSF_PREPARED = 0x00020000;
constexpr DWORD ACMSTREAMHEADER_STATUSF_INQUEUE = 0x00100000;

// A conversion's buffers. cbStruct is sizeof(ACMSTREAMHEADER): 84 bytes on
// 32-bit Windows, more with 64-bit pointers, but 84 is taken too, as code
// written for 32-bit Windows sets it; a smaller one is refused.
// Preparing records the source and destination lengths in the reserved
// words; a conversion may use less than was prepared, and unpreparing
// needs the prepared lengths back in cbSrcLength and cbDstLength.
struct ACMSTREAMHEADER {
    DWORD cbStruct;
    DWORD fdwStatus;
    DWORD_PTR dwUser;
    LPBYTE pbSrc;
    DWORD cbSrcLength;
    DWORD cbSrcLengthUsed;
    DWORD_PTR dwSrcUser;
    LPBYTE pbDst;
    DWORD cbDstLength;
    DWORD cbDstLengthUsed;
    DWORD_PTR dwDstUser;
    DWORD dwReservedDriver[10];
};
using LPACMSTREAMHEADER = ACMSTREAMHEADER*;

// Filters are not served; the record is only named.
struct WAVEFILTER;
using LPWAVEFILTER = WAVEFILTER*;

// Opens a stream from source to destination: a driver (had) must be null,
// the filter null, and the callback and instance are ignored. With
// ACM_STREAMOPENF_QUERY only answers whether the pair converts; *stream
// may then be null. On failure *stream (when given) is null.
MMRESULT acmStreamOpen(LPHACMSTREAM stream, HACMDRIVER had, LPWAVEFORMATEX source,
                       LPWAVEFORMATEX destination, LPWAVEFILTER filter, DWORD_PTR callback,
                       DWORD_PTR instance, DWORD flags);
// With ACM_STREAMSIZEF_SOURCE: the largest output that size bytes of
// source can give. With ACM_STREAMSIZEF_DESTINATION: the source bytes whose
// output surely fits size bytes (0 when not even one block does).
MMRESULT acmStreamSize(HACMSTREAM stream, DWORD size, LPDWORD answer, DWORD flags);
// Preparing a header that is already prepared does nothing and succeeds.
MMRESULT acmStreamPrepareHeader(HACMSTREAM stream, LPACMSTREAMHEADER header, DWORD flags);
// Converts cbSrcLength bytes at pbSrc into at most cbDstLength bytes at
// pbDst; sets cbSrcLengthUsed, cbDstLengthUsed and the DONE status. A
// header not prepared on this stream is ACMERR_UNPREPARED; lengths above
// the prepared ones are MMSYSERR_INVALPARAM. Data that is not MPEG audio
// is stepped over and converts to nothing; where no frame follows within
// libmpg123's resync limit (junk after a clip), the clip ends and the rest
// converts to nothing.
MMRESULT acmStreamConvert(HACMSTREAM stream, LPACMSTREAMHEADER header, DWORD flags);
// Refused with MMSYSERR_INVALPARAM, the header staying prepared, unless
// cbSrcLength and cbDstLength are the prepared lengths again.
MMRESULT acmStreamUnprepareHeader(HACMSTREAM stream, LPACMSTREAMHEADER header, DWORD flags);
// A closed handle is MMSYSERR_INVALHANDLE from then on.
MMRESULT acmStreamClose(HACMSTREAM stream, DWORD flags);
