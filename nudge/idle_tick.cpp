#include "nudge/idle_tick.h"

#include "nudge/tick.h"

namespace nudgewick {

void NudgeTickWhenIdle(WindowState& state, Pointer& pointer, IdleSource& idle) {
    const auto idleFor = idle.IdleMilliseconds();
    if (!idleFor || *idleFor + kNudgeEchoMilliseconds >= state.nInterval) NudgeSideways(state, pointer);
}

}  // namespace nudgewick
