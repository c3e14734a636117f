#include "core/idle_nudge.h"

#include <deque>

#include "fakes.h"

namespace nudgewick::testing {
namespace {

using Idle = std::optional<std::int64_t>;
using Moves = std::vector<std::int32_t>;
using enum NudgePhase;

// Answers one reading per tick, in order.
struct FakeIdle : IdleSource {
    std::deque<Idle> readings;
    Idle IdleMilliseconds() override {
        const Idle next = readings.front();
        readings.pop_front();
        return next;
    }
};

// Each tick reads the idle time the desktop would report at it: the interval
// when only our previous nudge came, less when the user gave input since.
TEST(NudgeIfIdleTest, NudgesWhenNothingButOurNudgeCameSinceTheLastTick) {
    const struct {
        const char* why;
        std::int16_t interval, pixels;
        std::vector<Idle> readings;
        Moves moves;
        NudgePhase phase;
    } cases[] = {
        {"left alone: right, left, right", 3000, 3, {3000, 2990, 3004}, {3, -3, 3}, Left},
        {"our nudge arrived late, the timer too", 3000, 3, {3000, 2001}, {3, -3}, Right},
        {"input after our nudge holds it back", 3000, 3, {3000, 1999, 0}, {3}, Left},
        {"held back, then left alone: the phase goes on", 3000, 3, {3000, 500, 3000}, {3, -3}, Right},
        {"idle since long before the tick", 10000, 2, {600000}, {2}, Left},
        {"an unknown idle time counts as away", 3000, 3, {std::nullopt, 0}, {3}, Left},
        {"zero distance still moves", 3000, 0, {3000, 3000}, {0, 0}, Right},
        {"negative distance goes left first", 3000, -4, {3000}, {-4}, Left},
        {"the longest interval", 32767, 3, {31767, 31766}, {3}, Left},
    };
    for (const auto& c : cases) {
        FakePointer pointer;
        pointer.readFails = true;  // a Wayland client cannot read it
        FakeIdle idle;
        idle.readings.assign(c.readings.begin(), c.readings.end());
        WindowState state;
        state.interval = c.interval;
        state.pixels = c.pixels;
        while (!idle.readings.empty()) NudgeIfIdle(state, pointer, idle);
        EXPECT_EQ(pointer.moves, c.moves) << c.why;
        EXPECT_EQ(state.phase, c.phase) << c.why;
    }
}

// The window hands its ticks to the idle rule when given an idle source, and
// to the pointer rule without: a pointer that moved diagonally since the last
// look is not nudged by position, yet is by idle time.
TEST(NudgeIfIdleTest, TheWindowTicksByIdleTimeWhereItHasASource) {
    for (const bool withIdle : {false, true}) {
        FakeIdle idle;
        idle.readings = {3000, 3000};
        Rig rig("3000 3", 17 * 3600, withIdle ? &idle : nullptr);
        rig.window.OnTick();  // the pointer rule's first look, at (400, 300)
        rig.pointer.moves.clear();
        rig.pointer.at = {450, 350};
        rig.window.OnTick();
        EXPECT_EQ(rig.pointer.moves, withIdle ? Moves{-3} : Moves{}) << withIdle;
    }
}

}  // namespace
}  // namespace nudgewick::testing
