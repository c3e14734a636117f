#include <algorithm>

#include "window/frm_main.h"
#include "window/number_text.h"
#include "window/settings.h"

namespace nudgewick {

std::vector<std::string> frmMain::GetCommandLine(int MaxArgs) const {
    const auto& words = parts_.commandLine.words;
    const auto kept = std::min(words.size(), static_cast<std::size_t>(std::max(MaxArgs, 0)) + 1);
    return {words.begin(), words.begin() + static_cast<std::ptrdiff_t>(kept)};
}

// Settings from the command line (or the defaults when it is empty), shown in
// the boxes, the ticks started, and a timed session if one was asked for.
// CheckCommandLine has read the words' values and refused a command line
// whose words do not convert.
void frmMain::Form_Load() {
    const CommandLine& line = parts_.commandLine;
    if (!line.text.empty()) {
        const auto words = GetCommandLine();
        if (words.size() > 1) state_.nInterval = line.interval;
        if (words.size() > 2) state_.nPixels = line.pixels;
    } else {
        state_.nInterval = kDefaultInterval;
        state_.nPixels = kDefaultPixels;
    }
    parts_.txtInterval.SetText(WholeNumberText(state_.nInterval));
    parts_.txtPixels.SetText(WholeNumberText(state_.nPixels));
    state_.x = 0;
    parts_.btoGO.SetCaption(kCaptionStop);
    Timer1.SetInterval(state_.nInterval);
    Timer1.Enable();
    if (line.runFor) RunFor(*line.runFor);
    if (line.runUntil) RunUntil(*line.runUntil);
}

}  // namespace nudgewick
