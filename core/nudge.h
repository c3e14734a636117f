#pragma once
#include <cstdint>

#include "core/controls.h"

namespace nudgewick {

// Which way the next nudge goes.
enum class NudgePhase : std::uint8_t { Right, Left };

// What the nudges go by and remember from tick to tick, 16-bit signed like
// the values the boxes can hold. All zero (the phase Right) at the start.
struct NudgeState {
    std::int16_t interval = 0;  // milliseconds between ticks
    std::int16_t pixels = 0;    // nudge distance; 0 and negative are allowed
    NudgePhase phase = NudgePhase::Right;
    std::int16_t lastColumn = 0;  // where the pointer was at the last tick
    std::int16_t lastRow = 0;
};

// One look at the pointer: nudge it sideways if it has not moved since the
// last look, alternating right and left, and remember where it is now.
void NudgeIfStill(NudgeState& state, Pointer& pointer);

// A tick that may not nudge: it only remembers where the pointer is, so that
// the next tick that may compares against a fresh position.
void RememberPointer(NudgeState& state, Pointer& pointer);

// The nudge itself: the distance to the right, or back to the left when the
// phase says so, and the phase switched.
void NudgeSideways(NudgeState& state, Pointer& pointer);

// The program's own nudge came at the previous tick, so with the user away
// the idle time at this tick is the interval, less the moment the nudge took
// to arrive and the timer's lateness. Input that came within this margin of
// the interval is taken for that nudge: a user who touched the computer just
// after a nudge and then left it alone gets one more.
inline constexpr std::int64_t kNudgeEchoMilliseconds = 1000;

// One tick where only idle time is known (no client may read the pointer on
// Wayland): the user counts as away when nothing but our own nudge came since
// the previous tick; then the pointer is nudged, alternating as NudgeIfStill
// does. An idle time the desktop could not tell counts as away, as a failed
// pointer read does.
void NudgeIfIdle(NudgeState& state, Pointer& pointer, IdleSource& idle);

}  // namespace nudgewick
