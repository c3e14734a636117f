// Opening an input method makes Xlib read the locale's whole Compose table
// (about 6000 lines in a UTF-8 locale) and FLTK ask the server for some 35
// font lists: half of what start-up cost, spent in fl_open_display() before
// any window existed. FLTK opens the method again when the pointer enters
// one of its windows while it has none; that is the path taken here, right
// after the first draw. The linker hands FLTK's calls of XOpenIM() to
// __wrap_XOpenIM() (-Wl,--wrap=XOpenIM in CMakeLists.txt).

#include "platform/linux/x11_input_method.h"

// Fl_X, for a window of FLTK's that is never shown.
#define FL_INTERNALS

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>
#include <X11/Xresource.h>

// FLTK 1.3's, declared in no header: the input context it makes with the
// method, and what it does with it when one of its windows takes the focus.
extern XIC fl_xim_ic;
void fl_xim_activate(Window window);

namespace {

bool deferred = false;

void Ignore(const char*, ...) {}

}  // namespace

extern "C" XIM __real_XOpenIM(Display* display, XrmDatabase database, char* name, char* className);

extern "C" XIM __wrap_XOpenIM(Display* display, XrmDatabase database, char* name, char* className) {
    return deferred ? nullptr : __real_XOpenIM(display, database, name, className);
}

namespace nudgewick::linux_desktop {

void OpenToolkitDisplay(Display* display) {
    const auto warning = Fl::warning;
    Fl::warning = Ignore;  // FLTK would say that opening the method failed
    deferred = true;
    fl_open_display(display);
    deferred = false;
    Fl::warning = warning;
}

// A pointer entering a window that nobody sees. Had one entered a window of
// ours meanwhile, FLTK would have opened the method already.
void OpenInputMethod() {
    if (fl_xim_ic == nullptr) {
        const XEvent* lastEvent = fl_xevent;
        const ulong lastTime = fl_event_time;
        Fl_Window unseen(1, 1);
        unseen.end();  // else the widgets made later would go into it
        Fl_X::set_xid(&unseen, XCreateSimpleWindow(fl_display, RootWindow(fl_display, fl_screen), 0, 0, 1, 1, 0, 0, 0));
        XEvent enter{};
        enter.xcrossing.type = EnterNotify;
        enter.xcrossing.display = fl_display;
        enter.xcrossing.window = fl_xid(&unseen);
        enter.xcrossing.detail = NotifyNonlinear;
        enter.xcrossing.time = lastTime;
        fl_handle(enter);
        unseen.hide();  // and FLTK forgets that the pointer was in it
        fl_xevent = lastEvent;
        fl_event_time = lastTime;
    }
    // The window took the focus before there was a method to tell.
    Window focus = None;
    int revert = 0;
    XGetInputFocus(fl_display, &focus, &revert);
    if (fl_xim_ic != nullptr && fl_find(focus) != nullptr) {
        fl_xim_activate(focus);
        XSetICFocus(fl_xim_ic);
    }
}

}  // namespace nudgewick::linux_desktop
