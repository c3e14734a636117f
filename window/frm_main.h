#pragma once
#include <string>
#include <vector>

#include "startup/command_line.h"
#include "window/controls.h"
#include "window/timer.h"
#include "window/window_state.h"

namespace nudgewick {

// The controls and system services the window is wired to; the front-end
// owns them and keeps them alive as long as the window.
struct FormParts {
    TextBox& txtInterval;
    TextBox& txtPixels;
    Button& btoGO;
    Label& lblURL;
    SystemTimer& timer;  // drives Timer1: its ticks go to Timer1_Timer
    MessageDialog& messages;
    Pointer& pointer;
    Launcher& launcher;
    const CommandLine& commandLine;  // checked by CheckCommandLine before the window exists
};

inline constexpr const char* kCaptionStop = "Stop";
inline constexpr const char* kCaptionGo = "Go";

// The program's only window: it owns the state and handles every event.
// Handlers run one at a time on the thread of the event loop. Start-up,
// Form_Load and GetCommandLine, is defined in startup/form_load.cpp.
class frmMain {
public:
    explicit frmMain(const FormParts& parts) : parts_(parts), Timer1(parts.timer) {}

    void Form_Load();
    void Timer1_Timer();
    void btoGO_Click();
    void txtInterval_LostFocus();
    void txtPixels_LostFocus();
    void txtInterval_Change() {}  // typing alone changes nothing
    void txtPixels_Change() {}
    void lblURL_Click();

    // The command line's words in slots 1..N (N <= MaxArgs); slot 0 is empty.
    std::vector<std::string> GetCommandLine(int MaxArgs = 10) const;

    const WindowState& State() const { return state_; }

private:
    FormParts parts_;
    Timer Timer1;
    WindowState state_;
};

}  // namespace nudgewick
