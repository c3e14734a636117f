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

// Another client's window may be destroyed between two requests about it:
// the request fails, and says so only here.
bool requestFailed = false;
int NoteFailure(Display*, XErrorEvent*) { return requestFailed = true, 0; }

bool HoldsVersion(Window window) {
    static const Atom version = XInternAtom(fl_display, "_SCREENSAVER_VERSION", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    requestFailed = false;
    XGetWindowProperty(fl_display, window, version, 0, 0, False, AnyPropertyType, &type, &format, &count, &after,
                       &data);
    if (data != nullptr) XFree(data);
    return !requestFailed && type != None;
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
    auto& watch = *static_cast<X11Screensaver*>(self);
    const bool ended =
        xevent.type == DestroyNotify && watch.daemon_ != None && xevent.xdestroywindow.window == watch.daemon_;
    if (ended) watch.daemon_ = None;
    if (!ended && (xevent.type != PropertyNotify || xevent.xproperty.atom != StatusAtom() ||
                   xevent.xproperty.window != RootWindow(fl_display, fl_screen))) {
        return 0;
    }
    const bool wasActive = watch.active_, wasPresent = watch.present_;
    watch.Read();
    if ((watch.active_ != wasActive || watch.present_ != wasPresent) && watch.changed_) watch.changed_();
    return 0;  // other handlers may follow the root window too
}

// The status's first word is the atom BLANK or LOCK while the screen is
// blanked or locked, 0 otherwise; the property is missing where xscreensaver
// never ran.
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
        if (daemon_ == None) FindDaemon();
        const auto state = static_cast<Atom>(reinterpret_cast<unsigned long*>(data)[0]);
        present_ = daemon_ != None;
        active_ = present_ && (state == blank || state == lock);
    }
    if (data != nullptr) XFree(data);
}

// xscreensaver's window is the root's child that holds its version, as
// xscreensaver-command finds it; asked for its end before it is taken, in
// case it ends meanwhile. Looked for once per start of xscreensaver.
void X11Screensaver::FindDaemon() {
    XSync(fl_display, False);
    const XErrorHandler previous = XSetErrorHandler(NoteFailure);
    Window root = None, parent = None, *children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(fl_display, RootWindow(fl_display, fl_screen), &root, &parent, &children, &count) != 0) {
        for (unsigned int i = 0; i < count && daemon_ == None; ++i) {
            if (!HoldsVersion(children[i])) continue;
            XSelectInput(fl_display, children[i], StructureNotifyMask);
            if (HoldsVersion(children[i])) daemon_ = children[i];
        }
    }
    if (children != nullptr) XFree(children);
    XSetErrorHandler(previous);
}

}  // namespace nudgewick::linux_desktop
