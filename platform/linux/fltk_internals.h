#pragma once
// Where the program leans on FLTK 1.3's internals rather than its interface:
// undocumented variables and functions, FLTK's globals of the event being
// handled, and calls of its own that the link routes elsewhere. Each says
// what it buys; all of them are checked here when FLTK changes, and nothing
// else touches them.

#include <X11/Xlib.h>

#include <string>

class Fl_Window;

namespace nudgewick::linux_desktop {

// FLTK's set-up of the display, all but the input method.
void OpenToolkitDisplay(Display* display);

// Opens the input method as FLTK would have, and hands it the window that
// has the focus. Call once the window is drawn.
void OpenInputMethod();

// Shows a window that is transient for no other.
void ShowUnowned(Fl_Window& window);

// The window has the X server's keyboard focus.
bool HasKeyboard(const Fl_Window* window);

// A key event as FLTK has it while it handles one: the X event, the keysyms,
// the modifiers and the text typed.
struct ToolkitKey {
    XEvent xevent;
    int keysym, originalKeysym, state;
    std::string text;
};
ToolkitKey CurrentToolkitKey();
// Handles EVENT for WINDOW as FLTK would have when KEY came, then gives FLTK
// back the event it was handling.
void HandleToolkitKey(int event, Fl_Window* window, ToolkitKey& key);

}  // namespace nudgewick::linux_desktop
