#pragma once
#include "window/controls.h"
#include "window/window_state.h"

namespace nudgewick {

inline constexpr std::int16_t kPhaseLeft = 5;

// One look at the pointer: nudge it sideways if it has not moved since the
// last look, alternating right and left, and remember where it is now.
void NudgeTick(WindowState& state, Pointer& pointer);

// The nudge itself: the distance to the right, or back to the left when the
// phase says so, and the phase switched.
void NudgeSideways(WindowState& state, Pointer& pointer);

}  // namespace nudgewick
