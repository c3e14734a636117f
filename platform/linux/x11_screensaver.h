#pragma once

#include <functional>

namespace nudgewick::linux_desktop {

// Whether xscreensaver has blanked or locked the screen, from its status on
// the root window. The status is read when the watch starts and again each
// time xscreensaver rewrites it, so a tick asks the X server nothing. The
// status outlives an xscreensaver that ended, locked or not: it counts only
// while xscreensaver's own window is there, watched for its end.
class X11Screensaver {
public:
    // changed: xscreensaver blanked, locked, unblanked, started or ended.
    explicit X11Screensaver(std::function<void()> changed);
    ~X11Screensaver();
    X11Screensaver(const X11Screensaver&) = delete;
    X11Screensaver& operator=(const X11Screensaver&) = delete;

    bool Active() const { return active_; }
    // Whether xscreensaver runs on the display.
    bool Present() const { return present_; }

private:
    static int OnXEvent(void* event, void* self);
    void Read();
    void FindDaemon();

    std::function<void()> changed_;
    bool watching_ = false;
    bool active_ = false;
    bool present_ = false;
    unsigned long daemon_ = 0;  // xscreensaver's window, once found
};

}  // namespace nudgewick::linux_desktop
