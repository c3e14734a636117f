#include "platform/linux/fltk_internals.h"

// Fl_X, FLTK's record of a window's X side, for a window that is never shown.
#define FL_INTERNALS

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>
#include <X11/Xresource.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

// FLTK 1.3's, declared in no header: the input context it makes with the
// method, what it does with it when one of its windows takes the focus, and
// its switch for the transient-for hint of new windows.
extern XIC fl_xim_ic;
void fl_xim_activate(Window window);
extern int fl_disable_transient_for;
// And the window that has the X server's keyboard focus.
extern Fl_Window* fl_xfocus;

namespace nudgewick::linux_desktop {
namespace {

bool deferred = false;

void Ignore(const char*, ...) {}

}  // namespace
}  // namespace nudgewick::linux_desktop

// Buys the time it takes to open an input method, two thirds of the start-up
// (exec to mapped 14 ms instead of 5): Xlib reads the locale's whole Compose
// table (about 6000 lines in a UTF-8 locale) and FLTK asks the server for
// some 35 font lists. FLTK opens the method again when the pointer enters one of its
// windows while it has none; OpenInputMethod() takes that path right after
// the first draw. The linker hands FLTK's calls of XOpenIM() to
// __wrap_XOpenIM() (-Wl,--wrap=XOpenIM in CMakeLists.txt).
extern "C" XIM __real_XOpenIM(Display* display, XrmDatabase database, char* name, char* className);

extern "C" XIM __wrap_XOpenIM(Display* display, XrmDatabase database, char* name, char* className) {
    return nudgewick::linux_desktop::deferred ? nullptr : __real_XOpenIM(display, database, name, className);
}

// Buys a program that reads and writes no file: FLTK 1.3 reads its
// preference files (/etc/fltk/fltk.org/fltk.prefs and
// ~/.fltk/fltk.org/fltk.prefs) when a widget first asks for the toolkit's
// options, which every window does at start-up, writes them back at exit,
// and its reader crashes on some malformed files. The link routes its file
// helpers here (--wrap in CMakeLists.txt): no toolkit file is opened, no
// folder created, and the options keep their built-in defaults.
extern "C" {

FILE* __wrap_fl_fopen(const char*, const char*) {
    errno = EACCES;
    return nullptr;
}

void __wrap_fl_make_path_for_file(const char*) {}

}  // extern "C"

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

// Buys a modal window that is mapped at all: FLTK makes one transient for
// the window it lists first, and leaves it unmapped when that one is not on
// the screen (hidden behind the notification-area icon).
void ShowUnowned(Fl_Window& window) {
    fl_disable_transient_for = 1;
    window.show();
    fl_disable_transient_for = 0;
}

bool HasKeyboard(const Fl_Window* window) { return window != nullptr && fl_xfocus == window; }

ToolkitKey CurrentToolkitKey() {
    return {*fl_xevent, Fl::e_keysym, Fl::e_original_keysym, Fl::e_state,
            std::string(Fl::e_text != nullptr ? Fl::e_text : "", static_cast<std::size_t>(std::max(Fl::e_length, 0)))};
}

// Buys keys that wait for the screen reader: FLTK hands its widgets the key
// it is handling through these globals alone.
void HandleToolkitKey(int event, Fl_Window* window, ToolkitKey& key) {
    const XEvent* const xevent = fl_xevent;
    char* const text = Fl::e_text;
    const int length = Fl::e_length;
    fl_xevent = &key.xevent;
    Fl::e_keysym = key.keysym;
    Fl::e_original_keysym = key.originalKeysym;
    Fl::e_state = key.state;
    Fl::e_text = key.text.data();
    Fl::e_length = static_cast<int>(key.text.size());
    Fl::handle_(event, window);
    fl_xevent = xevent;
    Fl::e_text = text;
    Fl::e_length = length;
}

}  // namespace nudgewick::linux_desktop
