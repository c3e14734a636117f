#include "window/frm_main.h"

#include <limits>

#include "nudge/tick.h"
#include "window/number_text.h"

namespace nudgewick {

void frmMain::Timer1_Timer() { NudgeTick(state_, parts_.pointer); }

// The timer's interval, never the caption, tells whether the ticks run.
void frmMain::btoGO_Click() {
    if (parts_.Timer1.Interval() != 0) {
        parts_.Timer1.SetInterval(0);
        parts_.btoGO.SetCaption(kCaptionGo);
    } else {
        parts_.Timer1.SetInterval(state_.nInterval);
        parts_.btoGO.SetCaption(kCaptionStop);
    }
}

// Runs on every focus change away from the box, even with the text unchanged,
// and always hands the timer the interval: that resumes stopped ticks and
// restarts the countdown of running ones. Ticks go on arriving while a message
// is open; the tick touches nothing this handler does.
void frmMain::txtInterval_LostFocus() {
    const auto number = ReadDecimal(parts_.txtInterval.Text());
    const auto limit = std::numeric_limits<std::int16_t>::max();
    if (!number) {
        parts_.messages.Show(kIntervalMessage);
        parts_.txtInterval.SetText(WholeNumberText(state_.nInterval));
    } else if (IsLessThan(*number, kIntervalFloor)) {
        parts_.messages.Show(kFloorMessage);
        state_.nInterval = kIntervalFloor;
        parts_.txtInterval.SetText(WholeNumberText(kIntervalFloor));
    } else if (RoundHalfEven(*number) > limit) {
        parts_.messages.Show(kIntervalMessage);
        state_.nInterval = limit;
        parts_.txtInterval.SetText(WholeNumberText(limit));
    } else {
        state_.nInterval = static_cast<std::int16_t>(RoundHalfEven(*number));
    }
    parts_.Timer1.SetInterval(state_.nInterval);
}

void frmMain::txtPixels_LostFocus() {
    if (const auto pixels = ToWholeNumber(parts_.txtPixels.Text())) {
        state_.nPixels = *pixels;
    } else {
        parts_.messages.Show(kPixelsMessage);
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
