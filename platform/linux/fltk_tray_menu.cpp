#include "platform/linux/fltk_tray_menu.h"

#include <FL/Fl.H>
#include <FL/Fl_Menu_Item.H>

#include <algorithm>

namespace nudgewick::linux_desktop {
namespace {

// FLTK puts this much room between a menu's entries.
constexpr int kLeading = 4;
// FLTK moves an open menu as soon as the pointer reaches an entry that comes
// within a few pixels of the work area's edge (the screen less the panels):
// a menu this far inside it opens where it stays.
constexpr int kClearance = 4;

// The menu's size as FLTK 1.3 lays out a popup menu without a title: each
// entry as tall as its text plus the leading, all in an up box, and as wide as
// the widest entry with room on both sides. FLTK counts a tick box narrower
// than it draws it, which would leave a ticked entry's text touching the right
// edge: the width is reckoned here with the box as drawn.
Extent MenuSize(const Fl_Menu_Item* items) {
    int textHeight = 0, count = 0;
    for (const Fl_Menu_Item* item = items; item->label() != nullptr; item = item->next(), ++count) {
        int height = 0;
        item->measure(&height, nullptr);
        textHeight = std::max(textHeight, height);
    }
    // FLTK's tick box and the gap after it, and what measure() counts for both.
    const int tickBox = textHeight - 2 * ((textHeight - FL_NORMAL_SIZE + 1) / 2) + 3;
    int width = 0;
    for (const Fl_Menu_Item* item = items; item->label() != nullptr; item = item->next()) {
        const bool ticked = (item->flags & FL_MENU_TOGGLE) != 0;
        width = std::max(width, item->measure(nullptr, nullptr) + (ticked ? tickBox - FL_NORMAL_SIZE : 0));
    }
    const int border = Fl::box_dx(FL_UP_BOX);
    return {width + 2 * border + 7, (textHeight + kLeading) * count - kLeading + 2 * border + 3};
}

}  // namespace

std::optional<TrayMenuEntry> ChooseBeside(const Rect& icon, std::vector<TrayMenuEntry> menu) {
    if (menu.empty()) return std::nullopt;
    const std::vector<TrayMenuEntry>& shown = menu;
    std::vector<Fl_Menu_Item> items(shown.size() + 1, Fl_Menu_Item{});  // an empty item ends the menu
    for (std::size_t n = 0; n < shown.size(); ++n) {
        items[n].label(shown[n].text.c_str());
        items[n].argument(static_cast<long>(n));
        if (shown[n].checked) items[n].flags = FL_MENU_TOGGLE | (*shown[n].checked ? FL_MENU_VALUE : 0);
    }
    Rect area;
    Fl::screen_work_area(area.x, area.y, area.width, area.height, icon.x + icon.width / 2, icon.y + icon.height / 2);
    const Extent size = MenuSize(items.data());
    const ScreenPoint place = MenuPlace(icon, area, size, kClearance);
    // FLTK takes the place as relative to the window of the event at hand.
    const Fl_Menu_Item* picked =
        items.data()->pulldown(static_cast<int>(place.x) - (Fl::event_x_root() - Fl::event_x()),
                               static_cast<int>(place.y) - (Fl::event_y_root() - Fl::event_y()), size.w, 0);
    if (picked == nullptr) return std::nullopt;
    return shown.at(static_cast<std::size_t>(picked->argument()));
}

}  // namespace nudgewick::linux_desktop
