#pragma once
// The notification-area icon as the core sees it: its look, tooltip and menu,
// which every front-end shows as they come, and the choices around it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/controls.h"

namespace nudgewick {

// The start/stop button's captions, which the menu's first entry repeats:
// each names what a click does next.
inline constexpr const char* kCaptionStop = "Stop";
inline constexpr const char* kCaptionGo = "Go";

// What the front-end does after an entry was chosen; the core does the rest.
enum class TrayAction { Handled, ShowWindow, Exit };

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
// "Nudgewick: stopped until Mon 09:00", when work hours will resume the ticks.
std::string StoppedUntilTooltip(const std::string& until);
// What the tooltip says the program does, in its first line after the name:
// "nudging every 10 s until 17:30".
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

// How the main window first appears.
enum class WindowShowing { Normal, Hidden, Iconified };

// --minimized hides the window only behind an icon that is shown, so that it
// stays within reach; without one it is iconified.
WindowShowing ShowingAtStart(bool minimized, bool iconShown);

}  // namespace nudgewick
