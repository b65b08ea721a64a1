#include "platform/sound/voice.h"

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

void Voice::stop(Clock::time_point now) {
    anchorFrame = cursorFrame(now);
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

}  // namespace platform::sound
