#pragma once
// The display's resolution, and the sizes of the window's text that follow
// from it. Needs the open FLTK display.

#include "core/layout.h"

namespace nudgewick::linux_desktop {

// The look of a current desktop, which every measure of a text assumes, and
// the class a taskbar groups the windows by.
void UseDesktopLook();

// FL_HELVETICA in a font with every letter of the window's texts, in the
// catalogue's language. Asking fontconfig loads its whole configuration, so
// it is left until the first text is measured (UseWindowFont, once), when
// the window is on its way to the screen and the font is opened anyway.
void ChooseWindowFont();
void UseWindowFont();

// Xft.dpi from the server's resource database, as desktops set it; else 96.
int DisplayDpi();

// The pixel size at dpi of the desktop's dialog text, in the font FL_HELVETICA names: the boxes, the
// button, the messages and every label that fits in it.
int StandardTextSize(int dpi);

// The window at dpi for the texts it shows, measured as FLTK draws them:
// each label in the size that fits it, the window grown where none does.
WindowPixels LayOutForTexts(int dpi, int standard);

}  // namespace nudgewick::linux_desktop
