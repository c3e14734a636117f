// A tray manager, as a desktop panel runs one: owns _NET_SYSTEM_TRAY_S0, says so with
// the MANAGER message, takes each icon that asks to dock into its window and prints the
// icon's id. With "argb" it offers the icons a 32-bit visual.
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 2;
    // An icon whose program ended before its request was read is gone: a
    // panel shrugs that off, and so must this one (Xlib's handler would exit).
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    auto atom = [display](const char* name) { return XInternAtom(display, name, False); };
    const Window root = DefaultRootWindow(display);
    const Window panel = XCreateSimpleWindow(display, root, 0, 730, 300, 30, 0, 0, 0x808080);
    XStoreName(display, panel, "tray");
    XVisualInfo argb{};
    if (argc == 2 && std::string(argv[1]) == "argb" && XMatchVisualInfo(display, 0, 32, TrueColor, &argb))
        XChangeProperty(display, panel, atom("_NET_SYSTEM_TRAY_VISUAL"), XA_VISUALID, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&argb.visualid), 1);
    XMapWindow(display, panel);
    XSetSelectionOwner(display, atom("_NET_SYSTEM_TRAY_S0"), panel, CurrentTime);
    XEvent event{};
    event.xclient = {ClientMessage, 0, False, display, root, atom("MANAGER"), 32, {}};
    event.xclient.data.l[1] = static_cast<long>(atom("_NET_SYSTEM_TRAY_S0"));
    event.xclient.data.l[2] = static_cast<long>(panel);
    XSendEvent(display, root, False, StructureNotifyMask, &event);
    for (int left = 4;; left += 28) {
        XNextEvent(display, &event);
        if (event.type != ClientMessage || event.xclient.message_type != atom("_NET_SYSTEM_TRAY_OPCODE") ||
            event.xclient.data.l[1] != 0)  // not SYSTEM_TRAY_REQUEST_DOCK
            continue;
        const auto icon = static_cast<Window>(event.xclient.data.l[2]);
        XAddToSaveSet(display, icon);  // as panels do: an icon outlives the panel
        XReparentWindow(display, icon, panel, left, 3);
        XResizeWindow(display, icon, 24, 24);
        XMapWindow(display, icon);
        XSync(display, False);
        std::printf("0x%lx\n", icon);
        std::fflush(stdout);
    }
}
