// Decoding ten seconds of MP3 the audio library's way (the reader's
// duration, then ACM in 522-byte blocks) beside libmpg123 decoding the same
// bytes in one go: the ratio is the cost of the layer, aim for at most 1.1.
// The mpg123 command on the same file (tests/data makes it in the build's
// testdata/ten.mp3) also starts a process and writes its output:
//   perf stat -r 10 mpg123 -q -s build/testdata/ten.mp3 > /dev/null
#include <mpg123.h>

#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "audio/mp3decoder.h"
#include "platform/win32.h"

namespace {

using Bytes = std::vector<BYTE>;

const Bytes& clip() {
    static const Bytes bytes = [] {
        std::ifstream in(TEST_DATA "/ten.mp3", std::ios::binary);
        if (!in) throw std::runtime_error("cannot read " TEST_DATA "/ten.mp3");
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }();
    return bytes;
}

QWORD duration(const Bytes& bytes) {
    HGLOBAL memory = GlobalAlloc(GPTR, bytes.size());
    std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
    GlobalUnlock(memory);
    IStream* stream = nullptr;
    CreateStreamOnHGlobal(memory, FALSE, &stream);
    IWMSyncReader* reader = nullptr;
    WMCreateSyncReader(nullptr, WMT_RIGHT_PLAYBACK, &reader);
    QWORD value = 0;
    if (reader->OpenStream(stream) == S_OK) {
        IWMHeaderInfo* info = nullptr;
        reader->QueryInterface(IID_IWMHeaderInfo, reinterpret_cast<void**>(&info));
        WORD number = 0;
        WMT_ATTR_DATATYPE type;
        WORD length = sizeof value;
        info->GetAttributeByName(&number, g_wszWMDuration, &type,
                                 reinterpret_cast<BYTE*>(&value), &length);
        info->Release();
    }
    reader->Release();
    stream->Release();
    GlobalFree(memory);
    return value;
}

void throughAcm(benchmark::State& state) {
    const Bytes& bytes = clip();
    MPEGLAYER3WAVEFORMAT source = mp3SourceFormat();
    WAVEFORMATEX destination = decodedPcmFormat();
    for (auto _ : state) {
        Bytes pcm(static_cast<std::size_t>(
            176400.0 * (static_cast<double>(duration(bytes)) / 1e7 + 0.001)) + 1);
        HACMSTREAM stream = nullptr;
        acmStreamOpen(&stream, nullptr, &source.wfx, &destination, nullptr, 0, 0, 0);
        DWORD room = 0;
        acmStreamSize(stream, 522, &room, ACM_STREAMSIZEF_SOURCE);
        Bytes block(522), out(room);
        ACMSTREAMHEADER header{};
        header.cbStruct = sizeof header;
        header.pbSrc = block.data();
        header.cbSrcLength = 522;
        header.pbDst = out.data();
        header.cbDstLength = room;
        acmStreamPrepareHeader(stream, &header, 0);
        std::size_t position = 0;
        std::size_t total = 0;
        for (bool last = false; !last;) {
            std::size_t count = std::min<std::size_t>(522, bytes.size() - position);
            std::memcpy(block.data(), bytes.data() + position, count);
            position += count;
            last = count < 522;
            header.cbSrcLength = static_cast<DWORD>(count);
            acmStreamConvert(stream, &header,
                             last ? ACM_STREAMCONVERTF_END : ACM_STREAMCONVERTF_BLOCKALIGN);
            std::size_t fits = std::min<std::size_t>(header.cbDstLengthUsed, pcm.size() - total);
            std::memcpy(pcm.data() + total, out.data(), fits);
            total += fits;
        }
        header.cbSrcLength = 522;
        acmStreamUnprepareHeader(stream, &header, 0);
        acmStreamClose(stream, 0);
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(throughAcm)->Unit(benchmark::kMillisecond);

void libmpg123Alone(benchmark::State& state) {
    const Bytes& bytes = clip();
    Bytes pcm(1 << 23);
    mpg123_init();
    for (auto _ : state) {
        mpg123_handle* handle = mpg123_new(nullptr, nullptr);
        mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);
        mpg123_open_feed(handle);
        mpg123_feed(handle, bytes.data(), bytes.size());
        std::size_t total = 0;
        for (;;) {
            std::size_t done = 0;
            int result = mpg123_read(handle, pcm.data() + total, pcm.size() - total, &done);
            total += done;
            if (result != MPG123_OK && result != MPG123_NEW_FORMAT) break;
        }
        mpg123_delete(handle);
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(libmpg123Alone)->Unit(benchmark::kMillisecond);

}  // namespace
