#pragma once
#include <cstdint>
#include <optional>

#include "core/controls.h"
#include "core/nudge.h"

namespace nudgewick {

// Where the pointer's position cannot be read (a Wayland session: no client
// may read it there), the desktop's idle time tells whether the user has left
// the computer alone.
class IdleSource {
public:
    virtual ~IdleSource() = default;
    // Milliseconds since the desktop last received input of any kind, keys
    // and the program's own nudges included; nothing when it cannot say.
    virtual std::optional<std::int64_t> IdleMilliseconds() = 0;
};

// The program's own nudge came at the previous tick, so with the user away
// the idle time at this tick is the interval, less the moment the nudge took
// to arrive and the timer's lateness. Input that came within this margin of
// the interval is taken for that nudge: a user who touched the computer just
// after a nudge and then left it alone gets one more.
inline constexpr std::int64_t kNudgeEchoMilliseconds = 1000;

// One tick where only idle time is known: the user counts as away when
// nothing but our own nudge came since the previous tick; then the pointer is
// nudged, alternating as NudgeIfStill does. An idle time the desktop could not
// tell counts as away, as a failed pointer read does.
void NudgeIfIdle(WindowState& state, Pointer& pointer, IdleSource& idle);

}  // namespace nudgewick
