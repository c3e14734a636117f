#pragma once
// The desktop entries installed for the user's menus, as the freedesktop.org
// folders hold them.

#include <optional>
#include <string>

namespace nudgewick::linux_desktop {

// The first desktop entry, in the order the folders are read (the user's
// own, then each of XDG_DATA_DIRS), that starts the program at path and asks
// KWin for its fake input.
std::optional<std::string> FakeInputEntryFor(const std::string& path);

}  // namespace nudgewick::linux_desktop
