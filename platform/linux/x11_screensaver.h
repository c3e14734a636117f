#pragma once

namespace nudgewick::linux_desktop {

// Whether xscreensaver has blanked or locked the screen, from its status on
// the root window: one round trip, made at the tick. present, where given,
// is set when xscreensaver runs on the display.
bool XscreensaverActive(bool* present = nullptr);

}  // namespace nudgewick::linux_desktop
