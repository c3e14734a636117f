// Does for the end-to-end tests what this xdotool cannot:
//   x_helper close WINDOW   sends WM_DELETE_WINDOW, as a window manager's close does
//   x_helper ask SELECTION TARGET [TYPE TEXT]  converts SELECTION to TARGET with TEXT, of TYPE, as its parameter
//                           (ICCCM), as Nudgewick's second start does, and prints the answer
//   x_helper vanish SELECTION TARGET [TYPE TEXT]  asks as ask does, and destroys its window before the answer
//   x_helper grab KEY       holds ctrl+alt+KEY, as another program's hotkey would, until
//                           killed; says "grabbed" once it holds it
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int Close(Display* display, Window window) {
    XEvent event{};
    event.xclient = {ClientMessage, 0, False, display, window, XInternAtom(display, "WM_PROTOCOLS", False), 32, {}};
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));  // l[1]: CurrentTime
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    return 0;
}

// Prints the selection's text; fails when nobody holds it or its owner refuses or does
// not answer in 5 s. To vanish is to destroy the asking window before the answer.
int Ask(Display* display, const char* selection, const char* target, bool vanish, char** parameter) {
    const Window requestor = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    const Atom property = XInternAtom(display, "X_HELPER_ANSWER", False);
    if (parameter != nullptr) {
        XChangeProperty(display, requestor, property, XInternAtom(display, parameter[0], False), 8, PropModeReplace,
                        reinterpret_cast<unsigned char*>(parameter[1]), static_cast<int>(std::strlen(parameter[1])));
    }
    XConvertSelection(display, XInternAtom(display, selection, False), XInternAtom(display, target, False), property,
                      requestor, CurrentTime);
    if (vanish) XDestroyWindow(display, requestor);
    XSync(display, False);
    if (vanish) return 0;
    XEvent event{};
    for (int tries = 0; !XCheckTypedWindowEvent(display, requestor, SelectionNotify, &event); ++tries) {
        if (tries == 500) return 1;
        usleep(10000);
    }
    if (event.xselection.property == None) return 1;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display, requestor, property, 0, 4096, False, AnyPropertyType, &type, &format, &count,
                       &remaining, &data);
    if (data != nullptr) std::fwrite(data, 1, count, stdout);
    std::fputc('\n', stdout);
    XFree(data);
    return 0;
}

// Ctrl+Alt+KEY with no lock key on, which is the combination every hotkey grabs.
int Grab(Display* display, const char* key) {
    const KeyCode keycode = XKeysymToKeycode(display, XStringToKeysym(key));
    if (keycode == 0) return 2;
    XGrabKey(display, keycode, ControlMask | Mod1Mask, DefaultRootWindow(display), False, GrabModeAsync, GrabModeAsync);
    XSync(display, False);
    std::puts("grabbed");
    std::fflush(stdout);
    for (;;) pause();
}

}  // namespace

int main(int argc, char** argv) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 2;
    if (argc == 3 && std::strcmp(argv[1], "close") == 0) return Close(display, std::strtoul(argv[2], nullptr, 0));
    if (argc == 3 && std::strcmp(argv[1], "grab") == 0) return Grab(display, argv[2]);
    const bool vanish = argc > 1 && std::strcmp(argv[1], "vanish") == 0;
    if ((argc == 4 || argc == 6) && (vanish || std::strcmp(argv[1], "ask") == 0))
        return Ask(display, argv[2], argv[3], vanish, argc == 6 ? argv + 4 : nullptr);
    std::fputs("usage: x_helper close WINDOW | grab KEY | ask|vanish SELECTION TARGET [TYPE TEXT]\n", stderr);
    return 2;
}
