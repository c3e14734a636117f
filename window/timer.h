#pragma once
#include "window/controls.h"

namespace nudgewick {

// Timer1, the window's periodic timer: it ticks exactly while it is enabled
// and its interval is non-zero, and setting the interval restarts the
// countdown. It drives the system timer accordingly.
class Timer {
public:
    explicit Timer(SystemTimer& system) : system_(system) {}

    int Interval() const { return interval_; }
    void SetInterval(int milliseconds);
    void Enable();

private:
    void Apply();

    SystemTimer& system_;
    int interval_ = 2000;  // the design-time interval, replaced at start-up
    bool enabled_ = false;
};

}  // namespace nudgewick
