// The RIFF/WAVE walk on hand-made images: where it finds the format and the
// data, and where it stops on images that lie about their sizes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "audio/audio_testenv.h"
#include "audio/directsound.h"

namespace {

std::string le32(std::uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[static_cast<size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return bytes;
}

std::string chunk(const std::string& id, const std::string& body) {
    std::string bytes = id + le32(static_cast<std::uint32_t>(body.size())) + body;
    if (body.size() % 2 != 0) {
        bytes += '\0';
    }
    return bytes;
}

// 16-bit stereo at 44100 Hz, cut to the given number of bytes.
std::string pcmFormat(size_t size) {
    std::string format = std::string("\x01\x00\x02\x00", 4) + le32(44100) + le32(176400) +
                         std::string("\x04\x00\x10\x00\x00\x00", 6);
    return format.substr(0, size);
}

std::string riff(const std::string& chunks) {
    return "RIFF" + le32(static_cast<std::uint32_t>(4 + chunks.size())) + "WAVE" + chunks;
}

struct Parsed {
    int result;
    const WAVEFORMATEX* format;
    std::string data;
    std::vector<std::string> trace;
};

Parsed parse(const std::string& image, DWORD size) {
    TraceLog log;
    CDirectSound sound("");
    WAVEFORMATEX* format = nullptr;
    BYTE* data = nullptr;
    DWORD dataSize = 0;
    Parsed parsed{};
    parsed.result = sound.GetWaveData(reinterpret_cast<const BYTE*>(image.data()), size, &format,
                                      &data, &dataSize);
    parsed.format = format;
    if (data != nullptr) {
        const auto* begin = reinterpret_cast<const BYTE*>(image.data());
        EXPECT_GE(data, begin);
        EXPECT_LE(data + dataSize, begin + image.size());
        parsed.data.assign(reinterpret_cast<const char*>(data), dataSize);
    }
    for (const std::string& line : log.lines()) {
        if (line.rfind("CDirectSound::GetWaveData END", 0) == 0) {
            parsed.trace.push_back(line.substr(26));
        }
    }
    if (parsed.format != nullptr) {
        // The format is the object's own copy, gone with it: keep what counts.
        static WAVEFORMATEX copy;
        copy = *parsed.format;
        parsed.format = &copy;
    }
    return parsed;
}

TEST(GetWaveData, FindsFormatAndDataInEitherOrder) {
    struct Case {
        const char* what;
        std::string image;
        int result;
        const char* end;
        std::string data;
    };
    const std::string samples("\x01\x02\x03\x04\x05\x06\x07\x08", 8);
    const Case cases[] = {
        {"format, then data", riff(chunk("fmt ", pcmFormat(16)) + chunk("data", samples)), 1, "END 2",
         samples},
        {"data before format", riff(chunk("data", samples) + chunk("fmt ", pcmFormat(18))), 1,
         "END 3", samples},
        {"empty data before format, none after",
         riff(chunk("data", "") + chunk("fmt ", pcmFormat(16))), 0, "END 1", ""},
        {"odd chunk and its pad byte",
         riff(chunk("LIST", "abc") + chunk("fmt ", pcmFormat(16)) + chunk("data", samples)), 1,
         "END 2", samples},
        {"a second format is stepped over",
         riff(chunk("fmt ", pcmFormat(16)) + chunk("fmt ", "x") + chunk("data", samples)), 1,
         "END 2", samples},
        {"14-byte format", riff(chunk("fmt ", pcmFormat(14)) + chunk("data", samples)), 1, "END 2",
         samples},
        {"13-byte format", riff(chunk("fmt ", pcmFormat(13)) + chunk("data", samples)), 0, "END 4",
         ""},
        {"no data chunk", riff(chunk("fmt ", pcmFormat(16))), 0, "END 1", ""},
        {"not RIFF", "RIFX" + riff("").substr(4), 0, "END 6", ""},
        {"not WAVE", "RIFF" + le32(4) + "AVI ", 0, "END 5", ""},
        {"under 12 bytes", "RIFF" + le32(4) + "WAV", 0, "END 6", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Parsed parsed = parse(c.image, static_cast<DWORD>(c.image.size()));
        EXPECT_EQ(parsed.result, c.result);
        EXPECT_EQ(parsed.trace, std::vector<std::string>{c.end});
        EXPECT_EQ(parsed.data, c.data);
        EXPECT_EQ(parsed.format != nullptr, c.result == 1);
    }
}

TEST(GetWaveData, ShortFormatsAreCopiedIntoAZeroFilledRecord) {
    const std::string samples(8, '\x11');
    // The 14-byte record has no sample size: the block alignment implies it.
    Parsed parsed = parse(riff(chunk("fmt ", pcmFormat(14)) + chunk("data", samples)), 0xFFFFFFFF);
    ASSERT_EQ(parsed.result, 1);
    EXPECT_EQ(parsed.format->wBitsPerSample, 16);
    EXPECT_EQ(parsed.format->cbSize, 0);
    EXPECT_EQ(parsed.format->nSamplesPerSec, 44100u);

    // An extension larger than the chunk holds is cut to what the chunk gave.
    std::string extended = pcmFormat(16) + std::string("\x30\x00", 2) + "ab";
    parsed = parse(riff(chunk("fmt ", extended) + chunk("data", samples)), 0xFFFFFFFF);
    ASSERT_EQ(parsed.result, 1);
    EXPECT_EQ(parsed.format->cbSize, 2);
}

TEST(GetWaveData, StopsAtTheEndOfTheImage) {
    const std::string samples(100, '\x22');
    const std::string whole = riff(chunk("fmt ", pcmFormat(16)) + chunk("data", samples));
    // A truncated image: the data is clamped to what is there.
    Parsed parsed = parse(whole, static_cast<DWORD>(whole.size() - 40));
    EXPECT_EQ(parsed.result, 1);
    EXPECT_EQ(parsed.data.size(), 60u);

    // The header of the data chunk is not inside the image.
    parsed = parse(whole, static_cast<DWORD>(whole.size() - 100 - 4));
    EXPECT_EQ(parsed.result, 0);
    EXPECT_EQ(parsed.trace, std::vector<std::string>{"END 1"});

    // A format chunk that runs past the end is refused.
    parsed = parse(whole.substr(0, 30), 30);
    EXPECT_EQ(parsed.result, 0);
    EXPECT_EQ(parsed.trace, std::vector<std::string>{"END 4"});

    // A RIFF size shorter than the chunks ends the walk at the RIFF end.
    std::string shortRiff = whole;
    shortRiff.replace(4, 4, le32(4 + 24 + 8 + 10));
    parsed = parse(shortRiff, 0xFFFFFFFF);
    EXPECT_EQ(parsed.result, 1);
    EXPECT_EQ(parsed.data.size(), 10u);
}

TEST(GetWaveData, HugeChunkSizesEndTheWalk) {
    for (std::uint32_t size : {0xFFFFFFF8u, 0xFFFFFFFFu, 0x7FFFFFFFu}) {
        SCOPED_TRACE(size);
        const std::string junk = "JUNK" + le32(size);
        const std::string image = riff(junk + chunk("fmt ", pcmFormat(16)));
        Parsed parsed = parse(image, static_cast<DWORD>(image.size()));
        EXPECT_EQ(parsed.result, 0);
        // Without the image's end the RIFF size alone bounds the walk.
        parsed = parse(image, 0xFFFFFFFF);
        EXPECT_EQ(parsed.result, 0);
    }
}

}  // namespace
