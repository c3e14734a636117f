#include "window/timer.h"

namespace nudgewick {

void Timer::SetInterval(int milliseconds) {
    interval_ = milliseconds;
    Apply();
}

void Timer::Enable() {
    enabled_ = true;
    Apply();
}

void Timer::Apply() {
    if (enabled_ && interval_ != 0) {
        system_.Start(interval_);
    } else {
        system_.Stop();
    }
}

}  // namespace nudgewick
