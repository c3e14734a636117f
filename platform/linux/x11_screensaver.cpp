#include "platform/linux/x11_screensaver.h"

#include <FL/x.H>
#include <X11/Xatom.h>

namespace nudgewick::linux_desktop {

// xscreensaver's status on the root window: its first word is the atom BLANK
// or LOCK while the screen is blanked or locked, 0 otherwise.
bool XscreensaverActive(bool* present) {
    if (fl_display == nullptr) return false;
    static const Atom status = XInternAtom(fl_display, "_SCREENSAVER_STATUS", False);
    static const Atom blank = XInternAtom(fl_display, "BLANK", False);
    static const Atom lock = XInternAtom(fl_display, "LOCK", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const bool read = XGetWindowProperty(fl_display, RootWindow(fl_display, fl_screen), status, 0, 1, False, XA_INTEGER,
                                         &type, &format, &count, &after, &data) == Success;
    bool active = false;
    if (read && type == XA_INTEGER && format == 32 && count == 1) {
        const auto state = static_cast<Atom>(reinterpret_cast<unsigned long*>(data)[0]);
        active = state == blank || state == lock;
        if (present != nullptr) *present = true;
    }
    if (data != nullptr) XFree(data);
    return active;
}

}  // namespace nudgewick::linux_desktop
