#pragma once
#include <FL/Fl_Window.H>

namespace nudgewick::linux_desktop {

// Gives the window the program's icon at 16, 32 and 48 px (_NET_WM_ICON), from
// pixels built into the program: nothing is read at run time.
void SetWindowIcons(Fl_Window& window);

}  // namespace nudgewick::linux_desktop
