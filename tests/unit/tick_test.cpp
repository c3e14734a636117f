#include <gtest/gtest.h>

#include "fakes.h"
#include "nudge/tick.h"

namespace nudgewick::testing {
namespace {

// A still pointer with the history already pointing at it.
struct TickTest : ::testing::Test {
    FakePointer pointer;
    WindowState state;

    void SetUp() override {
        state.nPixels = 3;
        Remember(pointer.at);
    }
    void Remember(Point p) {
        state.Lastx = static_cast<std::int16_t>(p.x);
        state.Lasty = static_cast<std::int16_t>(p.y);
    }
    void Tick() { NudgeTick(state, pointer); }
};

TEST_F(TickTest, UntouchedPointerSwingsBetweenTwoColumns) {
    const std::int32_t start = pointer.at.x;
    for (int tick = 0; tick < 6; ++tick) {
        Tick();
        const bool wentRight = tick % 2 == 0;
        EXPECT_EQ(pointer.at.x, wentRight ? start + 3 : start) << "tick " << tick;
        EXPECT_EQ(state.x, wentRight ? 5 : 0) << "tick " << tick;
        EXPECT_EQ(state.Lastx, pointer.at.x);
    }
    EXPECT_EQ(pointer.moves, (std::vector<std::int32_t>{3, -3, 3, -3, 3, -3}));
}

TEST_F(TickTest, OneUnchangedCoordinateCountsAsStill) {
    pointer.at.x += 50;  // horizontal only: the row still matches
    Tick();
    EXPECT_EQ(pointer.moves.size(), 1u);

    pointer.at.y += 50;  // vertical only: the column still matches
    Tick();
    EXPECT_EQ(pointer.moves.size(), 2u);
}

TEST_F(TickTest, DiagonalMoveSuppressesTheNudgeAndBecomesTheHistory) {
    pointer.at = {pointer.at.x + 10, pointer.at.y + 20};
    Tick();
    EXPECT_TRUE(pointer.moves.empty());
    EXPECT_EQ(state.x, 0);
    EXPECT_EQ(state.Lastx, pointer.at.x);
    EXPECT_EQ(state.Lasty, pointer.at.y);
}

TEST_F(TickTest, ZeroDistanceStillMovesAndFlipsThePhase) {
    state.nPixels = 0;
    Tick();
    Tick();
    EXPECT_EQ(pointer.moves, (std::vector<std::int32_t>{0, 0}));
    EXPECT_EQ(state.x, 0);
}

TEST_F(TickTest, NegativeDistanceGoesLeftFirst) {
    state.nPixels = -4;
    const std::int32_t start = pointer.at.x;
    Tick();
    EXPECT_EQ(pointer.at.x, start - 4);
    Tick();
    EXPECT_EQ(pointer.at.x, start);
}

TEST_F(TickTest, HistoryIsReadBackFromTheSystemAtTheScreenEdge) {
    pointer.at.x = pointer.width - 1;
    Remember(pointer.at);
    Tick();  // the edge stops the rightward move
    EXPECT_EQ(pointer.at.x, pointer.width - 1);
    EXPECT_EQ(state.Lastx, pointer.width - 1);
    EXPECT_EQ(state.x, 5);
    Tick();
    EXPECT_EQ(pointer.at.x, pointer.width - 4);
    EXPECT_EQ(state.Lastx, pointer.width - 4);
}

TEST(TickStartTest, FirstTickNudgesOnlyInColumnOrRowZero) {
    for (const Point start : {Point{0, 500}, Point{500, 0}}) {
        FakePointer pointer;
        pointer.at = start;
        WindowState state;
        state.nPixels = 3;
        NudgeTick(state, pointer);
        EXPECT_EQ(pointer.moves, std::vector<std::int32_t>{3});
    }
    FakePointer pointer;
    WindowState state;
    NudgeTick(state, pointer);
    EXPECT_TRUE(pointer.moves.empty());
    EXPECT_EQ(state.Lastx, 400);
    EXPECT_EQ(state.Lasty, 300);
}

TEST_F(TickTest, FailedReadCountsAsTheOrigin) {
    pointer.readFails = true;
    Tick();  // sample (0,0) differs from (400,300) in both coordinates
    EXPECT_TRUE(pointer.moves.empty());
    EXPECT_EQ(state.Lastx, 0);
    EXPECT_EQ(state.Lasty, 0);
    Tick();  // (0,0) again: still
    EXPECT_EQ(pointer.moves.size(), 1u);
}

TEST_F(TickTest, PointerBeyondSixteenBitsIsStillRecognisedAsStill) {
    pointer.width = pointer.height = 200000;
    pointer.at = {70000, 90000};
    Tick();
    EXPECT_EQ(state.Lastx, 32767);
    EXPECT_EQ(state.Lasty, 32767);
    Tick();
    EXPECT_EQ(pointer.moves.size(), 1u);
}

TEST_F(TickTest, MostNegativeDistanceReversesWithoutOverflow) {
    pointer.width = 100000;
    pointer.at.x = 50000;
    Remember(pointer.at);
    state.nPixels = -32768;
    Tick();
    Tick();
    EXPECT_EQ(pointer.moves, (std::vector<std::int32_t>{-32768, 32768}));
}

}  // namespace
}  // namespace nudgewick::testing
