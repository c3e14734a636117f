#pragma once
// Timed sessions: the ticks stop by themselves after a while ("--for 90m",
// "Run for 1 hour") or at a time of day ("--until 17:30").
//
// For a duration the controller arms its session timer once, for all of it;
// for a time of day it looks again at least every minute, since the wall
// clock may jump (daylight saving, a new time zone). Either end is told on
// the wall clock as it is when asked.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "core/clock.h"

namespace nudgewick {

// The end of the running session, if one runs: a duration is counted on the
// steady clock, a time of day is compared with the wall clock.
class Session {
public:
    explicit Session(const Clock& clock) : clock_(clock) {}

    void RunFor(std::chrono::seconds duration);
    void RunUntil(ClockTime time);  // the next such moment
    void Cancel() { kind_ = Kind::Idle; }

    bool Active() const { return kind_ != Kind::Idle; }
    // True once an active session's end has come.
    bool Due() const;
    // How long until the end should be looked at again, while it has not come;
    // nothing without a session.
    std::optional<int> MillisecondsToCheck();
    // When it ends, "HH:MM" on the wall clock.
    std::string EndText() const;

private:
    enum class Kind { Idle, Duration, TimeOfDay };
    void FollowWallClock();  // for a time of day
    const Clock& clock_;
    Kind kind_ = Kind::Idle;
    std::int64_t steadyEnd_ = 0;  // milliseconds, for a duration
    std::int64_t wallEnd_ = 0;    // seconds, for a time of day
};

}  // namespace nudgewick
