#pragma once
// Where the program leans on FLTK 1.3's internals rather than its interface:
// undocumented variables and functions, and calls of its own that the link
// routes elsewhere. Each says what it buys; all of them are checked here when
// FLTK changes.

#include <X11/Xlib.h>

class Fl_Window;

namespace nudgewick::linux_desktop {

// FLTK's set-up of the display, all but the input method.
void OpenToolkitDisplay(Display* display);

// Opens the input method as FLTK would have, and hands it the window that
// has the focus. Call once the window is drawn.
void OpenInputMethod();

// Shows a window that is transient for no other.
void ShowUnowned(Fl_Window& window);

}  // namespace nudgewick::linux_desktop
