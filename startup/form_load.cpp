#include "startup/command_line.h"
#include "window/frm_main.h"
#include "window/number_text.h"

namespace nudgewick {

std::vector<std::string> frmMain::GetCommandLine(int MaxArgs) const {
    return SplitCommandLine(parts_.commandLine.Text(), MaxArgs);
}

// Settings from the command line (or the defaults when it is empty), shown in
// the boxes, and the ticks started. A word that does not convert leaves its
// setting as it is; CheckCommandLine refuses such a command line beforehand.
void frmMain::Form_Load() {
    if (!parts_.commandLine.Text().empty()) {
        const auto words = GetCommandLine();
        if (words.size() > 1) {
            if (const auto interval = IntervalFromWord(words[1])) state_.nInterval = *interval;
        }
        if (words.size() > 2) {
            if (const auto pixels = ToWholeNumber(words[2])) state_.nPixels = *pixels;
        }
    } else {
        state_.nInterval = kDefaultInterval;
        state_.nPixels = kDefaultPixels;
    }
    parts_.txtInterval.SetText(WholeNumberText(state_.nInterval));
    parts_.txtPixels.SetText(WholeNumberText(state_.nPixels));
    state_.x = 0;
    parts_.btoGO.SetCaption(kCaptionStop);
    parts_.Timer1.SetInterval(state_.nInterval);
    parts_.Timer1.Enable();
}

}  // namespace nudgewick
