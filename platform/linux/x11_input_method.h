#pragma once
// The X input method (dead keys, Compose, input method servers) for typed
// text, opened once the window is drawn instead of before it is mapped.

#include <X11/Xlib.h>

namespace nudgewick::linux_desktop {

// FLTK's set-up of the display, all but the input method.
void OpenToolkitDisplay(Display* display);

// Opens the input method as FLTK would have, and hands it the window that
// has the focus. Call once the window is drawn.
void OpenInputMethod();

}  // namespace nudgewick::linux_desktop
