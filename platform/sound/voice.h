// What a secondary buffer holds and where it is: its samples, its format,
// volume and pan, and two positions. While the buffer plays, the play cursor
// is the clock's: it is where the buffer is in real time since Play, whether
// or not the device takes samples at that pace. The mix position is the
// mixer's: the frames it has sent on, which run ahead of the clock. A stop
// leaves the cursor at the mix position, so that a play from there sends
// nothing twice. The device's mixer lock guards every field.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include "platform/core/types.h"
#include "platform/core/waveformat.h"

namespace platform::sound {

using Clock = std::chrono::steady_clock;

struct Voice {
    std::vector<BYTE> data;
    WAVEFORMATEX format{};
    DWORD frames = 0;
    DWORD caps = 0;
    LONG volume = 0;
    LONG pan = 0;
    bool lost = false;

    // The clock's side: playing from anchorFrame at anchorTime, or stopped
    // at anchorFrame.
    bool playing = false;
    bool looping = false;
    DWORD anchorFrame = 0;
    Clock::time_point anchorTime;

    // The mixer's side: output frames mixed since it started at mixFirst.
    bool mixing = false;
    DWORD mixFirst = 0;
    std::uint64_t mixDone = 0;

    // Ends a play that has run past the end without looping, leaving the
    // cursor at 0 as DirectSound does.
    void settle(Clock::time_point now);
    // The play cursor in frames, settled first.
    DWORD cursorFrame(Clock::time_point now);
    // Starts (or, while playing, changes the looping of) playback at the
    // cursor.
    void play(Clock::time_point now, bool loop);
    // Stops playback, the cursor left at the first frame the mixer has not
    // sent on at outRate, the output's rate: what was sent is heard to its
    // end, and a play from the cursor goes on after it. When the mixer has
    // sent the last frame of a play that does not loop, the cursor is at
    // frames, and a play from there ends at once.
    void stop(Clock::time_point now, DWORD outRate);
    void setCursor(Clock::time_point now, DWORD frame);
    // The frame the mixer takes next at outRate; past the end when it has
    // sent the last frame.
    std::uint64_t nextMixFrame(DWORD outRate) const;
};

}  // namespace platform::sound
