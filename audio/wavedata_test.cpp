// The RIFF/WAVE walk on hand-made images: where it finds the format and the
// data, and where it stops on images that lie about their sizes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "audio/audio_testenv.h"
#include "audio/directsound.h"

namespace {

std::string le32(std::uint32_t value) {
    return {static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
            static_cast<char>(value >> 24)};
}

std::string chunk(const std::string& id, const std::string& body) {
    return id + le32(static_cast<std::uint32_t>(body.size())) + body +
           (body.size() % 2 != 0 ? std::string(1, '\0') : "");
}

// 16-bit stereo at 44100 Hz, cut to the given number of bytes.
std::string pcmFormat(size_t size, const std::string& extension = "") {
    return (std::string("\x01\x00\x02\x00", 4) + le32(44100) + le32(176400) +
            std::string("\x04\x00\x10\x00", 4) + extension)
        .substr(0, size);
}

std::string riff(const std::string& chunks) {
    return "RIFF" + le32(static_cast<std::uint32_t>(4 + chunks.size())) + "WAVE" + chunks;
}

struct Parsed {
    int result;
    WAVEFORMATEX format;  // zero when none was found
    std::string data;
    std::string end;  // the trace's "END n"
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
    if (format != nullptr) parsed.format = *format;
    if (data != nullptr) parsed.data.assign(reinterpret_cast<const char*>(data), dataSize);
    for (const std::string& line : log.lines()) {
        if (line.rfind("CDirectSound::GetWaveData END", 0) == 0) parsed.end += line.substr(26);
    }
    return parsed;
}

TEST(GetWaveData, FindsFormatAndDataOrSaysWhyNot) {
    const std::string samples("\x01\x02\x03\x04\x05\x06\x07\x08", 8);
    const struct {
        const char* what;
        std::string image;
        int result;
        const char* end;
    } cases[] = {
        {"format, then data", riff(chunk("fmt ", pcmFormat(16)) + chunk("data", samples)), 1, "END 2"},
        {"data before format", riff(chunk("data", samples) + chunk("fmt ", pcmFormat(18))), 1, "END 3"},
        {"empty data before format", riff(chunk("data", "") + chunk("fmt ", pcmFormat(16))), 0,
         "END 1"},
        {"odd chunk and its pad byte",
         riff(chunk("LIST", "abc") + chunk("fmt ", pcmFormat(16)) + chunk("data", samples)), 1,
         "END 2"},
        {"a second format is stepped over",
         riff(chunk("fmt ", pcmFormat(16)) + chunk("fmt ", "x") + chunk("data", samples)), 1, "END 2"},
        {"14-byte format", riff(chunk("fmt ", pcmFormat(14)) + chunk("data", samples)), 1, "END 2"},
        {"13-byte format", riff(chunk("fmt ", pcmFormat(13)) + chunk("data", samples)), 0, "END 4"},
        {"no data chunk", riff(chunk("fmt ", pcmFormat(16))), 0, "END 1"},
        {"not RIFF", "RIFX" + le32(4) + "WAVE", 0, "END 6"},
        {"not WAVE", "RIFF" + le32(4) + "AVI ", 0, "END 5"},
        {"under 12 bytes", "RIFF" + le32(4) + "WAV", 0, "END 6"},
    };
    for (const auto& c : cases) {
        const Parsed parsed = parse(c.image, static_cast<DWORD>(c.image.size()));
        EXPECT_EQ(parsed.result, c.result) << c.what;
        EXPECT_EQ(parsed.end, c.end) << c.what;
        EXPECT_EQ(parsed.data, c.result == 1 ? samples : "") << c.what;
        // The 14-byte record has no sample size: its block alignment implies it.
        EXPECT_EQ(parsed.format.wBitsPerSample, c.result == 1 ? 16 : 0) << c.what;
    }
}

TEST(GetWaveData, StaysInsideTheImage) {
    const std::string samples(100, '\x22');
    const std::string whole = riff(chunk("fmt ", pcmFormat(16)) + chunk("data", samples));
    const DWORD size = static_cast<DWORD>(whole.size());
    // A truncated image: the data is clamped to what is there.
    EXPECT_EQ(parse(whole, size - 40).data.size(), 60u);
    // The data chunk's header is not inside the image.
    EXPECT_EQ(parse(whole, size - 104).end, "END 1");
    // A format chunk that runs past the end is refused.
    EXPECT_EQ(parse(whole.substr(0, 30), 30).end, "END 4");
    // A RIFF size shorter than the chunks ends the walk at the RIFF end.
    const std::string shortRiff = whole.substr(0, 4) + le32(4 + 24 + 8 + 10) + whole.substr(8);
    EXPECT_EQ(parse(shortRiff, CDirectSound::unknownImageSize).data.size(), 10u);
    // An extension larger than the chunk holds is cut to what the chunk gave.
    const std::string extended = pcmFormat(20, std::string("\x30\x00", 2) + "ab");
    EXPECT_EQ(parse(riff(chunk("fmt ", extended) + chunk("data", samples)), size + 4).format.cbSize,
              2);
    // Huge chunk sizes end the walk instead of wrapping around.
    for (std::uint32_t huge : {0xFFFFFFF8u, 0xFFFFFFFFu, 0x7FFFFFFFu}) {
        const std::string image = riff("JUNK" + le32(huge) + chunk("fmt ", pcmFormat(16)));
        EXPECT_EQ(parse(image, static_cast<DWORD>(image.size())).end, "END 1") << huge;
        EXPECT_EQ(parse(image, CDirectSound::unknownImageSize).end, "END 1") << huge;
    }
}

}  // namespace
