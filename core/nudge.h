#pragma once
#include <cstdint>

#include "core/controls.h"

namespace nudgewick {

// Which way the next nudge goes.
enum class NudgePhase : std::uint8_t { Right, Left };

// Everything the main window remembers, 16-bit signed like the values the
// boxes can hold. All zero (the phase Right) when the window is created.
struct WindowState {
    std::int16_t interval = 0;  // milliseconds between ticks
    std::int16_t pixels = 0;    // nudge distance; 0 and negative are allowed
    NudgePhase phase = NudgePhase::Right;
    std::int16_t lastColumn = 0;  // where the pointer was at the last tick
    std::int16_t lastRow = 0;
};

// One look at the pointer: nudge it sideways if it has not moved since the
// last look, alternating right and left, and remember where it is now.
void NudgeIfStill(WindowState& state, Pointer& pointer);

// The nudge itself: the distance to the right, or back to the left when the
// phase says so, and the phase switched.
void NudgeSideways(WindowState& state, Pointer& pointer);

}  // namespace nudgewick
