#include "platform/linux/fltk_tray_menu.h"

#include <FL/Fl.H>

#include <algorithm>

namespace nudgewick::linux_desktop {
namespace {

// FLTK puts this much room between a menu's entries.
constexpr int kLeading = 4;
// FLTK moves an open menu as soon as the pointer reaches an entry that comes
// within a few pixels of the work area's edge (the screen less the panels):
// a menu this far inside it opens where it stays.
constexpr int kClearance = 4;

struct Size {
    int w, h;
};

// The menu's size as FLTK 1.3 lays out a popup menu without a title: each
// entry as tall as its text plus the leading, all in an up box.
Size MenuSize(const Fl_Menu_Item* items) {
    int width = 0, entryHeight = 1, count = 0;
    for (const Fl_Menu_Item* item = items; item->label() != nullptr; item = item->next(), ++count) {
        int height = 0;
        width = std::max(width, item->measure(&height, nullptr));
        entryHeight = std::max(entryHeight, height + kLeading);
    }
    const int border = Fl::box_dx(FL_UP_BOX);
    return {width + 2 * border + 7, entryHeight * count - kLeading + 2 * border + 3};
}

int Clamp(int value, int low, int high) { return std::max(low, std::min(value, high)); }

}  // namespace

// Below or above the icon, towards the middle of the screen, left edges
// lined up; beside it when the icon sits left or right of the work area (a
// panel on a side of the screen).
const Fl_Menu_Item* PopUpBeside(const ScreenRect& icon, const Fl_Menu_Item* items) {
    int areaX = 0, areaY = 0, areaW = 0, areaH = 0;
    Fl::screen_work_area(areaX, areaY, areaW, areaH, icon.x + icon.w / 2, icon.y + icon.h / 2);
    const Size menu = MenuSize(items);
    const int areaRight = areaX + areaW, areaBottom = areaY + areaH;
    const bool sidePanel = icon.x + icon.w <= areaX || icon.x >= areaRight;
    int x = icon.x, y = 0;
    if (sidePanel) {
        x = icon.x >= areaRight ? icon.x - menu.w : icon.x + icon.w;
        y = icon.y;
    } else {
        const bool inLowerHalf = icon.y + icon.h / 2 > areaY + areaH / 2;
        y = inLowerHalf ? std::min(icon.y, areaBottom) - menu.h : std::max(icon.y + icon.h, areaY);
    }
    x = Clamp(x, areaX, areaRight - menu.w);
    y = Clamp(y, areaY, areaBottom - kClearance - menu.h);
    // FLTK takes the place as relative to the window of the event at hand.
    return items->popup(x - (Fl::event_x_root() - Fl::event_x()), y - (Fl::event_y_root() - Fl::event_y()));
}

}  // namespace nudgewick::linux_desktop
