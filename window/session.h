#pragma once
// Timed sessions: the ticks stop by themselves after a while ("--for 90m",
// "Run for 1 hour") or at a time of day ("--until 17:30").
//
// For the front-ends: a session needs no code of theirs beyond a second
// SystemTimer (FormParts::sessionTimer) whose firing they hand to
// frmMain::SessionTimer_Timer, and a SystemClock (FormParts::clock). For a
// duration the core arms that timer once, for all of it; for a time of day it
// looks again at least every minute, since the wall clock may jump (daylight
// saving, a new time zone). It stops the timer when no session runs.

#include <chrono>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace nudgewick {

// A time of day on the local 24-hour clock.
struct ClockTime {
    int hour = 0;
    int minute = 0;
};

// Where sessions look at the time.
class Clock {
public:
    virtual ~Clock() = default;
    // What the desktop's clock shows, as seconds since 1970-01-01 00:00 of the
    // local calendar. It jumps when daylight saving starts or ends or the time
    // zone changes.
    virtual std::int64_t WallSeconds() const = 0;
    // Milliseconds on a clock that only moves forward, from any start.
    virtual std::int64_t SteadyMilliseconds() const = 0;
};

// A local calendar time as Clock::WallSeconds counts it.
std::int64_t WallSecondsOf(const std::tm& local);

// The clock of the system the program runs on, through the standard library.
class SystemClock final : public Clock {
public:
    std::int64_t WallSeconds() const override;
    std::int64_t SteadyMilliseconds() const override;
};

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
    std::optional<int> MillisecondsToCheck() const;
    // When it ends, "HH:MM" on the wall clock.
    std::string EndText() const { return WallClockText(wallEnd_); }

    static std::string WallClockText(std::int64_t wallSeconds);

private:
    enum class Kind { Idle, Duration, TimeOfDay };
    const Clock& clock_;
    Kind kind_ = Kind::Idle;
    std::int64_t steadyEnd_ = 0;  // milliseconds, for a duration
    std::int64_t wallEnd_ = 0;    // seconds; for a duration only what the tooltip shows
};

}  // namespace nudgewick
