// libmpg123 set up one way for the converter (acm.h) and the reader
// (wmreader.h) alike, so that the two agree on what a clip decodes to:
// gapless (the encoder's delay and padding cut where the LAME header names
// them), quiet, and stepping over damaged data as far as libmpg123
// resynchronises by default (1024 bytes); where it cannot, the clip ends.
#pragma once

#include <cstddef>
#include <memory>

#include "platform/core/types.h"

struct mpg123_handle_struct;
class IStream;

namespace platform {

// Decodes data fed to it piece by piece into 16-bit samples of one rate and
// channel count, whatever the data's own (mono is doubled, other rates are
// resampled).
class MpegFeedDecoder {
public:
    enum class Status { kMore, kFull, kEnd, kError };

    // Null when libmpg123 cannot make the decoder.
    static std::unique_ptr<MpegFeedDecoder> create(long rate, int channels);
    ~MpegFeedDecoder();
    MpegFeedDecoder(const MpegFeedDecoder&) = delete;
    MpegFeedDecoder& operator=(const MpegFeedDecoder&) = delete;

    // Forgets everything fed and decoded: the next byte begins a new clip.
    bool restart();
    bool feed(const BYTE* data, std::size_t size);
    // Decodes what was fed into out, up to capacity bytes; *written gets the
    // count. kMore: all that was fed is decoded; kFull: out is full and more
    // may be there; kEnd: the clip is over, at its last frame or where no
    // frame follows within the resync limit (what follows is not decoded);
    // kError: the decoder failed and decodes nothing more.
    Status decode(BYTE* out, std::size_t capacity, std::size_t* written);

private:
    MpegFeedDecoder(mpg123_handle_struct* handle, long rate, int channels);
    bool open();

    mpg123_handle_struct* m_handle;
    long m_rate;
    int m_channels;
    bool m_failed = false;
};

// The clip in a COM stream, read from its start, as the decoder gives it at
// the clip's own rate: samples per channel, and that rate. The frames are
// scanned, not decoded, up to where the decoder ends the clip; frames of
// another rate count as the decoder resamples them. On well-formed data
// this is what a feed decoder of that rate gives; damaged data, which the
// two take apart each in its own way, may give a frame or two more or less.
// False when the stream holds no MPEG audio.
bool mpegClipLength(IStream* stream, ULONGLONG* samples, long* rate);

}  // namespace platform
