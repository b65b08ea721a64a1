#include "platform/sound/voice.h"

#include <algorithm>

namespace platform::sound {

namespace {

std::uint64_t framesSince(Clock::time_point anchor, Clock::time_point now, DWORD rate) {
    if (now <= anchor) return 0;
    auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(now - anchor).count();
    // Whole seconds apart first, so that hours of play do not overflow.
    auto seconds = static_cast<std::uint64_t>(nanoseconds / 1000000000);
    auto rest = static_cast<std::uint64_t>(nanoseconds % 1000000000);
    return seconds * rate + rest * rate / 1000000000u;
}

}  // namespace

void Voice::settle(Clock::time_point now) {
    if (!playing || looping) return;
    if (anchorFrame + framesSince(anchorTime, now, format.nSamplesPerSec) >= frames) {
        playing = false;
        anchorFrame = 0;
    }
}

DWORD Voice::cursorFrame(Clock::time_point now) {
    settle(now);
    if (!playing || frames == 0) return anchorFrame;
    std::uint64_t at = anchorFrame + framesSince(anchorTime, now, format.nSamplesPerSec);
    return static_cast<DWORD>(at % frames);
}

void Voice::play(Clock::time_point now, bool loop) {
    DWORD cursor = cursorFrame(now);
    bool wasPlaying = playing;
    playing = true;
    looping = loop;
    anchorFrame = cursor;
    anchorTime = now;
    if (!wasPlaying || !mixing) {
        mixing = true;
        mixFirst = cursor;
        mixDone = 0;
    }
}

void Voice::stop(Clock::time_point now, DWORD outRate) {
    anchorFrame = cursorFrame(now);
    if (playing) {
        // The mixer hands its periods to the device ahead of the clock; they
        // cannot be taken back from a stream that other buffers share.
        std::uint64_t next = mixing ? nextMixFrame(outRate) : frames;
        if (looping && frames != 0) next %= frames;
        anchorFrame = static_cast<DWORD>(std::min<std::uint64_t>(next, frames));
    }
    playing = false;
    mixing = false;
}

void Voice::setCursor(Clock::time_point now, DWORD frame) {
    anchorFrame = frame;
    anchorTime = now;
    if (playing) {
        mixing = true;
        mixFirst = frame;
        mixDone = 0;
    }
}

std::uint64_t Voice::nextMixFrame(DWORD outRate) const {
    if (outRate == 0) return mixFirst;
    return mixFirst + mixDone * format.nSamplesPerSec / outRate;
}

}  // namespace platform::sound
