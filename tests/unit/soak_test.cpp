// A million ticks with the pointer left alone: however long the program runs,
// the nudges alternate right and left, cancel out exactly and never drift.

#include <gtest/gtest.h>

#include <cstdint>

#include "nudge/tick.h"

namespace nudgewick {
namespace {

constexpr int kTicks = 1'000'000;  // even, so the pointer should end where it started

// A pointer that moves only when nudged. It keeps counts, never a history, so
// its memory is the same after a million ticks as after one.
class StillPointer : public Pointer {
public:
    StillPointer(Point start, std::int32_t distance) : at_(start), distance_(distance) {}

    void Read(Point& where) override { where = at_; }
    void MoveBy(std::int32_t dx, std::int32_t dy) override {
        const std::int32_t expected = moves_ % 2 == 0 ? distance_ : -distance_;  // right, then left
        if (dx != expected || dy != 0) ++wrongMoves_;
        ++moves_;
        at_.x += dx;
        at_.y += dy;
    }

    Point at() const { return at_; }
    int moves() const { return moves_; }
    int wrongMoves() const { return wrongMoves_; }

private:
    Point at_;
    std::int32_t distance_;
    int moves_ = 0;
    int wrongMoves_ = 0;
};

class Soak : public ::testing::TestWithParam<std::int16_t> {};

// The extremes: -32768 has no 16-bit negation, and 32767 carries the pointer
// beyond the 16-bit range every other tick.
TEST_P(Soak, NudgesAlternateAndCancelOutOverAMillionTicks) {
    const std::int16_t distance = GetParam();
    const Point start{400, 300};
    StillPointer pointer(start, distance);
    WindowState state;
    state.nPixels = distance;
    state.Lastx = static_cast<std::int16_t>(start.x);  // as if the last look saw it there
    state.Lasty = static_cast<std::int16_t>(start.y);

    int wrongPhases = 0;
    for (int tick = 1; tick <= kTicks; ++tick) {
        NudgeTick(state, pointer);
        if (state.x != (tick % 2 == 1 ? kPhaseLeft : 0)) ++wrongPhases;
    }

    EXPECT_EQ(pointer.moves(), kTicks);
    EXPECT_EQ(pointer.wrongMoves(), 0);
    EXPECT_EQ(wrongPhases, 0);
    EXPECT_EQ(pointer.at().x, start.x);
    EXPECT_EQ(pointer.at().y, start.y);
}

INSTANTIATE_TEST_SUITE_P(Distances, Soak, ::testing::Values<std::int16_t>(3, 0, -32768, 32767));

}  // namespace
}  // namespace nudgewick
