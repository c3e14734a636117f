// Prints how long a program takes from exec to mapping its first top-level
// window, in milliseconds, then stops it.
//   nudgewick_map_time PROGRAM [ARGS...]
// It listens for the map on the root window instead of polling, so the figure
// is not rounded to a polling period and the program starts on a quiet machine.
#include <X11/Xlib.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <csignal>
#include <cstdio>

extern char** environ;

namespace {

void WaitForMap(Display* display) {
    XEvent event;
    do {
        XNextEvent(display, &event);
    } while (event.type != MapNotify);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: nudgewick_map_time PROGRAM [ARGS...]\n", stderr);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fputs("nudgewick_map_time: cannot open the display\n", stderr);
        return 1;
    }
    fcntl(ConnectionNumber(display), F_SETFD, FD_CLOEXEC);  // not the program's to inherit
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);  // listening before the program starts

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[1], nullptr, nullptr, argv + 1, environ) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    WaitForMap(display);
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    std::printf("%.1f\n", elapsed.count());

    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return 0;
}
