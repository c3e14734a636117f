#pragma once
// The XEmbed icon's own menu, an FLTK popup menu opened beside the icon.

#include <optional>
#include <vector>

#include "core/tray.h"

namespace nudgewick::linux_desktop {

// Opens the menu beside icon, the icon's place on the screen, and returns the
// entry picked, as it was shown; nothing when none was. The menu is a copy:
// handlers that run while it is open may show a new view, and a choice means
// what it said. Call it while FLTK handles an event on the icon's window.
std::optional<TrayMenuEntry> ChooseBeside(const Rect& icon, std::vector<TrayMenuEntry> menu);

}  // namespace nudgewick::linux_desktop
