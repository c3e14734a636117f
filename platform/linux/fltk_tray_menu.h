#pragma once
// The notification-area icon's menu, opened beside the icon.

#include <FL/Fl_Menu_Item.H>

namespace nudgewick::linux_desktop {

struct ScreenRect {
    int x, y, w, h;  // in root-window pixels
};

// Opens the menu ITEMS (ended by an empty item) beside ICON, the icon's place
// on the screen, and returns the entry picked, or null. Call it while FLTK
// handles an event on the icon's window.
const Fl_Menu_Item* PopUpBeside(const ScreenRect& icon, const Fl_Menu_Item* items);

}  // namespace nudgewick::linux_desktop
