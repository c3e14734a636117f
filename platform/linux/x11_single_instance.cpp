#include "platform/linux/x11_single_instance.h"

#include <FL/Fl.H>
#include <FL/x.H>

namespace nudgewick::linux_desktop {

X11SingleInstance::X11SingleInstance()
    : selection_(XInternAtom(fl_display, "_NUDGEWICK_INSTANCE", False)),
      presentMessage_(XInternAtom(fl_display, "_NUDGEWICK_PRESENT", False)) {}

X11SingleInstance::~X11SingleInstance() {
    if (window_ == None) return;
    Fl::remove_system_handler(OnXEvent);
    XDestroyWindow(fl_display, window_);
}

// The server is held from the look to the read-back, so of two copies that
// start at once the second looks only after the first has claimed.
bool X11SingleInstance::Claim() {
    window_ = XCreateSimpleWindow(fl_display, RootWindow(fl_display, fl_screen), 0, 0, 1, 1, 0, 0, 0);
    XGrabServer(fl_display);
    const Window owner = XGetSelectionOwner(fl_display, selection_);
    if (owner == None)
        XSetSelectionOwner(fl_display, selection_, window_, CurrentTime);
    else
        AskToPresent(owner);
    const bool claimed = XGetSelectionOwner(fl_display, selection_) == window_;
    XUngrabServer(fl_display);
    XSync(fl_display, False);
    if (claimed) {
        Fl::add_system_handler(OnXEvent, this);
    } else {
        XDestroyWindow(fl_display, window_);
        window_ = None;
    }
    return claimed;
}

void X11SingleInstance::AskToPresent(Window owner) const {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = owner;
    event.xclient.message_type = presentMessage_;
    event.xclient.format = 32;
    XSendEvent(fl_display, owner, False, NoEventMask, &event);
}

// Every event for the claiming window is taken here: FLTK would take the
// selection's events for its clipboard's.
int X11SingleInstance::OnXEvent(void* event, void* self) {
    const auto& instance = *static_cast<X11SingleInstance*>(self);
    const XEvent& x = *static_cast<XEvent*>(event);
    if (x.xany.window != instance.window_) return 0;
    if (x.type == ClientMessage && x.xclient.message_type == instance.presentMessage_ && instance.present_)
        instance.present_();
    return 1;
}

}  // namespace nudgewick::linux_desktop
