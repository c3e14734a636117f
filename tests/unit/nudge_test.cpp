#include "core/nudge.h"

#include "fakes.h"

namespace nudgewick::testing {
namespace {

using Moves = std::vector<std::int32_t>;
using Idle = std::optional<std::int64_t>;
constexpr NudgePhase R = NudgePhase::Right, L = NudgePhase::Left;

// Ticks from a pointer at start and a history; the moves asked for, and the history and phase after the last tick.
TEST(NudgeTest, NudgesWhenEitherCoordinateIsUnchanged) {
    const struct {
        const char* why;
        Point start, history;
        std::int16_t pixels;
        int ticks;
        Moves moves;
        Point last;
        NudgePhase phase;
        bool readFails = false;
        std::int32_t width = 1 << 20;  // where the screen ends on the right
    } cases[] = {
        {"left alone: right, left, right", {400, 300}, {400, 300}, 3, 3, {3, -3, 3}, {403, 300}, L},
        {"zero distance still moves", {400, 300}, {400, 300}, 0, 2, {0, 0}, {400, 300}, R},
        {"negative distance goes left first", {400, 300}, {400, 300}, -4, 1, {-4}, {396, 300}, L},
        {"moved along the row only", {450, 300}, {400, 300}, 3, 1, {3}, {453, 300}, L},
        {"moved diagonally: history only", {410, 320}, {400, 300}, 3, 1, {}, {410, 320}, R},
        {"first tick in column 0", {0, 500}, {0, 0}, 3, 1, {3}, {3, 500}, L},
        {"the edge stops the move; read back", {1023, 300}, {1023, 300}, 3, 2, {3, -3}, {1020, 300}, R, false, 1024},
        {"a failed read counts as (0, 0)", {400, 300}, {400, 300}, 3, 2, {3}, {0, 0}, L, true},
        {"beyond 16 bits pinned to the edge", {70000, 90000}, {400, 300}, 3, 2, {3}, {32767, 32767}, L},
        {"-32768 reverses without overflow", {50000, 300}, {32767, 300}, -32768, 2, {-32768, 32768}, {32767, 300}, R},
    };
    for (const auto& c : cases) {
        FakePointer pointer;
        pointer.at = c.start, pointer.readFails = c.readFails, pointer.width = c.width;
        NudgeState state{
            .pixels = c.pixels, .lastColumn = std::int16_t(c.history.x), .lastRow = std::int16_t(c.history.y)};
        for (int tick = 0; tick < c.ticks; ++tick) NudgeIfStill(state, pointer);
        EXPECT_EQ(std::tuple(pointer.moves, state.lastColumn, state.lastRow, state.phase),
                  std::tuple(c.moves, c.last.x, c.last.y, c.phase))
            << c.why;
    }
}

// Answers one reading per tick, in order.
struct FakeIdle : IdleSource {
    explicit FakeIdle(std::vector<Idle> answers) : readings(std::move(answers)) {}
    std::vector<Idle> readings;
    std::size_t read = 0;
    Idle IdleMilliseconds() override { return readings.at(read++); }
};

// Each tick reads the idle time the desktop would report at it: the interval
// when only our previous nudge came, less when the user gave input since.
TEST(NudgeIfIdleTest, NudgesWhenNothingButOurNudgeCameSinceTheLastTick) {
    // Why; the interval and distance; the idle times read; the moves asked for and the phase after them.
    const std::tuple<const char*, std::int16_t, std::int16_t, std::vector<Idle>, Moves, NudgePhase> cases[] = {
        {"left alone: right, left, right", 3000, 3, {3000, 2990, 3004}, {3, -3, 3}, L},
        {"our nudge arrived late, the timer too", 3000, 3, {3000, 2000}, {3, -3}, R},
        {"input after our nudge holds it back", 3000, 3, {3000, 1999, 0}, {3}, L},
        {"held back, then left alone: the phase goes on", 3000, 3, {3000, 500, 3000}, {3, -3}, R},
        {"idle since long before the tick", 10000, 2, {600000}, {2}, L},
        {"an unknown idle time counts as away", 3000, 3, {std::nullopt, 0}, {3}, L},
    };
    for (const auto& [why, interval, pixels, readings, moves, phase] : cases) {
        FakePointer pointer;
        pointer.readFails = true;  // a Wayland client cannot read it
        FakeIdle idle(readings);
        NudgeState state{.interval = interval, .pixels = pixels};
        while (idle.read < idle.readings.size()) NudgeIfIdle(state, pointer, idle);
        EXPECT_EQ(std::pair(pointer.moves, state.phase), std::pair(moves, phase)) << why;
    }
    // The controller hands its ticks to the idle rule when given an idle source, and to the pointer rule without: a
    // pointer that moved diagonally since the last look is not nudged by position, yet is by idle time.
    for (const bool withIdle : {false, true}) {
        FakeIdle idle({3000, 3000});
        Rig rig("3000 3", 17 * 3600, withIdle ? &idle : nullptr);
        rig.Tick();  // the pointer rule's first look, at (400, 300)
        rig.pointer.at = {450, 350};
        rig.Tick();
        EXPECT_EQ(rig.pointer.moves, withIdle ? Moves({3, -3}) : Moves{}) << withIdle;
    }
}

}  // namespace
}  // namespace nudgewick::testing
