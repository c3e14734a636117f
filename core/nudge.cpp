#include "core/nudge.h"

#include <algorithm>
#include <limits>

namespace nudgewick {
namespace {

// A pointer parked beyond the 16-bit range is pinned to its edge, so that it
// still compares equal to itself on the next tick.
std::int16_t ClampTo16Bits(std::int32_t coordinate) {
    using Limits = std::numeric_limits<std::int16_t>;
    return static_cast<std::int16_t>(std::clamp<std::int32_t>(coordinate, Limits::min(), Limits::max()));
}

// A failed read is not detected: the tick's first look reads (0, 0), and a
// look after the nudge keeps the first one's.
Point FirstLook(Pointer& pointer) { return pointer.Read().value_or(Point{0, 0}); }

void LookAgain(Point& sample, Pointer& pointer) {
    if (const auto position = pointer.Read()) sample = *position;
}

void Remember(NudgeState& state, Point sample) {
    state.lastColumn = ClampTo16Bits(sample.x);
    state.lastRow = ClampTo16Bits(sample.y);
}

}  // namespace

void NudgeSideways(NudgeState& state, Pointer& pointer) {
    // Widened first: -(-32768) does not fit in 16 bits.
    const std::int32_t distance = state.pixels;
    const bool left = state.phase == NudgePhase::Left;
    pointer.MoveBy(left ? -distance : distance, 0);
    state.phase = left ? NudgePhase::Right : NudgePhase::Left;
}

void NudgeIfStill(NudgeState& state, Pointer& pointer) {
    Point sample = FirstLook(pointer);
    const std::int16_t column = ClampTo16Bits(sample.x);
    const std::int16_t row = ClampTo16Bits(sample.y);

    // Inclusive or: a move along one axis alone still counts as still.
    if (row == state.lastRow || column == state.lastColumn) {
        NudgeSideways(state, pointer);
        LookAgain(sample, pointer);
    }
    Remember(state, sample);
}

void RememberPointer(NudgeState& state, Pointer& pointer) { Remember(state, FirstLook(pointer)); }

void NudgeIfIdle(NudgeState& state, Pointer& pointer, IdleSource& idle) {
    const auto idleFor = idle.IdleMilliseconds();
    if (!idleFor || *idleFor + kNudgeEchoMilliseconds >= state.interval) NudgeSideways(state, pointer);
}

}  // namespace nudgewick
