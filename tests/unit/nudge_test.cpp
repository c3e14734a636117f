#include "core/nudge.h"
#include "fakes.h"

namespace nudgewick::testing {
namespace {

using Moves = std::vector<std::int32_t>;
constexpr NudgePhase R = NudgePhase::Right, L = NudgePhase::Left;

// Ticks from a pointer at start and a history; the moves asked for, and the
// history and phase after the last tick.
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
        pointer.at = c.start;
        pointer.readFails = c.readFails;
        pointer.width = c.width;
        WindowState state;
        state.pixels = c.pixels;
        state.lastColumn = static_cast<std::int16_t>(c.history.x);
        state.lastRow = static_cast<std::int16_t>(c.history.y);
        for (int tick = 0; tick < c.ticks; ++tick) NudgeIfStill(state, pointer);
        EXPECT_EQ(pointer.moves, c.moves) << c.why;
        EXPECT_EQ(state.lastColumn, c.last.x) << c.why;
        EXPECT_EQ(state.lastRow, c.last.y) << c.why;
        EXPECT_EQ(state.phase, c.phase) << c.why;
    }
}

}  // namespace
}  // namespace nudgewick::testing
