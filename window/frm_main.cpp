#include "window/frm_main.h"

#include "nudge/tick.h"
#include "window/number_text.h"
#include "window/settings.h"

namespace nudgewick {

void frmMain::Timer1_Timer() {
    if (parts_.idle != nullptr) {
        NudgeTickWhenIdle(state_, parts_.pointer, *parts_.idle);
    } else {
        NudgeTick(state_, parts_.pointer);
    }
}

// The timer's interval, never the caption, tells whether the ticks run. A
// click ends a timed session.
void frmMain::btoGO_Click() {
    session_.Cancel();
    sessionEndedAt_.reset();
    ArmSessionTimer();
    Running() ? StopTicks() : StartTicks();
}

void frmMain::StartTicks() {
    Timer1.SetInterval(state_.nInterval);
    parts_.btoGO.SetCaption(kCaptionStop);
}

void frmMain::StopTicks() {
    Timer1.SetInterval(0);
    parts_.btoGO.SetCaption(kCaptionGo);
}

// Runs on every focus change away from the box, even with the text unchanged,
// and always hands the timer the interval: that resumes stopped ticks and
// restarts the countdown of running ones. Ticks go on arriving while a message
// is open; the tick touches nothing this handler does.
void frmMain::txtInterval_LostFocus() {
    const auto number = ReadDecimal(parts_.txtInterval.Text());
    if (!number) {
        parts_.messages.Show(IntervalMessage());
        parts_.txtInterval.SetText(WholeNumberText(state_.nInterval));
    } else if (IsLessThan(*number, kIntervalFloor)) {
        parts_.messages.Show(FloorMessage());
        state_.nInterval = kIntervalFloor;
        parts_.txtInterval.SetText(WholeNumberText(kIntervalFloor));
    } else if (RoundHalfEven(*number) > kIntervalLimit) {
        parts_.messages.Show(IntervalMessage());
        state_.nInterval = kIntervalLimit;
        parts_.txtInterval.SetText(WholeNumberText(kIntervalLimit));
    } else {
        state_.nInterval = static_cast<std::int16_t>(RoundHalfEven(*number));
    }
    Timer1.SetInterval(state_.nInterval);
}

void frmMain::txtPixels_LostFocus() {
    if (const auto pixels = PixelsFromText(parts_.txtPixels.Text())) {
        state_.nPixels = *pixels;
    } else {
        parts_.messages.Show(PixelsMessage());
        parts_.txtPixels.SetText(WholeNumberText(state_.nPixels));
    }
}

void frmMain::lblURL_Click() {
    const std::string address = parts_.lblURL.Caption();
    if (const auto failure = parts_.launcher.Open(address)) {
        parts_.messages.Show("The web address " + address + " could not be opened: " + *failure);
    }
}

}  // namespace nudgewick
