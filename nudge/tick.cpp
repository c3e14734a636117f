#include "nudge/tick.h"

#include <algorithm>
#include <limits>

namespace nudgewick {
namespace {

// A pointer parked beyond the 16-bit range is pinned to its edge, so that it
// still compares equal to itself on the next tick.
std::int16_t Narrow(std::int32_t coordinate) {
    using Limits = std::numeric_limits<std::int16_t>;
    return static_cast<std::int16_t>(std::clamp<std::int32_t>(coordinate, Limits::min(), Limits::max()));
}

}  // namespace

void NudgeTick(WindowState& state, Pointer& pointer) {
    Point sample{0, 0};
    pointer.Read(sample);
    const std::int16_t column = Narrow(sample.x);
    const std::int16_t row = Narrow(sample.y);

    // Inclusive or: a move along one axis alone still counts as still.
    if (row == state.Lasty || column == state.Lastx) {
        // Widened first: -(-32768) does not fit in 16 bits.
        const std::int32_t distance = state.nPixels;
        if (state.x == kPhaseLeft) {
            pointer.MoveBy(-distance, 0);
            state.x = 0;
        } else {
            pointer.MoveBy(distance, 0);
            state.x = kPhaseLeft;
        }
        pointer.Read(sample);
    }
    state.Lastx = Narrow(sample.x);
    state.Lasty = Narrow(sample.y);
}

}  // namespace nudgewick
