#include "window/session.h"

#include <algorithm>

#include "window/frm_main.h"
#include "window/number_text.h"

namespace nudgewick {
namespace {

constexpr std::int64_t kSecondsPerMinute = 60;
constexpr std::int64_t kSecondsPerHour = 60 * kSecondsPerMinute;
constexpr std::int64_t kSecondsPerDay = 24 * kSecondsPerHour;
constexpr std::int64_t kLongestLook = 60'000;  // for a time of day, in milliseconds

std::int64_t SecondsOfDay(std::int64_t wallSeconds) {
    return (wallSeconds % kSecondsPerDay + kSecondsPerDay) % kSecondsPerDay;
}

std::string TwoDigits(std::int64_t value) { return (value < 10 ? "0" : "") + WholeNumberText(value); }

// 10000 as "10", 4500 as "4.5".
std::string SecondsText(int milliseconds) {
    std::string text = WholeNumberText(milliseconds / 1000);
    std::string fraction = WholeNumberText(1000 + milliseconds % 1000).substr(1);
    fraction.erase(fraction.find_last_not_of('0') + 1);
    return fraction.empty() ? text : text + "." + fraction;
}

}  // namespace

std::int64_t WallSecondsOf(const std::tm& local) {
    using namespace std::chrono;
    const year_month_day date{year{local.tm_year + 1900}, month{static_cast<unsigned>(local.tm_mon + 1)},
                              day{static_cast<unsigned>(local.tm_mday)}};
    const std::int64_t days = sys_days{date}.time_since_epoch().count();
    return days * kSecondsPerDay + local.tm_hour * kSecondsPerHour + local.tm_min * kSecondsPerMinute + local.tm_sec;
}

std::int64_t SystemClock::WallSeconds() const {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    return local ? WallSecondsOf(*local) : 0;  // no clock at all: a time of day never comes
}

std::int64_t SystemClock::SteadyMilliseconds() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void Session::RunFor(std::chrono::seconds duration) {
    kind_ = Kind::Duration;
    steadyEnd_ = clock_.SteadyMilliseconds() + duration.count() * 1000;
    wallEnd_ = clock_.WallSeconds() + duration.count();
}

void Session::RunUntil(ClockTime time) {
    kind_ = Kind::TimeOfDay;
    const std::int64_t now = clock_.WallSeconds();
    wallEnd_ = now - SecondsOfDay(now) + time.hour * kSecondsPerHour + time.minute * kSecondsPerMinute;
    if (wallEnd_ <= now) wallEnd_ += kSecondsPerDay;
}

bool Session::Due() const {
    if (kind_ == Kind::Duration) return clock_.SteadyMilliseconds() >= steadyEnd_;
    return kind_ == Kind::TimeOfDay && clock_.WallSeconds() >= wallEnd_;
}

std::optional<int> Session::MillisecondsToCheck() const {
    if (kind_ == Kind::Idle) return std::nullopt;
    const std::int64_t left = kind_ == Kind::Duration
                                  ? steadyEnd_ - clock_.SteadyMilliseconds()
                                  : std::min((wallEnd_ - clock_.WallSeconds()) * 1000, kLongestLook);
    return static_cast<int>(std::max<std::int64_t>(left, 1));
}

std::string Session::WallClockText(std::int64_t wallSeconds) {
    const std::int64_t seconds = SecondsOfDay(wallSeconds);
    return TwoDigits(seconds / 3600) + ":" + TwoDigits(seconds / 60 % 60);
}

void frmMain::RunFor(std::chrono::seconds duration) {
    session_.RunFor(duration);
    Resume();
}

void frmMain::RunUntil(ClockTime time) {
    session_.RunUntil(time);
    Resume();
}

void frmMain::RunUntilStopped() {
    session_.Cancel();
    Resume();
}

void frmMain::Resume() {
    if (!Running()) StartTicks();
    ArmSessionTimer();
}

// Early, or the wall clock says not yet: looks again later.
void frmMain::SessionTimer_Timer() {
    if (!session_.Due()) return ArmSessionTimer();
    session_.Cancel();
    ArmSessionTimer();
    StopTicks();
    sessionEndedAt_ = parts_.clock.WallSeconds();
}

void frmMain::ArmSessionTimer() {
    if (const auto wait = session_.MillisecondsToCheck()) {
        parts_.sessionTimer.Start(*wait);
    } else {
        parts_.sessionTimer.Stop();
    }
}

std::vector<TrayMenuEntry> frmMain::TrayMenu() const {
    using std::chrono::hours, std::chrono::minutes;
    return {{Running() ? kCaptionStop : kCaptionGo, TrayCommand::StopOrGo},
            {"Run for 30 minutes", TrayCommand::RunFor, minutes(30)},
            {"Run for 1 hour", TrayCommand::RunFor, hours(1)},
            {"Run for 2 hours", TrayCommand::RunFor, hours(2)},
            {kRunUntilStopped, TrayCommand::RunUntilStopped},
            {kShowWindow, TrayCommand::ShowWindow},
            {kExit, TrayCommand::Exit}};
}

void frmMain::TrayMenu_Click(const TrayMenuEntry& entry) {
    switch (entry.command) {
    case TrayCommand::StopOrGo: return btoGO_Click();
    case TrayCommand::RunFor: return RunFor(entry.length);
    case TrayCommand::RunUntilStopped: return RunUntilStopped();
    case TrayCommand::ShowWindow:
    case TrayCommand::Exit: return;  // the front-end's
    }
}

std::string frmMain::TrayTooltip() const {
    if (!Running()) {
        if (!sessionEndedAt_) return "Nudgewick: stopped";
        return "Nudgewick: stopped at " + Session::WallClockText(*sessionEndedAt_);
    }
    const std::string every = "Nudgewick: nudging every " + SecondsText(Timer1.Interval()) + " s";
    return session_.Active() ? every + " until " + session_.EndText() : every;
}

}  // namespace nudgewick
