#include "core/tray.h"

#include <algorithm>
#include <cstddef>

#include "core/catalogue.h"
#include "core/clock.h"
#include "core/number_text.h"

namespace nudgewick {
namespace {

constexpr std::string_view kProgramName = "Nudgewick";
constexpr std::string_view kTooltipName = "Nudgewick: ";

// 10000 as "10", 4500 as "4.5".
std::string SecondsText(int milliseconds) {
    std::string text = WholeNumberText(milliseconds / 1000);
    std::string fraction = WholeNumberText(1000 + milliseconds % 1000).substr(1);
    fraction.erase(fraction.find_last_not_of('0') + 1);
    return fraction.empty() ? text : text + "." + fraction;
}

const IconImage& ImageFor(std::span<const IconImage> images, int side) {
    const IconImage* best = &images.front();
    for (const IconImage& image : images) {
        const bool better = best->side < side ? image.side > best->side : image.side >= side && image.side < best->side;
        if (better) best = &image;
    }
    return *best;
}

Rgba At(const IconImage& image, int x, int y) {
    const std::uint8_t* pixel = image.rgba + 4 * (static_cast<std::ptrdiff_t>(y) * image.side + x);
    return {pixel[0], pixel[1], pixel[2], pixel[3]};
}

// One pixel of the source, along one side, and how much of the target pixel it covers.
struct Share {
    int pixel;
    double weight;
};

// The source pixels that target pixel i of side covers along one side, as an
// area average takes them.
std::vector<Share> Shares(int i, int side, int sourceSide) {
    const double scale = static_cast<double>(sourceSide) / side, from = i * scale, to = (i + 1) * scale;
    std::vector<Share> shares;
    for (int s = static_cast<int>(from); s < sourceSide && s < to; ++s) {
        shares.push_back({s, (std::min(to, s + 1.0) - std::max(from, static_cast<double>(s))) / scale});
    }
    return shares;
}

std::uint8_t Byte(double value) { return static_cast<std::uint8_t>(std::clamp(value + 0.5, 0.0, 255.0)); }

// low where the range is empty: a menu larger than the work area starts at its edge.
int Clamp(int value, int low, int high) { return std::max(low, std::min(value, high)); }

}  // namespace

std::vector<TrayMenuEntry> TrayMenu(bool running, std::optional<bool> followingHours) {
    using std::chrono::hours, std::chrono::minutes;
    std::vector<TrayMenuEntry> menu = {
        running ? TrayMenuEntry{Tr(kCaptionStop), TrayCommand::Stop} : TrayMenuEntry{Tr(kCaptionGo), TrayCommand::Go},
        {Format(TrN("Run for %1 minute", "Run for %1 minutes", 30), {"30"}), TrayCommand::RunFor, minutes(30)},
        {Format(TrN("Run for %1 hour", "Run for %1 hours", 1), {"1"}), TrayCommand::RunFor, hours(1)},
        {Format(TrN("Run for %1 hour", "Run for %1 hours", 2), {"2"}), TrayCommand::RunFor, hours(2)},
        {Tr("Run until stopped"), TrayCommand::RunUntilStopped}};
    if (followingHours) menu.push_back({Tr("Follow work hours"), TrayCommand::FollowWorkHours, {}, followingHours});
    menu.push_back({Tr("Show window"), TrayCommand::ShowWindow});
    menu.push_back({Tr("Exit"), TrayCommand::Exit});
    return menu;
}

// The program's name starts every tooltip untranslated, which StatusLine and
// NamingCommand find it by.
std::string NudgingTooltip(int intervalMilliseconds, const std::optional<std::string>& until) {
    const std::string seconds = SecondsText(intervalMilliseconds);
    return std::string(kTooltipName) + (until ? Format(Tr("nudging every %1 s until %2"), {seconds, *until})
                                              : Format(Tr("nudging every %1 s"), {seconds}));
}

std::string StoppedTooltip(const std::optional<std::int64_t>& stoppedAtWallSeconds) {
    return std::string(kTooltipName) +
           (stoppedAtWallSeconds ? Format(Tr("stopped at %1"), {WallClockText(*stoppedAtWallSeconds)}) : Tr("stopped"));
}

std::string ProcessEndedTooltip(std::int32_t pid) {
    return std::string(kTooltipName) + Format(Tr("stopped: process %1 ended"), {WholeNumberText(pid)});
}

std::string ProcessEndText(std::int32_t pid) { return Format(Tr("process %1 ends"), {WholeNumberText(pid)}); }

std::string WaitingTooltip(const std::string& name) {
    return std::string(kTooltipName) + Format(Tr("waiting for %1"), {name});
}

std::string LockedTooltip() { return std::string(kTooltipName) + Tr("paused while the screen is locked"); }

std::string BatteryTooltip(const std::optional<int>& charge) {
    return std::string(kTooltipName) +
           (charge ? Format(Tr("paused on battery at %1%"), {WholeNumberText(*charge)}) : Tr("paused on battery"));
}

std::string StoppedUntilTooltip(const std::string& until) {
    return std::string(kTooltipName) + Format(Tr("stopped until %1"), {until});
}

std::string NamingCommand(const std::string& tooltip, const std::string& command) {
    if (!tooltip.starts_with(kTooltipName)) return tooltip;
    return std::string(kProgramName) + " (" + command + ")" + tooltip.substr(kProgramName.size());
}

// The name ends at the first ": ", or at the first "): " after a command's name.
std::string StatusLine(const std::string& tooltip) {
    const std::string line = tooltip.substr(0, tooltip.find('\n'));
    if (line.starts_with(kTooltipName)) return line.substr(kTooltipName.size());
    const auto named = line.starts_with(std::string(kProgramName) + " (") ? line.find("): ") : std::string::npos;
    return named == std::string::npos ? line : line.substr(named + 3);
}

Rgba StoppedLook(Rgba pixel) {
    const int lightness = (299 * pixel.red + 587 * pixel.green + 114 * pixel.blue) / 1000;
    const auto grey = static_cast<std::uint8_t>(96 + lightness * 5 / 8);
    return {grey, grey, grey, static_cast<std::uint8_t>(pixel.alpha * 2 / 3)};
}

// Each colour weighted by its pixel's alpha: a see-through pixel lends none.
std::vector<Rgba> IconLook(std::span<const IconImage> images, bool running, int side) {
    const IconImage& source = ImageFor(images, side);
    std::vector<Rgba> look;
    for (int y = 0; y < side; ++y) {
        const std::vector<Share> rows = Shares(y, side, source.side);
        for (int x = 0; x < side; ++x) {
            double red = 0, green = 0, blue = 0, alpha = 0;  // the colours times their alpha
            for (const Share& column : Shares(x, side, source.side)) {
                for (const Share& row : rows) {
                    const Rgba pixel = running ? At(source, column.pixel, row.pixel)
                                               : StoppedLook(At(source, column.pixel, row.pixel));
                    const double covered = pixel.alpha * column.weight * row.weight;
                    red += pixel.red * covered, green += pixel.green * covered, blue += pixel.blue * covered;
                    alpha += covered;
                }
            }
            look.push_back(alpha == 0 ? Rgba{0, 0, 0, 0}
                                      : Rgba{Byte(red / alpha), Byte(green / alpha), Byte(blue / alpha), Byte(alpha)});
        }
    }
    return look;
}

// Beside an icon on a side panel the menu starts level with it, and the
// work area's edge, which is the panel's, holds it.
ScreenPoint MenuPlace(const Rect& icon, const Rect& workArea, Extent menu, int bottomClearance) {
    const int areaRight = workArea.x + workArea.width, areaBottom = workArea.y + workArea.height;
    const bool sidePanel = icon.x + icon.width <= workArea.x || icon.x >= areaRight;
    int y = icon.y;
    if (!sidePanel && icon.y + icon.height / 2 > workArea.y + workArea.height / 2) {
        y = std::min(icon.y, areaBottom) - menu.h;
    } else if (!sidePanel) {
        y = std::max(icon.y + icon.height, workArea.y);
    }
    return {Clamp(icon.x, workArea.x, areaRight - menu.w), Clamp(y, workArea.y, areaBottom - bottomClearance - menu.h)};
}

WindowShowing ShowingAtStart(bool minimized, bool iconShown) {
    return !minimized ? WindowShowing::Normal : iconShown ? WindowShowing::Hidden : WindowShowing::Iconified;
}

void ChangedViews::Show(const TrayView& view) {
    if (shown_ == view) return;
    shown_ = view;
    icon_.Show(view);
}

}  // namespace nudgewick
