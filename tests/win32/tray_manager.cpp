// A system tray for the Wine tests: owns _NET_SYSTEM_TRAY_S0, tells the display's
// clients (MANAGER), and takes in each icon that asks to dock, printing its window id.
#include <X11/Xlib.h>

#include <cstdio>

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 2;
    const Window root = DefaultRootWindow(display);
    const Window tray = XCreateSimpleWindow(display, root, 0, 0, 256, 32, 0, 0, 0);
    const Atom selection = XInternAtom(display, "_NET_SYSTEM_TRAY_S0", False);
    XMapWindow(display, tray);
    XSetSelectionOwner(display, selection, tray, CurrentTime);
    XEvent manager{};
    manager.xclient = {ClientMessage, 0, False, display, root, XInternAtom(display, "MANAGER", False), 32, {}};
    manager.xclient.data.l[0] = CurrentTime;
    manager.xclient.data.l[1] = static_cast<long>(selection);
    manager.xclient.data.l[2] = static_cast<long>(tray);
    XSendEvent(display, root, False, StructureNotifyMask, &manager);

    const Atom opcode = XInternAtom(display, "_NET_SYSTEM_TRAY_OPCODE", False);
    for (int docked = 0;; ++docked) {
        XEvent event;
        do XNextEvent(display, &event);
        while (event.type != ClientMessage || event.xclient.message_type != opcode ||
               event.xclient.data.l[1] != 0);  // SYSTEM_TRAY_REQUEST_DOCK
        const auto icon = static_cast<Window>(event.xclient.data.l[2]);
        XReparentWindow(display, icon, tray, 32 * docked, 0);
        XMapWindow(display, icon);
        XFlush(display);
        std::printf("%lu\n", icon);
        std::fflush(stdout);
    }
}
