#pragma once
// The notification-area icon as the core sees it: its look, tooltip and menu,
// which every front-end shows as they come, its pixels at the panel's size,
// where its own menu opens, and the choices around it.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "core/controls.h"
#include "core/layout.h"

namespace nudgewick {

// What the front-end does after an entry was chosen; the core does the rest.
enum class TrayAction { Handled, ShowWindow, Exit };

// Hands each view on to the icon only when it differs from the one before:
// a panel would redraw, and Windows' shell take a call, for nothing.
class ChangedViews final : public TrayDisplay {
public:
    explicit ChangedViews(TrayDisplay& icon) : icon_(icon) {}
    void Show(const TrayView& view) override;

private:
    TrayDisplay& icon_;
    std::optional<TrayView> shown_;
};

// The menu: Stop or Go, the sessions, "Follow work hours" when there are work
// hours (followingHours), Show window and Exit.
std::vector<TrayMenuEntry> TrayMenu(bool running, std::optional<bool> followingHours = std::nullopt);

// "Nudgewick: nudging every 4.5 s", with " until HH:MM" during a session.
std::string NudgingTooltip(int intervalMilliseconds, const std::optional<std::string>& until);
// "Nudgewick: stopped", with " at HH:MM" when a session's end stopped it.
std::string StoppedTooltip(const std::optional<std::int64_t>& stoppedAtWallSeconds);
// "Nudgewick: stopped: process 1234 ended", when --pid's process stopped them.
std::string ProcessEndedTooltip(std::int32_t pid);
// "process 1234 ends", the until of NudgingTooltip while one is followed.
std::string ProcessEndText(std::int32_t pid);
// "Nudgewick: waiting for zoom": the ticks run, but no process --while names.
std::string WaitingTooltip(const std::string& name);
// "Nudgewick: paused while the screen is locked": the ticks run, but the
// desktop is locked.
std::string LockedTooltip();
// "Nudgewick: paused on battery at 35%": the ticks run, but --battery holds
// them back.
std::string BatteryTooltip(const std::optional<int>& charge);
// "Nudgewick: stopped until Mon 09:00", when work hours will resume the ticks.
std::string StoppedUntilTooltip(const std::string& until);
// The tooltip of a copy that runs a command, which names it after the
// program's name to tell its icon from another copy's: "Nudgewick (make): stopped".
std::string NamingCommand(const std::string& tooltip, const std::string& command);
// What the tooltip says the program does, in its first line after the name:
// "nudging every 10 s until 17:30". The window shows it too.
std::string StatusLine(const std::string& tooltip);

// One pixel of the icon's artwork, not premultiplied.
struct Rgba {
    std::uint8_t red, green, blue, alpha;
    bool operator==(const Rgba&) const = default;
};

// The stopped look of an artwork pixel: grey of the same lightness, squeezed
// into the upper part of the range so that dark parts still show on a dark
// panel, and partly see-through.
Rgba StoppedLook(Rgba pixel);

// One of the artwork's square images: side x side pixels of four bytes, red,
// green, blue and alpha (not premultiplied), row by row from the top left.
struct IconImage {
    int side;
    const std::uint8_t* rgba;
};

// The sizes panels commonly draw a notification-area icon at; given these,
// a panel scales the nearest.
inline constexpr std::array<int, 5> kPanelIconSides = {16, 22, 24, 32, 48};

// The icon at side x side pixels (side > 0), row by row from the top left, in
// colour while the ticks run and in the stopped look while they are stopped:
// area-averaged from the image that scales best, the smallest at least as
// large (a small image may be a drawing of its own), else the largest.
std::vector<Rgba> IconLook(std::span<const IconImage> images, bool running, int side);

struct Extent {
    int w, h;
};

// Where the icon's own menu opens (the XEmbed icon's; a panel opens a
// StatusNotifierItem's menu itself): below or above the icon, towards the
// middle of the work area (the screen less the panels), left edges lined up;
// beside it when the icon sits left or right of the work area (a panel on a
// side of the screen). The menu stays wholly inside the work area, and
// bottomClearance pixels above its bottom edge. Returns the top-left corner.
// All in pixels of the whole screen.
ScreenPoint MenuPlace(const Rect& icon, const Rect& workArea, Extent menu, int bottomClearance);

// How the main window first appears.
enum class WindowShowing { Normal, Hidden, Iconified };

// --minimized hides the window only behind an icon that is shown, so that it
// stays within reach; without one it is iconified.
WindowShowing ShowingAtStart(bool minimized, bool iconShown);

}  // namespace nudgewick
