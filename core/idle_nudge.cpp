#include "core/idle_nudge.h"

namespace nudgewick {

void NudgeIfIdle(WindowState& state, Pointer& pointer, IdleSource& idle) {
    const auto idleFor = idle.IdleMilliseconds();
    if (!idleFor || *idleFor + kNudgeEchoMilliseconds >= state.interval) NudgeSideways(state, pointer);
}

}  // namespace nudgewick
