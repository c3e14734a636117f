// The least a pointer nudger can cost on X11: a bare mapped window, one blocking
// wait per tick, and only the tick's own X calls. script/bench measures the
// real program against it.
//   nudgewick_floor [INTERVAL [PIXELS]]
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <poll.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

using Clock = std::chrono::steady_clock;

void Tick(Display* display, int& distance) {
    Window root, child;
    int rootX, rootY, x, y;
    unsigned int mask;
    const Window rootWindow = DefaultRootWindow(display);
    XQueryPointer(display, rootWindow, &root, &child, &rootX, &rootY, &x, &y, &mask);
    XTestFakeRelativeMotionEvent(display, distance, 0, CurrentTime);
    XFlush(display);
    XQueryPointer(display, rootWindow, &root, &child, &rootX, &rootY, &x, &y, &mask);
    distance = -distance;  // right, then back left
}

Window MapBareWindow(Display* display) {
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 275, 195, 0, 0,
                                              WhitePixel(display, DefaultScreen(display)));
    XStoreName(display, window, "Nudgewick floor");
    XMapWindow(display, window);
    XFlush(display);
    return window;
}

// Sleeps on the connection until the deadline; events that wake it early are
// read and dropped.
void WaitUntil(Display* display, Clock::time_point deadline) {
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0 || poll(&connection, 1, static_cast<int>(left)) == 0) return;
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int interval = argc > 1 ? std::atoi(argv[1]) : 10000;
    int distance = argc > 2 ? std::atoi(argv[2]) : 3;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fputs("nudgewick_floor: cannot open the display\n", stderr);
        return 1;
    }
    MapBareWindow(display);
    // Fixed-rate ticks, like a repeating timer.
    for (auto next = Clock::now() + std::chrono::milliseconds(interval);; next += std::chrono::milliseconds(interval)) {
        WaitUntil(display, next);
        Tick(display, distance);
    }
}
