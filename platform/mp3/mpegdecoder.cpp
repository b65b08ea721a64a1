#include "platform/mp3/mpegdecoder.h"

#include <mpg123.h>

#include <cerrno>
#include <cmath>
#include <limits>

#include "platform/mp3/comstream.h"


namespace platform {

namespace {

bool libraryReady() {
    static const bool ready = mpg123_init() == MPG123_OK;
    return ready;
}

// The settings of every decoder. Gapless is libmpg123's default where it is
// built in; it is set all the same, since the converter's output and the
// reader's duration must agree. The resync limit stays libmpg123's own: an
// unlimited one finds stray frames in any data at all and plays them as
// noise.
mpg123_handle* newHandle() {
    if (!libraryReady()) return nullptr;
    int error = MPG123_OK;
    mpg123_handle* handle = mpg123_new(nullptr, &error);
    if (handle == nullptr) return nullptr;
    if (mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0) != MPG123_OK) {
        mpg123_delete(handle);
        return nullptr;
    }
    return handle;
}

}  // namespace

std::unique_ptr<MpegFeedDecoder> MpegFeedDecoder::create(long rate, int channels) {
    mpg123_handle* handle = newHandle();
    if (handle == nullptr) return nullptr;
    std::unique_ptr<MpegFeedDecoder> decoder(new MpegFeedDecoder(handle, rate, channels));
    if (!decoder->open()) return nullptr;
    return decoder;
}

MpegFeedDecoder::MpegFeedDecoder(mpg123_handle* handle, long rate, int channels)
    : m_handle(handle), m_rate(rate), m_channels(channels) {}

MpegFeedDecoder::~MpegFeedDecoder() { mpg123_delete(m_handle); }

bool MpegFeedDecoder::open() {
    m_failed = mpg123_format_none(m_handle) != MPG123_OK ||
               mpg123_format(m_handle, m_rate, m_channels == 1 ? MPG123_MONO : MPG123_STEREO,
                             MPG123_ENC_SIGNED_16) != MPG123_OK ||
               mpg123_open_feed(m_handle) != MPG123_OK;
    return !m_failed;
}

bool MpegFeedDecoder::restart() {
    mpg123_close(m_handle);
    return open();
}

bool MpegFeedDecoder::feed(const BYTE* data, std::size_t size) {
    if (m_failed) return false;
    if (size == 0) return true;
    if (mpg123_feed(m_handle, data, size) != MPG123_OK) m_failed = true;
    return !m_failed;
}

MpegFeedDecoder::Status MpegFeedDecoder::decode(BYTE* out, std::size_t capacity,
                                                std::size_t* written) {
    *written = 0;
    if (m_failed) return Status::kError;
    while (*written < capacity) {
        std::size_t done = 0;
        int result = mpg123_read(m_handle, out + *written, capacity - *written, &done);
        *written += done;
        switch (result) {
            case MPG123_OK:
            case MPG123_NEW_FORMAT:
                break;
            case MPG123_NEED_MORE:
                return Status::kMore;
            case MPG123_DONE:
                return Status::kEnd;
            default:
                // No frame within libmpg123's resync limit: what follows is
                // not the clip (junk appended, another file's bytes), and
                // the reader's scan stops at the same place.
                if (mpg123_errcode(m_handle) == MPG123_RESYNC_FAIL) return Status::kEnd;
                m_failed = true;
                return Status::kError;
        }
    }
    return Status::kFull;
}

namespace {

mpg123_ssize_t readStream(void* handle, void* buffer, size_t size) {
    auto* stream = static_cast<IStream*>(handle);
    ULONG count = size > std::numeric_limits<ULONG>::max() ? std::numeric_limits<ULONG>::max()
                                                           : static_cast<ULONG>(size);
    ULONG done = 0;
    if (FAILED(stream->Read(buffer, count, &done))) {
        errno = EIO;
        return -1;
    }
    return static_cast<mpg123_ssize_t>(done);
}

off_t seekStream(void* handle, off_t offset, int whence) {
    auto* stream = static_cast<IStream*>(handle);
    DWORD origin = whence == SEEK_SET   ? STREAM_SEEK_SET
                   : whence == SEEK_CUR ? STREAM_SEEK_CUR
                                        : STREAM_SEEK_END;
    LARGE_INTEGER move;
    move.QuadPart = offset;
    ULARGE_INTEGER position;
    if (FAILED(stream->Seek(move, origin, &position)) ||
        position.QuadPart > static_cast<ULONGLONG>(std::numeric_limits<off_t>::max())) {
        errno = EINVAL;
        return -1;
    }
    return static_cast<off_t>(position.QuadPart);
}

// The scan counts each frame's own samples; the feed decoder resamples a
// frame of another rate than the first (damaged data, or data that is not
// MPEG audio at all, in which stray frames of every rate turn up) to the
// stream's rate, so it gives that many samples more (or fewer, when
// negative) at the clip's rate. Reads the frames from the current one on.
double resampledSurplus(mpg123_handle* handle, long clipRate) {
    double surplus = 0;
    mpg123_frameinfo info;
    for (;;) {
        int result = mpg123_framebyframe_next(handle);
        if ((result != MPG123_OK && result != MPG123_NEW_FORMAT) ||
            mpg123_info(handle, &info) != MPG123_OK) {
            return surplus;
        }
        int samples = mpg123_spf(handle);
        if (samples > 0 && info.rate > 0 && info.rate != clipRate) {
            surplus += samples * (static_cast<double>(clipRate) / static_cast<double>(info.rate) - 1);
        }
    }
}

}  // namespace

bool mpegClipLength(IStream* stream, ULONGLONG* samples, long* rate) {
    *samples = 0;
    *rate = 0;
    LARGE_INTEGER start;
    start.QuadPart = 0;
    if (FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr))) return false;
    mpg123_handle* handle = newHandle();
    if (handle == nullptr) return false;
    bool found = false;
    long clipRate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_replace_reader_handle(handle, readStream, seekStream, nullptr) == MPG123_OK &&
        mpg123_open_handle(handle, stream) == MPG123_OK &&
        mpg123_getformat(handle, &clipRate, &channels, &encoding) == MPG123_OK &&
        mpg123_scan(handle) == MPG123_OK) {
        off_t length = mpg123_length(handle);
        if (length >= 0) length += std::llround(resampledSurplus(handle, clipRate));
        if (length >= 0 && clipRate > 0) {
            *samples = static_cast<ULONGLONG>(length);
            *rate = clipRate;
            found = true;
        }
    }
    mpg123_close(handle);
    mpg123_delete(handle);
    return found;
}

}  // namespace platform
