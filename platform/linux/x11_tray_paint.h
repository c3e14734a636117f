#pragma once
// The XEmbed icon's pixels on its window: in the 32-bit visual that a tray
// offers for see-through icons, premultiplied by their alpha as that visual
// takes them; else in the screen's own visual, cut out by a mask.

#include <X11/Xlib.h>

#include <vector>

#include "core/tray.h"

namespace nudgewick::linux_desktop {

struct TrayVisual {
    Visual* visual = nullptr;
    int depth = 0;
    bool argb = false;  // the window blends with the tray through its alpha
};

// The 32-bit visual the tray manager offers its icons in its property
// offeredVisual (_NET_SYSTEM_TRAY_VISUAL), when the display has it; else the
// screen's own. Needs FLTK's display open.
TrayVisual ChooseTrayVisual(Window manager, Atom offeredVisual);

// Draws look, side x side pixels of straight RGBA, with its top-left corner at
// (left, top) of window.
void PaintTrayLook(Window window, const TrayVisual& visual, const std::vector<Rgba>& look, int side, int left, int top);

}  // namespace nudgewick::linux_desktop
