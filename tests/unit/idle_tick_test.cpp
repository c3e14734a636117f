#include "nudge/idle_tick.h"

#include <deque>

#include "fakes.h"

namespace nudgewick::testing {
namespace {

using Idle = std::optional<std::int64_t>;
using Moves = std::vector<std::int32_t>;

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
TEST(NudgeTickWhenIdleTest, NudgesWhenNothingButOurNudgeCameSinceTheLastTick) {
    const struct {
        const char* why;
        std::int16_t interval, pixels;
        std::vector<Idle> readings;
        Moves moves;
        std::int16_t phase;
    } cases[] = {
        {"left alone: right, left, right", 3000, 3, {3000, 2990, 3004}, {3, -3, 3}, 5},
        {"our nudge arrived late, the timer too", 3000, 3, {3000, 2001}, {3, -3}, 0},
        {"input after our nudge holds it back", 3000, 3, {3000, 1999, 0}, {3}, 5},
        {"held back, then left alone: the phase goes on", 3000, 3, {3000, 500, 3000}, {3, -3}, 0},
        {"idle since long before the tick", 10000, 2, {600000}, {2}, 5},
        {"an unknown idle time counts as away", 3000, 3, {std::nullopt, 0}, {3}, 5},
        {"zero distance still moves", 3000, 0, {3000, 3000}, {0, 0}, 0},
        {"negative distance goes left first", 3000, -4, {3000}, {-4}, 5},
        {"the longest interval", 32767, 3, {31767, 31766}, {3}, 5},
    };
    for (const auto& c : cases) {
        FakePointer pointer;
        pointer.readFails = true;  // a Wayland client cannot read it
        FakeIdle idle;
        idle.readings.assign(c.readings.begin(), c.readings.end());
        WindowState state;
        state.nInterval = c.interval;
        state.nPixels = c.pixels;
        while (!idle.readings.empty()) NudgeTickWhenIdle(state, pointer, idle);
        EXPECT_EQ(pointer.moves, c.moves) << c.why;
        EXPECT_EQ(state.x, c.phase) << c.why;
    }
}

// The window hands its ticks to the idle rule when given an idle source, and
// to the pointer rule without: a pointer that moved diagonally since the last
// look is not nudged by position, yet is by idle time.
TEST(NudgeTickWhenIdleTest, TheWindowTicksByIdleTimeWhereItHasASource) {
    for (const bool withIdle : {false, true}) {
        Rig rig("3000 3");
        FakeIdle idle;
        idle.readings = {3000, 3000};
        frmMain form{FormParts{rig.txtInterval, rig.txtPixels, rig.btoGO, rig.lblURL, rig.timer, rig.messages,
                               rig.pointer, rig.launcher, rig.commandLine, rig.sessionTimer, rig.clock,
                               withIdle ? &idle : nullptr}};
        form.Form_Load();
        form.Timer1_Timer();  // the pointer rule's first look, at (400, 300)
        rig.pointer.moves.clear();
        rig.pointer.at = {450, 350};
        form.Timer1_Timer();
        EXPECT_EQ(rig.pointer.moves, withIdle ? Moves{-3} : Moves{}) << withIdle;
    }
}

}  // namespace
}  // namespace nudgewick::testing
