#include "platform/linux/x11_screensaver.h"

#include <FL/Fl.H>
#include <FL/x.H>
#include <X11/Xatom.h>

namespace nudgewick::linux_desktop {

namespace {

Atom StatusAtom() {
    static const Atom status = XInternAtom(fl_display, "_SCREENSAVER_STATUS", False);
    return status;
}

}  // namespace

// FLTK already follows the root window's properties for the work area; the
// mask is asked for again in case it ever stops, and costs no wakeup more.
X11Screensaver::X11Screensaver(std::function<void()> changed) : changed_(std::move(changed)) {
    if (fl_display == nullptr) return;
    const Window root = RootWindow(fl_display, fl_screen);
    XWindowAttributes attributes{};
    XGetWindowAttributes(fl_display, root, &attributes);
    XSelectInput(fl_display, root, attributes.your_event_mask | PropertyChangeMask);
    Fl::add_system_handler(OnXEvent, this);
    watching_ = true;
    Read();
}

X11Screensaver::~X11Screensaver() {
    if (watching_) Fl::remove_system_handler(OnXEvent);
}

int X11Screensaver::OnXEvent(void* event, void* self) {
    const auto& xevent = *static_cast<const XEvent*>(event);
    if (xevent.type != PropertyNotify || xevent.xproperty.atom != StatusAtom() ||
        xevent.xproperty.window != RootWindow(fl_display, fl_screen)) {
        return 0;
    }
    auto& watch = *static_cast<X11Screensaver*>(self);
    const bool wasActive = watch.active_, wasPresent = watch.present_;
    watch.Read();
    if ((watch.active_ != wasActive || watch.present_ != wasPresent) && watch.changed_) watch.changed_();
    return 0;  // other handlers may follow the root window too
}

// The status's first word is the atom BLANK or LOCK while the screen is
// blanked or locked, 0 otherwise; the property is gone while xscreensaver
// does not run.
void X11Screensaver::Read() {
    static const Atom blank = XInternAtom(fl_display, "BLANK", False);
    static const Atom lock = XInternAtom(fl_display, "LOCK", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const bool read = XGetWindowProperty(fl_display, RootWindow(fl_display, fl_screen), StatusAtom(), 0, 1, False,
                                         XA_INTEGER, &type, &format, &count, &after, &data) == Success;
    active_ = present_ = false;
    if (read && type == XA_INTEGER && format == 32 && count == 1) {
        const auto state = static_cast<Atom>(reinterpret_cast<unsigned long*>(data)[0]);
        active_ = state == blank || state == lock;
        present_ = true;
    }
    if (data != nullptr) XFree(data);
}

}  // namespace nudgewick::linux_desktop
