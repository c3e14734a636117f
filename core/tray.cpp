#include "core/tray.h"

#include "core/clock.h"
#include "core/number_text.h"

namespace nudgewick {
namespace {

constexpr std::string_view kTooltipName = "Nudgewick: ";

// 10000 as "10", 4500 as "4.5".
std::string SecondsText(int milliseconds) {
    std::string text = WholeNumberText(milliseconds / 1000);
    std::string fraction = WholeNumberText(1000 + milliseconds % 1000).substr(1);
    fraction.erase(fraction.find_last_not_of('0') + 1);
    return fraction.empty() ? text : text + "." + fraction;
}

}  // namespace

std::vector<TrayMenuEntry> TrayMenu(bool running, std::optional<bool> followingHours) {
    using std::chrono::hours, std::chrono::minutes;
    std::vector<TrayMenuEntry> menu = {
        running ? TrayMenuEntry{kCaptionStop, TrayCommand::Stop} : TrayMenuEntry{kCaptionGo, TrayCommand::Go},
        {"Run for 30 minutes", TrayCommand::RunFor, minutes(30)},
        {"Run for 1 hour", TrayCommand::RunFor, hours(1)},
        {"Run for 2 hours", TrayCommand::RunFor, hours(2)},
        {"Run until stopped", TrayCommand::RunUntilStopped}};
    if (followingHours) menu.push_back({"Follow work hours", TrayCommand::FollowWorkHours, {}, followingHours});
    menu.push_back({"Show window", TrayCommand::ShowWindow});
    menu.push_back({"Exit", TrayCommand::Exit});
    return menu;
}

std::string NudgingTooltip(int intervalMilliseconds, const std::optional<std::string>& until) {
    const std::string every = std::string(kTooltipName) + "nudging every " + SecondsText(intervalMilliseconds) + " s";
    return until ? every + " until " + *until : every;
}

std::string StoppedTooltip(const std::optional<std::int64_t>& stoppedAtWallSeconds) {
    const std::string stopped = std::string(kTooltipName) + "stopped";
    return stoppedAtWallSeconds ? stopped + " at " + WallClockText(*stoppedAtWallSeconds) : stopped;
}

std::string ProcessEndedTooltip(std::int32_t pid) {
    return std::string(kTooltipName) + "stopped: process " + WholeNumberText(pid) + " ended";
}

std::string ProcessEndText(std::int32_t pid) { return "process " + WholeNumberText(pid) + " ends"; }

std::string WaitingTooltip(const std::string& name) { return std::string(kTooltipName) + "waiting for " + name; }

std::string StoppedUntilTooltip(const std::string& until) {
    return std::string(kTooltipName) + "stopped until " + until;
}

std::string StatusLine(const std::string& tooltip) {
    const std::string line = tooltip.substr(0, tooltip.find('\n'));
    return line.starts_with(kTooltipName) ? line.substr(kTooltipName.size()) : line;
}

Rgba StoppedLook(Rgba pixel) {
    const int lightness = (299 * pixel.red + 587 * pixel.green + 114 * pixel.blue) / 1000;
    const auto grey = static_cast<std::uint8_t>(96 + lightness * 5 / 8);
    return {grey, grey, grey, static_cast<std::uint8_t>(pixel.alpha * 2 / 3)};
}

WindowShowing ShowingAtStart(bool minimized, bool iconShown) {
    if (!minimized) return WindowShowing::Normal;
    return iconShown ? WindowShowing::Hidden : WindowShowing::Iconified;
}

}  // namespace nudgewick
