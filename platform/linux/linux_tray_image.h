#pragma once
// The notification-area icon's pictures, drawn from the program's icon that
// is built into the program for the window (window_icon_pixels.h): nothing is
// read at run time.

#include <cstdint>
#include <vector>

namespace nudgewick::linux_desktop {

// The program's icon at side x side pixels, in colour while the ticks run and
// greyed while they are stopped: 32-bit ARGB (alpha in the top byte, colours
// premultiplied by it), row by row from the top left.
std::vector<std::uint32_t> TrayLook(bool running, int side);

}  // namespace nudgewick::linux_desktop
