#include "platform/linux/x11_pointer.h"

#include <FL/x.H>
#include <X11/extensions/XTest.h>

namespace nudgewick::linux_desktop {

bool X11Pointer::CanMove() {
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    return XTestQueryExtension(fl_display, &eventBase, &errorBase, &major, &minor) == True;
}

// XQueryPointer answers False when the pointer is on another screen.
std::optional<Point> X11Pointer::Read() {
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, windowX = 0, windowY = 0;
    unsigned int buttons = 0;
    if (!XQueryPointer(fl_display, DefaultRootWindow(fl_display), &root, &child, &rootX, &rootY, &windowX, &windowY,
                       &buttons)) {
        return std::nullopt;
    }
    return Point{rootX, rootY};
}

// Flushed at once: the tick reads the pointer back right after the move.
void X11Pointer::MoveBy(std::int32_t dx, std::int32_t dy) {
    XTestFakeRelativeMotionEvent(fl_display, dx, dy, CurrentTime);
    XFlush(fl_display);
}

}  // namespace nudgewick::linux_desktop
